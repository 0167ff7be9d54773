#include "platform/controls/Form.h"

namespace pontrel {

void Form::setCaption(const std::string& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        changed();
    }
}

void Form::setBackColour(Colour colour) {
    if (backColour_ != colour) {
        backColour_ = colour;
        changed();
    }
}

void Form::setIcon(const std::string& icon) {
    if (icon_ != icon) {
        icon_ = icon;
        changed();
    }
}

void Form::setClientSize(int widthTwips, int heightTwips) {
    if (clientWidth_ != widthTwips || clientHeight_ != heightTwips) {
        clientWidth_ = widthTwips;
        clientHeight_ = heightTwips;
        changed();
    }
}

void Form::setMinimized(bool minimized) {
    if (minimized_ != minimized) {
        minimized_ = minimized;
        OnScreenChanged();
    }
}

void Form::setOuterHeight(int twips) {
    setClientSize(clientWidth_, twips - frameHeight_);
}

}  // namespace pontrel
