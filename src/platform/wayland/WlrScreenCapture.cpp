#include "platform/wayland/WlrScreenCapture.h"

#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
#include <cstdint>

#include <wayland-client.h>

#include "platform/wayland/WaylandConnection.h"
#include "wlr-screencopy-unstable-v1-client.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

constexpr long long maxCapturePixels = 1LL << 27;
constexpr auto frameTimeout = 2s;

// What the compositor says of one frame.
struct Frame {
    std::uint32_t format = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t stride = 0;
    std::uint32_t flags = 0;
    bool shmOffered = false;
    bool buffersDone = false;
    bool ready = false;
    bool failed = false;

    static void buffer(void* data, zwlr_screencopy_frame_v1*, std::uint32_t format,
                       std::uint32_t width, std::uint32_t height, std::uint32_t stride) {
        auto& self = *static_cast<Frame*>(data);
        self.format = format;
        self.width = width;
        self.height = height;
        self.stride = stride;
        self.shmOffered = true;
    }
    static void setFlags(void* data, zwlr_screencopy_frame_v1*, std::uint32_t flags) {
        static_cast<Frame*>(data)->flags = flags;
    }
    static void setReady(void* data, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t,
                         std::uint32_t) {
        static_cast<Frame*>(data)->ready = true;
    }
    static void setFailed(void* data, zwlr_screencopy_frame_v1*) {
        static_cast<Frame*>(data)->failed = true;
    }
    static void damage(void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t,
                       std::uint32_t, std::uint32_t) {}
    static void dmabuf(void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t,
                       std::uint32_t) {}
    static void bufferDone(void* data, zwlr_screencopy_frame_v1*) {
        static_cast<Frame*>(data)->buffersDone = true;
    }
};

const zwlr_screencopy_frame_v1_listener frameListener = {
    Frame::buffer, Frame::setFlags, Frame::setReady,   Frame::setFailed,
    Frame::damage, Frame::dmabuf,   Frame::bufferDone,
};

// 0x00RRGGBB of a pixel in one of the 32-bit shm formats.
std::uint32_t rgb(std::uint32_t pixel, std::uint32_t format) {
    const bool blueFirst = format == WL_SHM_FORMAT_ABGR8888 || format == WL_SHM_FORMAT_XBGR8888;
    if (!blueFirst) {
        return pixel & 0xFFFFFFU;
    }
    return ((pixel & 0xFFU) << 16) | (pixel & 0xFF00U) | ((pixel >> 16) & 0xFFU);
}

bool readable(std::uint32_t format) {
    return format == WL_SHM_FORMAT_ARGB8888 || format == WL_SHM_FORMAT_XRGB8888 ||
           format == WL_SHM_FORMAT_ABGR8888 || format == WL_SHM_FORMAT_XBGR8888;
}

}  // namespace

struct WlrScreenCapture::Impl {
    // A shared-memory buffer, kept while frames keep their size: the pixel watch captures the
    // same pixel a hundred times a second.
    struct Buffer {
        int fd = -1;
        void* data = MAP_FAILED;
        std::size_t size = 0;
        wl_shm_pool* pool = nullptr;
        wl_buffer* buffer = nullptr;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::uint32_t stride = 0;
        std::uint32_t format = 0;
    };

    ~Impl() { dropBuffer(); }
    wl_buffer* bufferFor(const Frame& frame);
    void dropBuffer();
    bool copy(const WaylandOutput& output, int x, int y, int width, int height, Bitmap& into,
              int intoX, int intoY);

    WaylandConnection connection;
    Buffer buffer;
};

wl_buffer* WlrScreenCapture::Impl::bufferFor(const Frame& frame) {
    if (buffer.buffer != nullptr && buffer.width == frame.width && buffer.height == frame.height &&
        buffer.stride == frame.stride && buffer.format == frame.format) {
        return buffer.buffer;
    }
    dropBuffer();
    const std::size_t size = static_cast<std::size_t>(frame.stride) * frame.height;
    buffer.fd = memfd_create("pontrel-screen", MFD_CLOEXEC);
    if (buffer.fd < 0 || ftruncate(buffer.fd, static_cast<off_t>(size)) != 0) {
        dropBuffer();
        return nullptr;
    }
    buffer.data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, buffer.fd, 0);
    if (buffer.data == MAP_FAILED) {
        dropBuffer();
        return nullptr;
    }
    buffer.size = size;
    buffer.pool = wl_shm_create_pool(connection.shm(), buffer.fd, static_cast<std::int32_t>(size));
    buffer.buffer =
        wl_shm_pool_create_buffer(buffer.pool, 0, static_cast<std::int32_t>(frame.width),
                                  static_cast<std::int32_t>(frame.height),
                                  static_cast<std::int32_t>(frame.stride), frame.format);
    buffer.width = frame.width;
    buffer.height = frame.height;
    buffer.stride = frame.stride;
    buffer.format = frame.format;
    return buffer.buffer;
}

void WlrScreenCapture::Impl::dropBuffer() {
    if (buffer.buffer != nullptr) {
        wl_buffer_destroy(buffer.buffer);
    }
    if (buffer.pool != nullptr) {
        wl_shm_pool_destroy(buffer.pool);
    }
    if (buffer.data != MAP_FAILED) {
        munmap(buffer.data, buffer.size);
    }
    if (buffer.fd >= 0) {
        close(buffer.fd);
    }
    buffer = Buffer{};
}

// Copies the region (x, y, width, height) of one output, in its own logical pixels, to
// (intoX, intoY) of the picture.
bool WlrScreenCapture::Impl::copy(const WaylandOutput& output, int x, int y, int width, int height,
                                  Bitmap& into, int intoX, int intoY) {
    Frame frame;
    zwlr_screencopy_frame_v1* request = zwlr_screencopy_manager_v1_capture_output_region(
        connection.screencopyManager(), 0, output.output, x, y, width, height);
    zwlr_screencopy_frame_v1_add_listener(request, &frameListener, &frame);
    const bool announcesDone =
        zwlr_screencopy_manager_v1_get_version(connection.screencopyManager()) >= 3;
    const bool offered = connection.dispatchUntil(
        [&] { return frame.failed || (frame.shmOffered && (frame.buffersDone || !announcesDone)); },
        frameTimeout);
    wl_buffer* target =
        offered && !frame.failed && readable(frame.format) ? bufferFor(frame) : nullptr;
    if (target != nullptr) {
        zwlr_screencopy_frame_v1_copy(request, target);
        connection.dispatchUntil([&] { return frame.ready || frame.failed; }, frameTimeout);
    }
    zwlr_screencopy_frame_v1_destroy(request);
    if (target == nullptr || !frame.ready) {
        return false;
    }
    // The buffer has device pixels: a scaled output gives more than we asked for.
    const auto* bytes = static_cast<const unsigned char*>(buffer.data);
    const bool flipped = frame.flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
    for (int row = 0; row < height; ++row) {
        std::uint32_t sourceRow =
            static_cast<std::uint32_t>(row) * frame.height / static_cast<std::uint32_t>(height);
        if (flipped) {
            sourceRow = frame.height - 1 - sourceRow;
        }
        const auto* line =
            reinterpret_cast<const std::uint32_t*>(bytes + std::size_t{sourceRow} * frame.stride);
        std::uint32_t* out = &into.pixels[static_cast<std::size_t>(intoY + row) *
                                              static_cast<std::size_t>(into.width) +
                                          static_cast<std::size_t>(intoX)];
        for (int column = 0; column < width; ++column) {
            out[column] = rgb(line[static_cast<std::uint32_t>(column) * frame.width /
                                   static_cast<std::uint32_t>(width)],
                              frame.format);
        }
    }
    return true;
}

WlrScreenCapture::WlrScreenCapture(PictureWriter& pictures)
    : impl_(std::make_unique<Impl>()), pictures_(pictures) {}

WlrScreenCapture::~WlrScreenCapture() = default;

bool WlrScreenCapture::usable() const {
    return impl_->connection.usable() && impl_->connection.screencopyManager() != nullptr &&
           impl_->connection.shm() != nullptr;
}

ScreenSize WlrScreenCapture::screenSize() {
    const LayoutBox box = impl_->connection.layout();
    return {box.x + box.width, box.y + box.height};
}

Bitmap WlrScreenCapture::capture(int x, int y, int width, int height) {
    if (!usable() || width <= 0 || height <= 0 ||
        static_cast<long long>(width) * static_cast<long long>(height) > maxCapturePixels) {
        return {};
    }
    Bitmap bitmap{width, height, {}};
    bitmap.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0U);
    // Each monitor gives its part; what lies on none stays black.
    for (const WaylandOutput& output : impl_->connection.outputs()) {
        const long long left = std::max<long long>(x, output.x);
        const long long top = std::max<long long>(y, output.y);
        const long long right =
            std::min<long long>(static_cast<long long>(x) + width, output.x + output.width());
        const long long bottom =
            std::min<long long>(static_cast<long long>(y) + height, output.y + output.height());
        if (left >= right || top >= bottom) {
            continue;
        }
        if (!impl_->copy(output, static_cast<int>(left - output.x),
                         static_cast<int>(top - output.y), static_cast<int>(right - left),
                         static_cast<int>(bottom - top), bitmap, static_cast<int>(left - x),
                         static_cast<int>(top - y))) {
            return {};  // nothing read: no picture rather than a black one
        }
    }
    return bitmap;
}

Status WlrScreenCapture::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return pictures_.writeBitmapFile(image, path);
}

Status WlrScreenCapture::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    return pictures_.writeJpegFile(image, path, quality);
}

}  // namespace pontrel
