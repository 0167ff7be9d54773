#include "engine/Interpreter.h"

#include "window/MainForm.h"

namespace pontrel {

Interpreter::Interpreter(MainForm& form) : form_(form) {}

void Interpreter::Timer_start_Timer() {}

}  // namespace pontrel
