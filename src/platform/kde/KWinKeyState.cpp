#include "platform/kde/KWinKeyState.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <mutex>

#include "platform/PolledKeys.h"
#include "platform/kde/KWinBus.h"
#include "platform/kde/KWinShortcutEvents.h"

namespace pontrel {

namespace {

const QString service = QStringLiteral("org.kde.kglobalaccel");
const QString path = QStringLiteral("/kglobalaccel");
const QString interface = QStringLiteral("org.kde.KGlobalAccel");
const QString component = QStringLiteral("pontrel");
const QString componentPath = QStringLiteral("/component/pontrel");
const QString componentInterface = QStringLiteral("org.kde.kglobalaccel.Component");
const QString actionPrefix = QStringLiteral("key-");
constexpr int callTimeoutMs = 2000;
constexpr int unbindCheckMs = 50;
// setShortcut: take these keys now, not the ones kglobalaccel remembers for the action.
constexpr uint setPresent = 0x2;
constexpr uint noAutoloading = 0x4;

QStringList actionId(int virtualKey) {
    const QString action = actionPrefix + QString::number(virtualKey);
    return {component, action, QStringLiteral("Pontrel"), action};
}

QDBusMessage call(const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return kwinSessionBus().call(message, QDBus::Block, callTimeoutMs);
}

}  // namespace

int kglobalaccelKey(int virtualKey) {
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        return Qt::Key_F1 + (virtualKey - 0x70);
    }
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return virtualKey;  // Qt's codes of digits and letters are their ASCII codes
    }
    switch (virtualKey) {
        case 0x08:
            return Qt::Key_Backspace;
        case 0x09:
            return Qt::Key_Tab;
        case 0x0D:
            return Qt::Key_Return;
        case 0x1B:
            return Qt::Key_Escape;
        case 0x20:
            return Qt::Key_Space;
        default:
            return 0;
    }
}

bool kwinShortcutsAnswer() {
    return call("allMainComponents", {}).type() == QDBusMessage::ReplyMessage;
}

struct KWinKeyState::Impl {
    Impl();
    ~Impl();
    bool bind(int virtualKey);
    void unbind(int virtualKey);

    void unbindIdle();
    void unbindAll();

    std::mutex mutex;  // guards keys
    PolledKeys keys;
    bool available = false;
    // The signals arrive, and idle keys are given back, in a thread of their own.
    QThread thread;
    KWinShortcutEvents* events = nullptr;
};

KWinKeyState::Impl::Impl() {
    available = kwinShortcutsAnswer();
    if (!available) {
        return;
    }
    events = new KWinShortcutEvents([this](const QString& action, bool pressed) {
        if (!action.startsWith(actionPrefix)) {
            return;
        }
        const int virtualKey = action.mid(actionPrefix.size()).toInt();
        const std::lock_guard lock(mutex);
        if (pressed) {
            keys.pressed(virtualKey, PolledKeys::Clock::now());
        } else {
            keys.released(virtualKey);
        }
    });
    auto* idle = new QTimer(events);
    idle->setInterval(unbindCheckMs);
    QObject::connect(idle, &QTimer::timeout, [this] { unbindIdle(); });
    events->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, events, &QObject::deleteLater);
    QDBusConnection bus = kwinSessionBus();
    bus.connect(service, componentPath, componentInterface, "globalShortcutPressed", events,
                SLOT(pressed(QString, QString, qlonglong)));
    bus.connect(service, componentPath, componentInterface, "globalShortcutReleased", events,
                SLOT(released(QString, QString, qlonglong)));
    thread.start();
    QMetaObject::invokeMethod(idle, qOverload<>(&QTimer::start), Qt::QueuedConnection);
}

KWinKeyState::Impl::~Impl() {
    thread.quit();
    thread.wait();
    if (available) {
        unbindAll();
    }
}

void KWinKeyState::Impl::unbindIdle() {
    const std::lock_guard lock(mutex);
    for (int key : keys.takeIdle(PolledKeys::Clock::now())) {
        unbind(key);
    }
}

void KWinKeyState::Impl::unbindAll() {
    const std::lock_guard lock(mutex);
    for (int key : keys.takeAll()) {
        unbind(key);
    }
}

bool KWinKeyState::Impl::bind(int virtualKey) {
    const int key = kglobalaccelKey(virtualKey);
    if (key == 0 ||
        call("doRegister", {actionId(virtualKey)}).type() != QDBusMessage::ReplyMessage) {
        return false;
    }
    const QDBusMessage reply = call(
        "setShortcut",
        {actionId(virtualKey), QVariant::fromValue(QList<int>{key}), setPresent | noAutoloading});
    // kglobalaccel answers with the keys the action has now: none when another program has it.
    const QVariantList answer = reply.arguments();
    return reply.type() == QDBusMessage::ReplyMessage && !answer.isEmpty() &&
           qdbus_cast<QList<int>>(answer.first()).contains(key);
}

void KWinKeyState::Impl::unbind(int virtualKey) {
    (void)call("unregister", {component, actionId(virtualKey).at(1)});
}

KWinKeyState::KWinKeyState() : impl_(std::make_unique<Impl>()) {}

KWinKeyState::~KWinKeyState() = default;

bool KWinKeyState::available() const {
    return impl_->available;
}

std::uint16_t KWinKeyState::query(int virtualKey) {
    if (!impl_->available) {
        return 0;
    }
    const std::lock_guard lock(impl_->mutex);
    return impl_->keys.query(virtualKey, PolledKeys::Clock::now(),
                             [this](int key) { return impl_->bind(key); });
}

void KWinKeyState::announceSyntheticPress(int virtualKey) {
    const std::lock_guard lock(impl_->mutex);
    impl_->keys.announce(virtualKey, PolledKeys::Clock::now());
}

}  // namespace pontrel
