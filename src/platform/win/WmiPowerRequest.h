#pragma once

#include "platform/Status.h"

namespace pontrel {

// Asks WMI to reboot or shut down the computer: the Win32_OperatingSystem objects of the
// "Shutdown" privileged moniker, through late-bound automation, each called with the method
// "Reboot" or "Shutdown". A success means every object accepted the call.
Status requestWmiPower(const wchar_t* method);

}  // namespace pontrel
