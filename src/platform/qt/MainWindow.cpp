#include "platform/qt/MainWindow.h"

#include <QCloseEvent>
#include <QSignalBlocker>

#include "platform/qt/Pictures.h"
#include "platform/qt/Twips.h"

namespace pontrel {

namespace {

// Narrow and small enough for the German captions to fit the design's places.
constexpr double fontPointSize = 7.5;

}  // namespace

MainWindow::MainWindow(Form& form, const std::vector<Control*>& controls)
    : form_(form),
      perPixelX_(twipsPerPixel(Qt::Horizontal)),
      perPixelY_(twipsPerPixel(Qt::Vertical)) {
    QFont font;
    font.setFamilies({"DejaVu Sans Condensed", "DejaVu Sans"});
    font.setStretch(QFont::Condensed);
    font.setPointSizeF(fontPointSize);
    setFont(font);
    form_.setObserver(this);
    for (Control* control : controls) {
        std::unique_ptr<ControlView> view = makeControlView(*control, *this, this);
        if (!view) {
            continue;
        }
        view->widget()->setObjectName(QString::fromStdString(control->name()));
        control->setObserver(this);
        pending_.add(*control);
        views_.emplace_back(control, std::move(view));
    }
    syncForm();
    for (auto& [control, view] : views_) {
        syncView(*view, *control);
    }
}

MainWindow::~MainWindow() {
    for (auto& [control, view] : views_) {
        control->setObserver(nullptr);
    }
    form_.setObserver(nullptr);
}

void MainWindow::showForm() {
    showing_ = true;
    setVisible(form_.visible());
}

void MainWindow::markDirty(const Control& control) {
    pending_.mark(control);
}

void MainWindow::flushPending() {
    pending_.flush([this] { syncForm(); },
                   [this](std::size_t i) { syncView(*views_[i].second, *views_[i].first); });
}

void MainWindow::syncView(ControlView& view, const Control& control) {
    QWidget* widget = view.widget();
    const QSignalBlocker quiet(widget);
    view.sync();
    widget->setGeometry(twipsToPixels(control.geometry(), perPixelX_, perPixelY_));
    widget->setEnabled(control.enabled());
    widget->setToolTip(QString::fromStdString(control.toolTip()));
    widget->setVisible(control.visible());
}

void MainWindow::syncForm() {
    setWindowTitle(QString::fromStdString(form_.caption()));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, toQColor(form_.backColour()));
    setPalette(colours);
    setAutoFillBackground(true);
    if (form_.icon() == "pontrel") {
        setWindowIcon(programIcon());
    }
    const QRect client =
        twipsToPixels({0, 0, form_.clientWidth(), form_.clientHeight()}, perPixelX_, perPixelY_);
    setFixedSize(client.size());
    if (showing_) {
        setVisible(form_.visible());
    }
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        form_.setMinimized(isMinimized());
    }
    QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeHandler_) {
        closeHandler_();
    }
    event->accept();
}

}  // namespace pontrel
