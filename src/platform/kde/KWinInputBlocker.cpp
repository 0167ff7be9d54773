#include "platform/kde/KWinInputBlocker.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantMap>

#include "platform/kde/KWinBus.h"
#include "platform/linux/ProgramLauncher.h"
#include "platform/wayland/WatchdogCommands.h"

namespace pontrel {

namespace {

const QString kwinService = QStringLiteral("org.kde.KWin");
const QString managerPath = QStringLiteral("/org/kde/KWin/InputDevice");
const QString managerInterface = QStringLiteral("org.kde.KWin.InputDeviceManager");
const QString deviceInterface = QStringLiteral("org.kde.KWin.InputDevice");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int callTimeoutMs = 2000;

QDBusMessage callProperties(const QString& path, const QString& method,
                            const QVariantList& arguments) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kwinService, path, propertiesInterface, method);
    message.setArguments(arguments);
    return kwinSessionBus().call(message, QDBus::Block, callTimeoutMs);
}

std::optional<QStringList> deviceNames() {
    const QDBusMessage reply = callProperties(
        managerPath, QStringLiteral("Get"), {managerInterface, QStringLiteral("devicesSysNames")});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return reply.arguments().front().value<QDBusVariant>().variant().toStringList();
}

// KWin names each device's object after its sysfs name ("event3"); a name that cannot be a path
// element is no device of KWin's.
bool isPathElement(const QString& name) {
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    });
}

std::string devicePath(const std::string& name) {
    return managerPath.toStdString() + "/" + name;
}

std::optional<QVariantMap> deviceProperties(const std::string& name) {
    const QDBusMessage reply = callProperties(QString::fromStdString(devicePath(name)),
                                              QStringLiteral("GetAll"), {deviceInterface});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return qdbus_cast<QVariantMap>(reply.arguments().front());
}

// A keyboard, mouse or touchpad that is on; a device with a switch (a lid's) is left alone.
bool isUserInputSwitchedOn(const QVariantMap& device) {
    const auto has = [&device](const char* property) {
        return device.value(QString::fromLatin1(property)).toBool();
    };
    return has("enabled") && !has("switchDevice") &&
           (has("keyboard") || has("pointer") || has("touchpad"));
}

// Switches the device and reads back that KWin did: KWin leaves a device that cannot be
// switched as it is and still answers the change.
bool switchDevice(const std::string& name, bool enabled) {
    const QDBusMessage reply = callProperties(
        QString::fromStdString(devicePath(name)), QStringLiteral("Set"),
        {deviceInterface, QStringLiteral("enabled"), QVariant::fromValue(QDBusVariant(enabled))});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return false;
    }
    const std::optional<QVariantMap> device = deviceProperties(name);
    return device && device->value(QStringLiteral("enabled")).toBool() == enabled;
}

bool stillListed(const std::string& name) {
    const std::optional<QStringList> names = deviceNames();
    return !names || names->contains(QString::fromStdString(name));
}

// dbus-send calls that switch the devices on; nothing when dbus-send is missing.
std::shared_ptr<const WatchdogCommands> switchOnCommands(const std::vector<std::string>& names) {
    const std::optional<ProgramCommand> dbusSend = resolveProgramCommand("dbus-send");
    if (!dbusSend) {
        return nullptr;
    }
    std::vector<std::vector<std::string>> commands;
    for (const std::string& name : names) {
        commands.push_back(
            {dbusSend->program, "--session", "--print-reply", "--dest=" + kwinService.toStdString(),
             devicePath(name), propertiesInterface.toStdString() + ".Set",
             "string:" + deviceInterface.toStdString(), "string:enabled", "variant:boolean:true"});
    }
    return std::make_shared<const WatchdogCommands>(std::move(commands));
}

}  // namespace

bool kwinInputDevicesAnswer() {
    return deviceNames().has_value();
}

KWinInputBlocker::~KWinInputBlocker() {
    (void)release();
}

Status KWinInputBlocker::setBlocked(bool blocked) {
    return blocked ? block() : release();
}

Status KWinInputBlocker::block() {
    if (blocked_) {
        return Status::success();
    }
    // What a block that failed may have left off comes on first.
    if (Status left = release(); !left.ok()) {
        return left;
    }
    const std::optional<QStringList> names = deviceNames();
    if (!names) {
        return Status::failure("KWin does not list its input devices");
    }
    std::vector<std::string> chosen;
    for (const QString& name : *names) {
        if (!isPathElement(name)) {
            continue;
        }
        const std::optional<QVariantMap> device = deviceProperties(name.toStdString());
        if (device && isUserInputSwitchedOn(*device)) {
            chosen.push_back(name.toStdString());
        }
    }
    if (chosen.empty()) {
        return Status::failure("KWin lists no keyboard or pointer that is switched on");
    }
    const std::shared_ptr<const WatchdogCommands> switchOn = switchOnCommands(chosen);
    if (switchOn == nullptr) {
        return Status::failure(
            "dbus-send is missing: nothing could end an input block should "
            "this program end during it");
    }
    if (!watchdog_.start([switchOn] { switchOn->runUntilDone(); })) {
        return Status::failure("cannot start the watchdog that ends an input block");
    }
    bool allOff = true;
    for (const std::string& name : chosen) {
        if (switchDevice(name, false)) {
            switchedOff_.push_back(name);
        } else {
            allOff = false;
        }
    }
    if (!allOff) {
        (void)release();
        return Status::failure("KWin did not switch every keyboard and pointer off");
    }
    blocked_ = true;
    return Status::success();
}

Status KWinInputBlocker::release() {
    blocked_ = false;
    // A device unplugged meanwhile needs nothing.
    std::erase_if(switchedOff_, [](const std::string& name) {
        return switchDevice(name, true) || !stillListed(name);
    });
    if (!switchedOff_.empty()) {
        return Status::failure("KWin did not switch every keyboard and pointer on again");
    }
    watchdog_.stop();
    return Status::success();
}

}  // namespace pontrel
