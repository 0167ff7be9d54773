#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Frame.h"
#include "platform/controls/HScrollBar.h"
#include "platform/controls/Image.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/OptionGroup.h"
#include "platform/controls/TextBox.h"
#include "platform/qt/CommandListView.h"
#include "platform/qt/ControlView.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/TextBoxEdit.h"

namespace pontrel {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

void paintBackground(QWidget& widget, Colour colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    widget.setPalette(palette);
    // Buttons fill with their button role otherwise, whatever the window colour is.
    widget.setBackgroundRole(QPalette::Window);
    widget.setAutoFillBackground(true);
}

// The title labels lie on the title picture.
void styleLabel(QLabel& label, LabelStyle style) {
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont font = label.font();
    QPalette palette = label.palette();
    switch (style) {
        case LabelStyle::title:
            font.setBold(true);
            font.setPixelSize(16);
            label.setAlignment(Qt::AlignCenter);
            palette.setColor(QPalette::WindowText, Qt::white);
            break;
        case LabelStyle::titleVersion:
            font.setPixelSize(9);
            label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            palette.setColor(QPalette::WindowText, QColor(230, 238, 248));
            break;
        case LabelStyle::flushRight:
            label.setAlignment(Qt::AlignRight | Qt::AlignTop);
            break;
        case LabelStyle::bold:
            font.setBold(true);
            break;
        case LabelStyle::plain:
            break;
    }
    label.setFont(font);
    label.setPalette(palette);
}

class LabelView : public ControlView {
public:
    LabelView(Label& label, QWidget* parent) : label_(label), widget_(parent) {
        widget_.setTextFormat(Qt::PlainText);
        widget_.setWordWrap(true);
        styleLabel(widget_, label.style());
    }
    QWidget* widget() override { return &widget_; }
    void sync() override { widget_.setText(qt(label_.caption())); }

private:
    Label& label_;
    QLabel widget_;
};

class ButtonView : public ControlView {
public:
    ButtonView(Button& button, QWidget* parent) : button_(button), widget_(parent) {
        widget_.setAutoDefault(false);
        QObject::connect(&widget_, &QPushButton::clicked, [this] { button_.click(); });
    }
    QWidget* widget() override { return &widget_; }
    void sync() override {
        widget_.setText(qt(button_.caption()));
        fitCaption();
    }

private:
    // A caption wider than the button ("Aufnahme beenden" on Start) is set smaller rather than
    // cut off at both ends.
    void fitCaption() {
        constexpr int padding = 8;
        constexpr int smallestPointSize = 6;
        QFont font = widget_.parentWidget() != nullptr ? widget_.parentWidget()->font() : QFont();
        const int room = widget_.width() - padding;
        while (font.pointSize() > smallestPointSize &&
               QFontMetrics(font).horizontalAdvance(widget_.text()) > room) {
            font.setPointSize(font.pointSize() - 1);
        }
        widget_.setFont(font);
    }

    Button& button_;
    QPushButton widget_;
};

class CheckBoxView : public ControlView {
public:
    CheckBoxView(CheckBox& box, ViewHost& host, QWidget* parent) : box_(box), widget_(parent) {
        QObject::connect(&widget_, &QCheckBox::clicked, [this, &host](bool checked) {
            box_.setValue(checked ? 1 : 0);
            host.markDirty(box_);
        });
    }
    QWidget* widget() override { return &widget_; }
    void sync() override { widget_.setChecked(box_.value() != 0); }

private:
    CheckBox& box_;
    QCheckBox widget_;
};

// The group decides which member is on; the buttons only report clicks.
class OptionView : public ControlView {
public:
    OptionView(OptionButton& option, ViewHost& host, QWidget* parent)
        : option_(option), widget_(parent) {
        widget_.setAutoExclusive(false);
        QObject::connect(&widget_, &QRadioButton::clicked, [this, &host] {
            option_.click();
            host.markDirty(option_);
        });
    }
    QWidget* widget() override { return &widget_; }
    void sync() override {
        widget_.setText(qt(option_.caption()));
        widget_.setChecked(option_.value());
        paintBackground(widget_, option_.backColour());
    }

private:
    OptionButton& option_;
    QRadioButton widget_;
};

class ComboView : public ControlView {
public:
    ComboView(ComboBox& combo, ViewHost& host, QWidget* parent) : combo_(combo), widget_(parent) {
        widget_.setMaxVisibleItems(12);
        QObject::connect(&widget_, &QComboBox::activated, [this, &host](int index) {
            combo_.setListIndex(index);
            host.markDirty(combo_);
        });
    }
    QWidget* widget() override { return &widget_; }
    void sync() override {
        if (shown_ != combo_.items()) {
            shown_ = combo_.items();
            widget_.clear();
            for (const std::string& item : shown_) {
                widget_.addItem(qt(item));
            }
        }
        widget_.setCurrentIndex(combo_.listIndex());
    }

private:
    ComboBox& combo_;
    QComboBox widget_;
    std::vector<std::string> shown_;
};

class ScrollView : public ControlView {
public:
    ScrollView(HScrollBar& bar, ViewHost& host, QWidget* parent)
        : bar_(bar), widget_(Qt::Horizontal, parent) {
        widget_.setSingleStep(1);
        widget_.setPageStep(1);
        QObject::connect(&widget_, &QScrollBar::valueChanged, [this, &host](int value) {
            bar_.setValue(value);
            host.markDirty(bar_);
        });
    }
    QWidget* widget() override { return &widget_; }
    void sync() override {
        widget_.setRange(std::min(bar_.min(), bar_.max()), std::max(bar_.min(), bar_.max()));
        widget_.setValue(bar_.value());
    }

private:
    HScrollBar& bar_;
    QScrollBar widget_;
};

// Paints its picture at its own size; a click inside it is the control's Click.
class PictureWidget : public QWidget {
public:
    PictureWidget(Image& image, QWidget* parent) : QWidget(parent), image_(image) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (cached_.size() != size() || cachedName_ != image_.picture()) {
            cachedName_ = image_.picture();
            cached_ = paintPicture(cachedName_, size());
        }
        if (!cached_.isNull()) {
            QPainter(this).drawPixmap(0, 0, cached_);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QWidget::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            image_.click();
        }
    }

private:
    Image& image_;
    std::string cachedName_;
    QPixmap cached_;
};

class ImageView : public ControlView {
public:
    ImageView(Image& image, QWidget* parent) : widget_(image, parent) {}
    QWidget* widget() override { return &widget_; }
    void sync() override { widget_.update(); }

private:
    PictureWidget widget_;
};

class FrameView : public ControlView {
public:
    FrameView(Frame& frame, QWidget* parent) : frame_(frame), widget_(parent) {
        widget_.setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    QWidget* widget() override { return &widget_; }
    void sync() override { paintBackground(widget_, frame_.backColour()); }

private:
    Frame& frame_;
    QFrame widget_;
};

class TextView : public ControlView {
public:
    TextView(TextBox& box, ViewHost& host, QWidget* parent) : widget_(box, host, parent) {}
    QWidget* widget() override { return &widget_; }
    void sync() override { widget_.sync(); }

private:
    TextBoxEdit widget_;
};

template <typename Kind>
Kind* as(Control& control) {
    return dynamic_cast<Kind*>(&control);
}

}  // namespace

QColor toQColor(Colour colour) {
    return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
}

std::unique_ptr<ControlView> makeControlView(Control& control, ViewHost& host, QWidget* parent) {
    if (auto* label = as<Label>(control)) {
        return std::make_unique<LabelView>(*label, parent);
    }
    if (auto* box = as<TextBox>(control)) {
        return std::make_unique<TextView>(*box, host, parent);
    }
    if (auto* button = as<Button>(control)) {
        return std::make_unique<ButtonView>(*button, parent);
    }
    if (auto* check = as<CheckBox>(control)) {
        return std::make_unique<CheckBoxView>(*check, host, parent);
    }
    if (auto* option = as<OptionButton>(control)) {
        return std::make_unique<OptionView>(*option, host, parent);
    }
    if (auto* combo = as<ComboBox>(control)) {
        return std::make_unique<ComboView>(*combo, host, parent);
    }
    if (auto* list = as<ListBox>(control)) {
        return std::make_unique<CommandListView>(*list, host, parent);
    }
    if (auto* bar = as<HScrollBar>(control)) {
        return std::make_unique<ScrollView>(*bar, host, parent);
    }
    if (auto* image = as<Image>(control)) {
        return std::make_unique<ImageView>(*image, parent);
    }
    if (auto* frame = as<Frame>(control)) {
        return std::make_unique<FrameView>(*frame, parent);
    }
    return nullptr;
}

}  // namespace pontrel
