#pragma once

namespace pontrel {

// A button of the mouse, as the list box reports it and synthesized input presses it.
enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

}  // namespace pontrel
