#include "platform/portal/PortalKeyState.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>

#include "platform/PolledKeys.h"
#include "platform/portal/PortalBus.h"
#include "platform/wayland/InputCodes.h"

namespace pontrel {

namespace {

using Clock = PolledKeys::Clock;
using namespace std::chrono_literals;

const QString globalShortcuts = QStringLiteral("GlobalShortcuts");
const QString idPrefix = QStringLiteral("pontrel-key-");
constexpr auto idleCheck = 100ms;

// One shortcut of BindShortcuts: (id, {description, preferred_trigger}).
struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

int keyOfShortcut(const QString& id) {
    return id.startsWith(idPrefix) ? id.mid(idPrefix.size()).toInt() : 0;
}

QList<Shortcut> shortcutsFor(const std::vector<int>& keys) {
    QList<Shortcut> shortcuts;
    for (int key : keys) {
        const QString name = QString::fromStdString(keysymName(key));
        shortcuts.append(
            {idPrefix + QString::number(key),
             {{QStringLiteral("description"), QStringLiteral("Pontrel: Taste %1").arg(name)},
              {QStringLiteral("preferred_trigger"), name}}});
    }
    return shortcuts;
}

}  // namespace

}  // namespace pontrel

Q_DECLARE_METATYPE(pontrel::Shortcut)

namespace pontrel {

struct PortalKeyState::Impl {
    explicit Impl(PortalBus& bus) : bus(bus) {}

    void run();
    void bindWanted(std::vector<int> keys);
    void handle(const QDBusMessage& message, bool pressed);

    PortalBus& bus;
    std::mutex mutex;  // guards everything below
    std::condition_variable changed;
    PolledKeys keys;
    bool rebind = false;
    bool stopping = false;
    std::unique_ptr<PortalSessionHandle> session;
    std::thread thread;
};

// Binds the keys given, in a session of their own; none: no session.
void PortalKeyState::Impl::bindWanted(std::vector<int> wanted) {
    std::unique_ptr<PortalSessionHandle> previous;
    {
        const std::lock_guard lock(mutex);
        previous = std::move(session);
    }
    previous.reset();
    if (wanted.empty()) {
        return;
    }
    std::string error;
    std::unique_ptr<PortalSessionHandle> fresh = bus.createSession(globalShortcuts, error);
    if (fresh == nullptr) {
        std::fprintf(stderr, "hot keys: %s\n", error.c_str());
        return;
    }
    const PortalResponse bound = bus.request(globalShortcuts, QStringLiteral("BindShortcuts"),
                                             {QVariant::fromValue(QDBusObjectPath(fresh->handle())),
                                              QVariant::fromValue(shortcutsFor(wanted)), QString()},
                                             {}, PortalBus::userAnswer);
    if (!bound.ok) {
        std::fprintf(stderr, "hot keys: %s\n", bound.error.c_str());
        return;
    }
    const std::lock_guard lock(mutex);
    session = std::move(fresh);
}

void PortalKeyState::Impl::handle(const QDBusMessage& message, bool pressed) {
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2) {
        return;
    }
    const std::lock_guard lock(mutex);
    if (session == nullptr || arguments[0].value<QDBusObjectPath>().path() != session->handle()) {
        return;
    }
    const int key = keyOfShortcut(arguments[1].toString());
    if (pressed) {
        keys.pressed(key, Clock::now());
    } else {
        keys.released(key);
    }
}

void PortalKeyState::Impl::run() {
    std::unique_lock lock(mutex);
    while (!stopping) {
        changed.wait_for(lock, idleCheck, [this] { return stopping || rebind; });
        if (stopping) {
            break;
        }
        if (session != nullptr && session->closedByDesktop()) {
            // The user or the desktop ended the session: the next poll of a key binds it anew.
            std::unique_ptr<PortalSessionHandle> closed = std::move(session);
            keys.bindingsLost();
            lock.unlock();
            closed.reset();
            lock.lock();
            continue;
        }
        rebind = !keys.takeIdle(Clock::now()).empty() || rebind;
        if (!rebind) {
            continue;
        }
        rebind = false;
        const std::vector<int> wanted = keys.boundKeys();
        lock.unlock();
        bindWanted(wanted);
        lock.lock();
    }
}

PortalKeyState::PortalKeyState(PortalBus& bus) : impl_(std::make_shared<Impl>(bus)) {
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    // The bus outlives this object: its handlers find out whether it is still there.
    for (const bool pressed : {true, false}) {
        bus.subscribe(globalShortcuts,
                      pressed ? QStringLiteral("Activated") : QStringLiteral("Deactivated"),
                      [weak = std::weak_ptr<Impl>(impl_), pressed](const QDBusMessage& message) {
                          if (const auto impl = weak.lock()) {
                              impl->handle(message, pressed);
                          }
                      });
    }
    impl_->thread = std::thread([impl = impl_.get()] { impl->run(); });
}

PortalKeyState::~PortalKeyState() {
    {
        const std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->changed.notify_all();
    impl_->thread.join();
    const std::lock_guard lock(impl_->mutex);
    impl_->session.reset();
}

std::uint16_t PortalKeyState::query(int virtualKey) {
    const std::lock_guard lock(impl_->mutex);
    return impl_->keys.query(virtualKey, Clock::now(), [this](int key) {
        if (keysymName(key).empty()) {
            return false;
        }
        impl_->rebind = true;
        impl_->changed.notify_all();
        return true;
    });
}

void PortalKeyState::announceSyntheticPress(int virtualKey) {
    const std::lock_guard lock(impl_->mutex);
    impl_->keys.announce(virtualKey, Clock::now());
}

}  // namespace pontrel
