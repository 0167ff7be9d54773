#pragma once

#include <array>
#include <string_view>

namespace pontrel {

// The words a record holds for the members of the option groups, in member order.
inline constexpr std::array<std::string_view, 3> clickWords{"left", "middle", "right"};
inline constexpr std::array<std::string_view, 7> pcWords{
    "lockpc", "reboot", "shutdown", "screenoff", "end", "input-disable", "input-enable"};

}  // namespace pontrel
