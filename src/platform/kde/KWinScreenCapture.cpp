#include "platform/kde/KWinScreenCapture.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QImage>
#include <QVariantMap>

#include "platform/kde/KWinBus.h"
#include "platform/wayland/CaptureStart.h"

namespace pontrel {

namespace {

const QString screenshotService = QStringLiteral("org.kde.KWin");
const QString screenshotPath = QStringLiteral("/org/kde/KWin/ScreenShot2");
const QString screenshotInterface = QStringLiteral("org.kde.KWin.ScreenShot2");
// The first picture after KWin's start may take seconds on software rendering.
constexpr int callTimeoutMs = 15000;

// The whole content of the pipe KWin writes the picture to; empty when it stalls.
QByteArray readPipe(int fd) {
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, callTimeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        const ssize_t got = ready > 0 ? read(fd, buffer, sizeof buffer) : -1;
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return {};
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, got);
    }
}

// The area of the screen as KWin gives it, or a null image.
QImage captureArea(int x, int y, int width, int height) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return {};
    }
    // KWin answers once it has the picture and writes it to the pipe after that. The message
    // keeps a copy of the pipe's end: it must be gone before the read can see the end.
    const QDBusReply<QVariantMap> reply = [&] {
        QDBusMessage call = QDBusMessage::createMethodCall(screenshotService, screenshotPath,
                                                           screenshotInterface, "CaptureArea");
        call << x << y << static_cast<uint>(width) << static_cast<uint>(height) << QVariantMap()
             << QVariant::fromValue(QDBusUnixFileDescriptor(fds[1]));
        return QDBusReply<QVariantMap>(kwinSessionBus().call(call, QDBus::Block, callTimeoutMs));
    }();
    close(fds[1]);
    const QByteArray bytes = reply.isValid() ? readPipe(fds[0]) : QByteArray();
    close(fds[0]);
    if (!reply.isValid()) {
        return {};
    }
    const QVariantMap meta = reply.value();
    const int gotWidth = meta.value("width").toInt();
    const int gotHeight = meta.value("height").toInt();
    const int stride = meta.value("stride").toInt();
    const auto format = static_cast<QImage::Format>(meta.value("format").toInt());
    if (gotWidth <= 0 || gotHeight <= 0 || stride <= 0 ||
        bytes.size() < static_cast<qsizetype>(stride) * gotHeight) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(bytes.constData()), gotWidth, gotHeight, stride,
                  format)
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

bool kwinScreenshotsAnswer() {
    const QDBusMessage version = kwinSessionBus().call(
        QDBusMessage::createMethodCall(screenshotService, screenshotPath,
                                       "org.freedesktop.DBus.Properties", "Get")
            << screenshotInterface << QStringLiteral("Version"),
        QDBus::Block, callTimeoutMs);
    return version.type() == QDBusMessage::ReplyMessage;
}

KWinScreenCapture::KWinScreenCapture(PictureWriter& pictures)
    : pictures_(pictures), usable_(layout_.usable() && kwinScreenshotsAnswer()) {}

bool KWinScreenCapture::usable() const {
    return usable_;
}

ScreenSize KWinScreenCapture::screenSize() {
    const LayoutBox box = layout_.layout();
    return {box.x + box.width, box.y + box.height};
}

Bitmap KWinScreenCapture::capture(int x, int y, int width, int height) {
    if (!usable_) {
        return {};
    }
    // Only the part on the screen is asked for; the rest stays black.
    std::optional<CaptureStart> start = startCapture(layout_.layout(), x, y, width, height);
    if (!start || start->onMonitors.empty()) {
        return start ? start->picture : Bitmap{};
    }
    const LayoutBox& part = start->onMonitors;
    const QImage image = captureArea(part.x, part.y, part.width, part.height);
    if (image.width() != part.width || image.height() != part.height) {
        return {};  // nothing read: no picture rather than a black one
    }
    for (int row = 0; row < part.height; ++row) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(row));
        const std::size_t at = static_cast<std::size_t>(part.y - y + row) * width +
                               static_cast<std::size_t>(part.x - x);
        for (int column = 0; column < part.width; ++column) {
            start->picture.pixels[at + static_cast<std::size_t>(column)] = line[column] & 0xFFFFFFU;
        }
    }
    return std::move(start->picture);
}

Status KWinScreenCapture::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return pictures_.writeBitmapFile(image, path);
}

Status KWinScreenCapture::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    return pictures_.writeJpegFile(image, path, quality);
}

}  // namespace pontrel
