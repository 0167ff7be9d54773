#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QWidget>

#include "platform/controls/Form.h"
#include "platform/controls/PendingSync.h"
#include "platform/qt/ControlView.h"

namespace pontrel {

// The main window: the form and its controls, each as a widget at its design place, converted
// from twips to pixels. Changes the program makes to the controls reach the widgets once per turn
// of the event loop, with the widgets' signals blocked; what the user does goes into the controls.
class MainWindow : public QWidget, private ViewHost, private ControlObserver {
public:
    // The controls in drawing order: a later one lies on top of an earlier one.
    MainWindow(Form& form, const std::vector<Control*>& controls);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Runs when the user closes the window; the window closes only if it returns.
    void setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }
    // From now on the window is shown or hidden as the form's visible property says.
    void showForm();

    // Brings every widget up to date now instead of on the next turn of the event loop.
    void flushPending() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void markDirty(const Control& control) override;
    void controlChanged(const Control& control) override { markDirty(control); }
    void syncView(ControlView& view, const Control& control);
    void syncForm();

    Form& form_;
    int perPixelX_;
    int perPixelY_;
    bool showing_ = false;
    std::function<void()> closeHandler_;
    // Declared after the base, so they go (with their widgets) before the base deletes children.
    std::vector<std::pair<Control*, std::unique_ptr<ControlView>>> views_;
    PendingSync pending_{form_, [this] {
                             QMetaObject::invokeMethod(
                                 this, [this] { flushPending(); }, Qt::QueuedConnection);
                         }};
};

}  // namespace pontrel
