#pragma once

#include "platform/ClipboardService.h"
#include "platform/DialogService.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/InputService.h"
#include "platform/RecorderService.h"
#include "platform/Scheduler.h"
#include "platform/ScreenService.h"
#include "platform/SystemService.h"
#include "platform/WindowService.h"

namespace pontrel {

// The bundle of services the form works with; built once by main (or a test) and handed in.
struct Platform {
    Scheduler& scheduler;
    InputService& input;
    ScreenService& screen;
    SystemService& system;
    ClipboardService& clipboard;
    DialogService& dialogs;
    WindowService& window;
    Environment& environment;
    FileSystem& files;
    RecorderService& recorder;
};

}  // namespace pontrel
