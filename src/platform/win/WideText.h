#pragma once

#include <string>
#include <string_view>

namespace pontrel {

// Text is UTF-8 inside the program and UTF-16 at the Win32 boundary. Bytes that are not UTF-8
// become U+FFFD.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The last Win32 error as a failure text, for Status messages.
std::string lastErrorText(std::string_view call);

}  // namespace pontrel
