#include "editor/Panels.h"

#include "window/MainForm.h"

namespace pontrel {

Panels::Panels(MainForm& form) : form_(form) {}

void Panels::codesichtbar() {}

void Panels::codebox_auswahlclick() {}

}  // namespace pontrel
