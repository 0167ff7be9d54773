#pragma once

#include <string>

#include "platform/controls/Rect.h"

namespace pontrel {

class Control;
class Form;

// Told about every property change of a control, so a view can mirror it.
class ControlObserver {
public:
    virtual ~ControlObserver() = default;
    virtual void controlChanged(const Control& control) = 0;
};

// Base of every control: a name, a design rectangle in twips, enabled, visible and a tool tip.
// Setting a property to the value it already has changes nothing and tells nobody.
class Control {
public:
    explicit Control(std::string name);
    // A control placed on a form: the form lists it among its controls.
    Control(Form& form, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    // Shown while the pointer rests on the control; empty for none.
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(const std::string& toolTip);

    const Rect& geometry() const { return geometry_; }
    void setGeometry(const Rect& twips);
    void setHeight(int twips);

    void setObserver(ControlObserver* observer) { observer_ = observer; }

protected:
    void changed() const;
    virtual void visibilityChanged() {}

private:
    std::string name_;
    Rect geometry_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    ControlObserver* observer_ = nullptr;
};

}  // namespace pontrel
