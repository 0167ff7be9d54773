#include "engine/SystemActions.h"

#include "window/MainForm.h"

namespace pontrel {

SystemActions::SystemActions(MainForm& form) : form_(form) {}

void SystemActions::laufwerke_suchen() {}

}  // namespace pontrel
