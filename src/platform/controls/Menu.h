#pragma once

#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// One entry of a pop-up menu; the caption "-" makes it a separator.
class MenuItem : public Control {
public:
    MenuItem(std::string name, std::string caption, std::string shortcut = {})
        : Control(std::move(name)), caption_(std::move(caption)), shortcut_(std::move(shortcut)) {}

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption) {
        if (caption_ != caption) {
            caption_ = caption;
            changed();
        }
    }
    const std::string& shortcut() const { return shortcut_; }
    // Shown while the pointer rests on the entry, e.g. why it is disabled.
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(const std::string& toolTip) {
        if (toolTip_ != toolTip) {
            toolTip_ = toolTip;
            changed();
        }
    }
    bool isSeparator() const { return caption_ == "-"; }

    void click() { Click(); }

    Event<> Click;

private:
    std::string caption_;
    std::string shortcut_;
    std::string toolTip_;
};

// A top-level menu that is never shown in a menu bar, only as a pop-up at the pointer.
class Menu {
public:
    Menu(std::string name, std::string caption, std::vector<MenuItem*> items)
        : name_(std::move(name)), caption_(std::move(caption)), items_(std::move(items)) {}

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    const std::vector<MenuItem*>& items() const { return items_; }

private:
    std::string name_;
    std::string caption_;
    std::vector<MenuItem*> items_;
};

}  // namespace pontrel
