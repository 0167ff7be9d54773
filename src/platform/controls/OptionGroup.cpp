#include "platform/controls/OptionGroup.h"

#include <utility>

namespace pontrel {

OptionButton::OptionButton(std::string name, OptionGroup& group, int index)
    : Control(std::move(name)), group_(group), index_(index) {}

OptionButton::OptionButton(Form& form, std::string name, OptionGroup& group, int index)
    : Control(form, std::move(name)), group_(group), index_(index) {}

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

OptionGroup::OptionGroup(const std::string& name, const std::vector<std::string>& captions)
    : OptionGroup(nullptr, name, captions) {}

OptionGroup::OptionGroup(Form& form, const std::string& name,
                         const std::vector<std::string>& captions)
    : OptionGroup(&form, name, captions) {}

OptionGroup::OptionGroup(Form* form, const std::string& name,
                         const std::vector<std::string>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = static_cast<int>(i);
        std::string member = name + "(" + std::to_string(index) + ")";
        members_.push_back(
            form != nullptr ? std::make_unique<OptionButton>(*form, std::move(member), *this, index)
                            : std::make_unique<OptionButton>(std::move(member), *this, index));
        members_.back()->setCaption(captions[i]);
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
