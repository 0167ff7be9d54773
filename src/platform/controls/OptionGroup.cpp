#include "platform/controls/OptionGroup.h"

#include <utility>

#include "platform/controls/Form.h"

namespace pontrel {

OptionButton::OptionButton(std::string name, OptionGroup& group, int index)
    : Control(std::move(name)), group_(group), index_(index) {}

void OptionButton::setCaption(const std::string& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        changed();
    }
}

void OptionButton::setBackColour(Colour colour) {
    if (backColour_ != colour) {
        backColour_ = colour;
        changed();
    }
}

bool OptionButton::value() const {
    return group_.selectedIndex() == index_;
}

void OptionButton::click() {
    group_.select(index_);
}

OptionGroup::OptionGroup(const std::string& name, const std::vector<std::string>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = static_cast<int>(i);
        members_.push_back(
            std::make_unique<OptionButton>(name + "(" + std::to_string(index) + ")", *this, index));
        members_.back()->setCaption(captions[i]);
    }
}

OptionGroup::OptionGroup(Form& form, const std::string& name,
                         const std::vector<std::string>& captions)
    : OptionGroup(name, captions) {
    for (const auto& member : members_) {
        form.place(*member);
    }
}

void OptionGroup::select(int index) {
    if (index < 0 || index >= size() || index == selected_) {
        return;
    }
    const int previous = selected_;
    selected_ = index;
    if (previous >= 0) {
        (*this)[previous].valueChanged();
    }
    (*this)[index].valueChanged();
    Click(index);
}

}  // namespace pontrel
