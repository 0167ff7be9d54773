#pragma once

#include "platform/Bitmap.h"
#include "platform/controls/Control.h"

namespace pontrel {

// An invisible surface that keeps the last captured image.
class PictureBox : public Control {
public:
    using Control::Control;

    const Bitmap& image() const { return image_; }
    void setImage(Bitmap image) { image_ = std::move(image); }

private:
    Bitmap image_;
};

}  // namespace pontrel
