#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace pontrel::test {

// A PipeWire video source showing a picture, as a desktop's screen-cast stream of a monitor
// would: BGRx frames, 30 a second, on the PipeWire of $XDG_RUNTIME_DIR.
class PictureProducer {
public:
    // Pixels 0xRRGGBB, rows from the top.
    PictureProducer(int width, int height, std::vector<std::uint32_t> pixels);
    ~PictureProducer();
    PictureProducer(const PictureProducer&) = delete;
    PictureProducer& operator=(const PictureProducer&) = delete;

    // The stream's node, waiting for PipeWire to announce it; 0 when it did not.
    std::uint32_t node();
    // The next frames show these pixels.
    void show(std::vector<std::uint32_t> pixels);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pontrel::test
