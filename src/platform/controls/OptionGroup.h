#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

class OptionGroup;

// One member of an option-button group.
class OptionButton : public Control {
public:
    OptionButton(std::string name, OptionGroup& group, int index);

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    Colour backColour() const { return backColour_; }
    void setBackColour(Colour colour);
    bool value() const;

    // A click by the user: selects this member.
    void click();

private:
    friend class OptionGroup;
    void valueChanged() const { changed(); }

    OptionGroup& group_;
    int index_;
    std::string caption_;
    Colour backColour_ = 0xFFFFFF;
};

// A control array of option buttons of which at most one is selected. Selecting another member,
// by the user or by the program, raises Click with its index.
class OptionGroup {
public:
    OptionGroup(const std::string& name, const std::vector<std::string>& captions);
    // A group whose members are placed on a form.
    OptionGroup(Form& form, const std::string& name, const std::vector<std::string>& captions);

    int size() const { return static_cast<int>(members_.size()); }
    OptionButton& operator[](int index) { return *members_.at(static_cast<std::size_t>(index)); }
    const OptionButton& operator[](int index) const {
        return *members_.at(static_cast<std::size_t>(index));
    }

    int selectedIndex() const { return selected_; }
    void select(int index);

    Event<int> Click;

private:
    std::vector<std::unique_ptr<OptionButton>> members_;
    int selected_ = -1;
};

}  // namespace pontrel
