#include "platform/x11/X11ScreenService.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <algorithm>
#include <bit>
#include <cstdio>

#include "platform/x11/X11Connection.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

// Refuse absurd rectangles rather than allocating gigabytes.
constexpr long long maxCapturePixels = 1LL << 27;

struct ImageDeleter {
    bool shared = false;
    void operator()(XImage* image) const {
        if (shared) {
            image->data = nullptr;  // the pixels belong to the shared segment
        }
        XDestroyImage(image);
    }
};
using ImagePtr = std::unique_ptr<XImage, ImageDeleter>;

// One colour channel of a visual: where it sits in a pixel value and how wide it is.
struct Channel {
    int shift;
    int bits;

    explicit Channel(unsigned long mask)
        : shift(mask == 0 ? 0 : std::countr_zero(mask)), bits(std::popcount(mask)) {}

    std::uint32_t read(unsigned long pixel) const {
        if (bits == 0) {
            return 0;
        }
        const auto value = static_cast<std::uint32_t>(pixel >> shift) & ((1U << bits) - 1U);
        return bits >= 8 ? value >> (bits - 8) : value * 255U / ((1U << bits) - 1U);
    }
};

bool isHostOrderRgb32(const XImage& image) {
    const int hostOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    return image.bits_per_pixel == 32 && image.byte_order == hostOrder &&
           image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 && image.blue_mask == 0xFF;
}

// Appends one row of the image to the pixels as 0x00RRGGBB.
void appendRow(const XImage& image, int y, std::vector<std::uint32_t>& pixels) {
    if (isHostOrderRgb32(image)) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            image.data + static_cast<std::ptrdiff_t>(y) * image.bytes_per_line);
        const std::size_t start = pixels.size();
        pixels.insert(pixels.end(), row, row + image.width);
        for (std::size_t i = start; i < pixels.size(); ++i) {
            pixels[i] &= 0xFFFFFFU;  // the pad byte of depth 24 is not ours
        }
        return;
    }
    // Other visuals (16-bit, foreign byte order): slow but general.
    const Channel red(image.red_mask);
    const Channel green(image.green_mask);
    const Channel blue(image.blue_mask);
    auto& readable = const_cast<XImage&>(image);  // XGetPixel takes a non-const image
    for (int x = 0; x < image.width; ++x) {
        const unsigned long pixel = XGetPixel(&readable, x, y);
        pixels.push_back(red.read(pixel) << 16 | green.read(pixel) << 8 | blue.read(pixel));
    }
}

}  // namespace

struct X11ScreenService::Impl {
    explicit Impl(PictureWriter& pictures) : pictures(pictures) {}

    PictureWriter& pictures;
    X11Connection connection;
    Display* display = nullptr;  // null without a display or once the server is lost
    bool shmUsable = false;
    XShmSegmentInfo shm{};
    std::size_t shmBytes = 0;

    Display* usableDisplay() const { return connection.lost() ? nullptr : display; }
    XImage* read(int x, int y, int width, int height);
    bool attachSharedMemory(std::size_t bytes);
    void detachSharedMemory();
};

X11ScreenService::X11ScreenService(PictureWriter& pictures)
    : impl_(std::make_unique<Impl>(pictures)) {
    impl_->display = impl_->connection.open();
    if (impl_->display == nullptr) {
        std::fprintf(stderr, "Screen capture: no X display\n");
        return;
    }
    impl_->shmUsable = XShmQueryExtension(impl_->display) != False;
}

X11ScreenService::~X11ScreenService() {
    if (impl_->usableDisplay() != nullptr) {
        impl_->detachSharedMemory();
    }
}

ScreenSize X11ScreenService::screenSize() {
    Display* display = impl_->usableDisplay();
    if (display == nullptr) {
        return {};
    }
    // Asked each time: the root window grows and shrinks with RandR.
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (!XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border,
                      &depth)) {
        return {};
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

Bitmap X11ScreenService::capture(int x, int y, int width, int height) {
    if (impl_->usableDisplay() == nullptr || width <= 0 || height <= 0 ||
        static_cast<long long>(width) * static_cast<long long>(height) > maxCapturePixels) {
        return {};
    }
    const ScreenSize screen = screenSize();
    if (screen.width <= 0 || screen.height <= 0) {
        return {};  // the server did not answer: no picture rather than a black one
    }
    const long long left = std::max<long long>(x, 0);
    const long long top = std::max<long long>(y, 0);
    const long long right = std::min<long long>(static_cast<long long>(x) + width, screen.width);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + height, screen.height);
    Bitmap bitmap{width, height, {}};
    auto& pixels = bitmap.pixels;
    if (left >= right || top >= bottom) {
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0U);
        return bitmap;  // entirely off the screen: black
    }
    XImage* raw = impl_->read(static_cast<int>(left), static_cast<int>(top),
                              static_cast<int>(right - left), static_cast<int>(bottom - top));
    const ImagePtr image(raw, ImageDeleter{raw != nullptr && raw->data == impl_->shm.shmaddr});
    if (!image) {
        return {};  // nothing read: no picture rather than a black one
    }
    // Row by row, so that each pixel is written once: black around the part on the screen.
    const auto blackRow = static_cast<std::size_t>(width);
    const auto blackLeft = static_cast<std::size_t>(left - x);
    const auto blackRight = static_cast<std::size_t>(static_cast<long long>(x) + width - right);
    pixels.reserve(blackRow * static_cast<std::size_t>(height));
    pixels.insert(pixels.end(), static_cast<std::size_t>(top - y) * blackRow, 0U);
    for (int row = 0; row < image->height; ++row) {
        pixels.insert(pixels.end(), blackLeft, 0U);
        appendRow(*image, row, pixels);
        pixels.insert(pixels.end(), blackRight, 0U);
    }
    pixels.resize(blackRow * static_cast<std::size_t>(height), 0U);
    return bitmap;
}

Status X11ScreenService::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return impl_->pictures.writeBitmapFile(image, path);
}

Status X11ScreenService::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    return impl_->pictures.writeJpegFile(image, path, quality);
}

XImage* X11ScreenService::Impl::read(int x, int y, int width, int height) {
    const Window root = DefaultRootWindow(display);
    if (shmUsable) {
        XImage* image = XShmCreateImage(
            display, DefaultVisual(display, DefaultScreen(display)),
            static_cast<unsigned>(DefaultDepth(display, DefaultScreen(display))), ZPixmap, nullptr,
            &shm, static_cast<unsigned>(width), static_cast<unsigned>(height));
        const std::size_t bytes = image == nullptr
                                      ? 0
                                      : static_cast<std::size_t>(image->bytes_per_line) *
                                            static_cast<std::size_t>(height);
        if (image != nullptr && attachSharedMemory(bytes)) {
            image->data = shm.shmaddr;
            if (XShmGetImage(display, root, image, x, y, AllPlanes)) {
                return image;
            }
        }
        // MIT-SHM present but unusable (a remote connection, no SysV shm): plain GetImage from
        // now on.
        if (image != nullptr) {
            ImageDeleter{true}(image);
        }
        detachSharedMemory();
        shmUsable = false;
    }
    return XGetImage(display, root, x, y, static_cast<unsigned>(width),
                     static_cast<unsigned>(height), AllPlanes, ZPixmap);
}

// One segment, grown to the largest rectangle asked for so far.
bool X11ScreenService::Impl::attachSharedMemory(std::size_t bytes) {
    if (shmBytes >= bytes) {
        return true;
    }
    detachSharedMemory();
    shm.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shm.shmid < 0) {
        return false;
    }
    void* address = shmat(shm.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(shm.shmid, IPC_RMID, nullptr);
        return false;
    }
    shm.shmaddr = static_cast<char*>(address);
    shm.readOnly = False;
    XShmAttach(display, &shm);
    XSync(display, False);
    // Marked for removal at once: the segment vanishes with its last user, even after a crash.
    shmctl(shm.shmid, IPC_RMID, nullptr);
    shmBytes = bytes;
    return true;
}

void X11ScreenService::Impl::detachSharedMemory() {
    if (shmBytes == 0) {
        return;
    }
    XShmDetach(display, &shm);
    XSync(display, False);
    shmdt(shm.shmaddr);
    shm = {};
    shmBytes = 0;
}

}  // namespace pontrel
