#pragma once

#include <optional>

#include "platform/ScreenPoint.h"

typedef struct _XDisplay Display;

namespace pontrel {

// The XInput opcode where the server offers XInput 2.1 or later: from 2.1 on, raw events reach a
// client while another client grabs the keyboard.
std::optional<int> xinput21Opcode(Display* display);

// The pointer's position on the root window.
std::optional<ScreenPoint> rootPointerPosition(Display* display);

}  // namespace pontrel
