#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// The window itself. Position and sizes are in twips; the client area is what the controls fill,
// the outer height includes title bar and border.
class Form : public Control {
public:
    explicit Form(std::string name) : Control(std::move(name)) {}

    // The controls placed on this form, in the order they were built.
    const std::vector<Control*>& controls() const { return controls_; }
    void place(Control& control) { controls_.push_back(&control); }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    Colour backColour() const { return backColour_; }
    void setBackColour(Colour colour);
    const std::string& icon() const { return icon_; }
    void setIcon(const std::string& icon);

    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    void setClientSize(int widthTwips, int heightTwips);
    // The outer height; the client height follows it, the frame keeps its size.
    int outerHeight() const { return clientHeight_ + frameHeight_; }
    void setOuterHeight(int twips);
    void setFrameHeight(int twips) { frameHeight_ = twips; }

    // Minimized by the user, as the view reports it.
    bool minimized() const { return minimized_; }
    void setMinimized(bool minimized);
    // Shown and not minimized: what the window shows is on the screen.
    bool onScreen() const { return visible() && !minimized_; }
    // Raised when the window is shown, hidden, minimized or restored.
    Event<> OnScreenChanged;

private:
    void visibilityChanged() override { OnScreenChanged(); }

    std::string caption_;
    Colour backColour_ = 0xFFFFFF;
    std::string icon_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int frameHeight_ = 495;
    std::vector<Control*> controls_;
    bool minimized_ = false;
};

}  // namespace pontrel
