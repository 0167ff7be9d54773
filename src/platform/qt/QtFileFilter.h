#pragma once

#include <string>
#include <string_view>

namespace pontrel {

// The classic filter "description|pattern|description|pattern" (patterns joined by ";") as Qt's
// "description (pattern);;description (pattern)". A filter for programs (".exe") also offers
// every file, since programs on Linux carry no extension.
std::string qtFileFilter(std::string_view classic);

}  // namespace pontrel
