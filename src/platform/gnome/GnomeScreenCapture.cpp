#include "platform/gnome/GnomeScreenCapture.h"

#include <algorithm>

#include "platform/wayland/CaptureStart.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// Up to this many pixels an area is watched rather than taken once.
constexpr long long watchedAreaLimit = 64 * 64;
constexpr auto announceTimeout = 2s;
constexpr auto frameTimeout = 2s;
constexpr int singleFrameAttempts = 2;

}  // namespace

GnomeScreenCapture::GnomeScreenCapture(PictureWriter& pictures, Log log)
    : pictures_(pictures), log_(std::move(log)) {}

GnomeScreenCapture::~GnomeScreenCapture() {
    endWatch();
}

bool GnomeScreenCapture::usable() {
    return layout_.usable() && cast_.usable() && frames_.usable();
}

ScreenSize GnomeScreenCapture::screenSize() {
    layout_.roundtrip();  // monitors may have come or gone
    const LayoutBox box = layout_.layout();
    return {box.x + box.width, box.y + box.height};
}

Bitmap GnomeScreenCapture::capture(int x, int y, int width, int height) {
    if (!layout_.usable()) {
        return {};
    }
    // mutter records any area of the desktop; beyond the rectangle around the monitors the
    // picture stays black.
    std::optional<CaptureStart> start = startCapture(layout_.layout(), x, y, width, height);
    if (!start || start->onMonitors.empty()) {
        return start ? start->picture : Bitmap{};
    }
    const LayoutBox& part = start->onMonitors;
    const Rect area{part.x, part.y, part.width, part.height};
    const std::optional<Frame> frame =
        static_cast<long long>(area.width) * area.height <= watchedAreaLimit ? watchedFrame(area)
                                                                             : singleFrame(area);
    if (!frame) {
        return {};  // nothing read: no picture rather than a black one
    }
    copyFrame(frame->view(), start->picture, area.left - x, area.top - y, area.width, area.height);
    return std::move(start->picture);
}

std::optional<Frame> GnomeScreenCapture::watchedFrame(const Rect& area) {
    const bool monitorsChanged = cast_.monitorsChanged();
    if (watch_ && (monitorsChanged || watch_->area != area || !watch_->stream->alive())) {
        endWatch();
    }
    if (!watch_) {
        Recording recording =
            cast_.recordArea(area.left, area.top, area.width, area.height, announceTimeout);
        if (!recording.ok()) {
            log_("screen capture: " + recording.error);
            return std::nullopt;
        }
        watch_ = Watch{area, recording.session, frames_.open(recording.node, true)};
    }
    std::optional<Frame> frame;
    if (watch_->stream != nullptr) {
        frame = watch_->stream->frame(frameTimeout);
    }
    if (!frame) {
        log_("screen capture: the watched area's stream delivered no picture");
        endWatch();
    }
    return frame;
}

std::optional<Frame> GnomeScreenCapture::singleFrame(const Rect& area) {
    // A new stream may wait for the desktop's next redraw; a second one usually does not.
    for (int attempt = 0; attempt < singleFrameAttempts; ++attempt) {
        const Recording recording =
            cast_.recordArea(area.left, area.top, area.width, area.height, announceTimeout);
        if (!recording.ok()) {
            log_("screen capture: " + recording.error);
            return std::nullopt;
        }
        std::optional<Frame> frame;
        if (std::unique_ptr<FrameStream> stream = frames_.open(recording.node, false)) {
            frame = stream->frame(frameTimeout);
        }
        cast_.stop(recording.session);
        if (frame) {
            return frame;
        }
    }
    log_("screen capture: the stream delivered no picture");
    return std::nullopt;
}

void GnomeScreenCapture::endWatch() {
    if (watch_) {
        watch_->stream.reset();
        cast_.stop(watch_->session);
        watch_.reset();
    }
}

Status GnomeScreenCapture::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return pictures_.writeBitmapFile(image, path);
}

Status GnomeScreenCapture::writeJpegFile(const Bitmap& image, const std::string& path,
                                         int quality) {
    return pictures_.writeJpegFile(image, path, quality);
}

}  // namespace pontrel
