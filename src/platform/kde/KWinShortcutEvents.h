#pragma once

#include <functional>

#include <QObject>
#include <QString>

namespace pontrel {

// Receives the press and release signals of our kglobalaccel component, in the thread it
// lives in, and tells them by the action's name.
class KWinShortcutEvents : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const QString& action, bool pressed)>;
    explicit KWinShortcutEvents(Handler handler) : handler_(std::move(handler)) {}

public slots:
    void pressed(const QString& component, const QString& action, qlonglong timestamp) {
        (void)component;
        (void)timestamp;
        handler_(action, true);
    }
    void released(const QString& component, const QString& action, qlonglong timestamp) {
        (void)component;
        (void)timestamp;
        handler_(action, false);
    }

private:
    Handler handler_;
};

}  // namespace pontrel
