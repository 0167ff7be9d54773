#include "platform/portal/PortalScreenCapture.h"

#include <algorithm>

#include "platform/pipewire/FramePixels.h"
#include "platform/wayland/CaptureStart.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// A stream opened anew waits for the desktop's next frame.
constexpr auto frameTimeout = 2s;

LayoutBox boxAround(const std::vector<CastStream>& streams) {
    if (streams.empty()) {
        return {};
    }
    int left = streams.front().x;
    int top = streams.front().y;
    int right = left;
    int bottom = top;
    for (const CastStream& stream : streams) {
        left = std::min(left, stream.x);
        top = std::min(top, stream.y);
        right = std::max(right, stream.x + stream.width);
        bottom = std::max(bottom, stream.y + stream.height);
    }
    return {left, top, right - left, bottom - top};
}

}  // namespace

PortalScreenCapture::PortalScreenCapture(CastSession& session, PictureWriter& pictures, Log log)
    : session_(session), pictures_(pictures), log_(std::move(log)) {}

PortalScreenCapture::~PortalScreenCapture() {
    disconnect();
}

bool PortalScreenCapture::connect() {
    // Starts the session again where the desktop closed it.
    if (auto error = session_.start()) {
        disconnect();
        report(*error);
        return false;
    }
    if (frames_ != nullptr && session_.starts() == connectedTo_) {
        return true;
    }
    // The streams of a session the desktop closed are gone with it.
    disconnect();
    // The session is left running whatever fails here: it may be the input's too, and a new one
    // could make the desktop ask the user again.
    std::string error;
    const int remote = session_.openPipeWireRemote(error);
    if (remote < 0) {
        report(error);
        return false;
    }
    frames_ = std::make_unique<PipeWireFrames>(remote);
    if (!frames_->usable()) {
        report("PipeWire did not answer on the portal's connection");
        frames_.reset();
        return false;
    }
    monitors_ = session_.streams();
    connectedTo_ = session_.starts();
    streams_.resize(monitors_.size());
    // Some desktops leave out a monitor's size: its frames tell it.
    for (std::size_t monitor = 0; monitor < monitors_.size(); ++monitor) {
        CastStream& stream = monitors_[monitor];
        if (stream.width > 0 && stream.height > 0) {
            continue;
        }
        const std::optional<Frame> frame = frameOf(monitor);
        if (!frame) {
            report("the monitor's stream delivered no picture");
            disconnect();
            return false;
        }
        stream.width = frame->width;
        stream.height = frame->height;
    }
    return true;
}

void PortalScreenCapture::disconnect() {
    streams_.clear();
    frames_.reset();
    monitors_.clear();
}

ScreenSize PortalScreenCapture::screenSize() {
    if (!connect()) {
        return {};
    }
    const LayoutBox box = boxAround(monitors_);
    return {box.x + box.width, box.y + box.height};
}

Bitmap PortalScreenCapture::capture(int x, int y, int width, int height) {
    if (!connect()) {
        return {};
    }
    std::optional<CaptureStart> start = startCapture(boxAround(monitors_), x, y, width, height);
    if (!start) {
        return {};
    }
    // Each monitor gives its part; what lies on none stays black.
    for (std::size_t monitor = 0; monitor < monitors_.size(); ++monitor) {
        const CastStream& on = monitors_[monitor];
        const LayoutBox part = LayoutBox{on.x, on.y, on.width, on.height}.clip(
            start->onMonitors.x, start->onMonitors.y, start->onMonitors.width,
            start->onMonitors.height);
        if (part.empty()) {
            continue;
        }
        const std::optional<Frame> frame = frameOf(monitor);
        if (!frame) {
            report("the monitor's stream delivered no picture");
            disconnect();  // the next capture connects anew
            return {};     // nothing read: no picture rather than a black one
        }
        copyFrame(framePart(frame->view(), on.width, on.height, part.x - on.x, part.y - on.y,
                            part.width, part.height),
                  start->picture, part.x - x, part.y - y, part.width, part.height);
    }
    lastReport_.clear();
    return std::move(start->picture);
}

void PortalScreenCapture::report(const std::string& failure) {
    // The pixel watch asks every 10 ms: a failure that stays is logged once.
    if (failure != lastReport_) {
        log_("screen capture: " + failure);
        lastReport_ = failure;
    }
}

std::optional<Frame> PortalScreenCapture::frameOf(std::size_t monitor) {
    std::unique_ptr<FrameStream>& stream = streams_[monitor];
    if (stream == nullptr || !stream->alive()) {
        stream = frames_->open(monitors_[monitor].node, true);
    }
    return stream != nullptr ? stream->frame(frameTimeout) : std::nullopt;
}

Status PortalScreenCapture::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return pictures_.writeBitmapFile(image, path);
}

Status PortalScreenCapture::writeJpegFile(const Bitmap& image, const std::string& path,
                                          int quality) {
    return pictures_.writeJpegFile(image, path, quality);
}

}  // namespace pontrel
