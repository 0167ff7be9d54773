#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/pipewire/FramePixels.h"

struct pw_thread_loop;
struct pw_context;
struct pw_core;

namespace pontrel {

// One frame, copied out of the stream's buffer.
struct Frame {
    std::vector<unsigned char> bytes;
    int width = 0;
    int height = 0;
    int stride = 0;
    PixelOrder order = PixelOrder::Bgrx;

    FrameView view() const { return {bytes.data(), width, height, stride, order}; }
};

class FrameStream;

// A connection to PipeWire on a thread of its own, kept for every capture: setting it up costs
// more than a small frame does.
class PipeWireFrames {
public:
    // The session's PipeWire.
    PipeWireFrames();
    // The PipeWire connection a desktop portal opened for us; takes the descriptor.
    explicit PipeWireFrames(int remote);
    ~PipeWireFrames();
    PipeWireFrames(const PipeWireFrames&) = delete;
    PipeWireFrames& operator=(const PipeWireFrames&) = delete;

    // False when PipeWire did not answer.
    bool usable();
    // Receives the video of a node. With keepNewest every frame replaces the one held (a watched
    // pixel); otherwise only the first is kept (a screenshot).
    std::unique_ptr<FrameStream> open(std::uint32_t node, bool keepNewest);

private:
    void connect(int remote);

    pw_thread_loop* loop_ = nullptr;
    pw_context* context_ = nullptr;
    pw_core* core_ = nullptr;
};

// The video of one node. Ends by itself when nobody asked for a frame for idleEnd, so that a
// watch that is over does not keep the desktop drawing for us.
class FrameStream {
public:
    static constexpr std::chrono::milliseconds idleEnd{1000};

    virtual ~FrameStream() = default;
    // The frame held, waiting up to `wait` for the first one; none once the stream failed or
    // ended, or when no frame came in time.
    virtual std::optional<Frame> frame(std::chrono::milliseconds wait) = 0;
    // False once it failed or ended: a new stream is needed.
    virtual bool alive() = 0;
};

}  // namespace pontrel
