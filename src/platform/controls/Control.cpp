#include "platform/controls/Control.h"

#include <utility>

#include "platform/controls/Form.h"

namespace pontrel {

Control::Control(std::string name) : name_(std::move(name)) {}

Control::Control(Form& form, std::string name) : Control(std::move(name)) {
    form.place(*this);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        changed();
    }
}

void Control::setToolTip(const std::string& toolTip) {
    if (toolTip_ != toolTip) {
        toolTip_ = toolTip;
        changed();
    }
}

void Control::setVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        changed();
        visibilityChanged();
    }
}

void Control::setGeometry(const Rect& twips) {
    if (geometry_ != twips) {
        geometry_ = twips;
        changed();
    }
}

void Control::setHeight(int twips) {
    Rect rect = geometry_;
    rect.height = twips;
    setGeometry(rect);
}

void Control::changed() const {
    if (observer_ != nullptr) {
        observer_->controlChanged(*this);
    }
}

}  // namespace pontrel
