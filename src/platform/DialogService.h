#pragma once

#include <optional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/ScreenPoint.h"
#include "platform/controls/CommonDialog.h"

namespace pontrel {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Question, Critical };
enum class MessageAnswer { Ok, Yes, No };

// Modal dialogs. Each runs a nested event loop: timers keep firing while it is open.
class DialogService {
public:
    virtual ~DialogService() = default;

    virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     MessageButtons buttons, MessageIcon icon) = 0;
    // Show the open or save dialog; true when a file was chosen, then dialog.fileName holds it.
    // A cancel returns false and leaves dialog.fileName unchanged.
    virtual bool showOpen(CommonDialog& dialog) = 0;
    virtual bool showSave(CommonDialog& dialog) = 0;

    // Whether this toolkit has the point picker below.
    virtual bool offersPointPicker() { return false; }
    // Shows the picture of the whole screen, frozen, over the whole screen, and lets the user
    // click a point on it. The point in the picture's pixels; nothing when the user cancelled.
    virtual std::optional<ScreenPoint> pickPoint(const Bitmap& screen) {
        (void)screen;
        return std::nullopt;
    }
};

}  // namespace pontrel
