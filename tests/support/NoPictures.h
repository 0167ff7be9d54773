#pragma once

#include <string>

#include "platform/PictureWriter.h"

namespace pontrel::test {

// For screen services whose tests write no picture files.
class NoPictures final : public PictureWriter {
public:
    Status writeBitmapFile(const Bitmap&, const std::string&) override {
        return Status::failure("not here");
    }
    Status writeJpegFile(const Bitmap&, const std::string&, int) override {
        return Status::failure("not here");
    }
};

}  // namespace pontrel::test
