#include "window/MainForm.h"

namespace pontrel {

MainForm::MainForm(Platform& platform_) : FormControls(platform_.scheduler), platform(platform_) {}

}  // namespace pontrel
