#pragma once

#include <chrono>

#include <QObject>
#include <QTimer>

namespace pontrel {

// The text cursor stops blinking after a while without a key or a click, as on most desktops,
// and blinks again with the next one: a blinking cursor would wake the idle program twice a
// second. Lives as long as the application; the desktop's blink comes back with its end.
class CursorBlinkTimeout : public QObject {
public:
    explicit CursorBlinkTimeout(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    ~CursorBlinkTimeout() override;
    CursorBlinkTimeout(const CursorBlinkTimeout&) = delete;
    CursorBlinkTimeout& operator=(const CursorBlinkTimeout&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int desktopFlashTime_;
    QTimer timeout_;
};

}  // namespace pontrel
