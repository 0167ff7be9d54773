#include "editor/Composer.h"

#include "window/MainForm.h"

namespace pontrel {

Composer::Composer(MainForm& form) : form_(form) {}

void Composer::schreibebefehl() {}

}  // namespace pontrel
