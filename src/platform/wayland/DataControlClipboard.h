#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace pontrel {

// The desktop's clipboard through the data-control protocol (wlroots desktops and KWin): owns
// the selection with a text for a paste and puts back what the user had before. It works on a
// Wayland connection and a thread of its own, which answers other programs' requests for what
// it owns for as long as it lives. Used from one thread.
class DataControlClipboard {
public:
    DataControlClipboard();
    ~DataControlClipboard();
    DataControlClipboard(const DataControlClipboard&) = delete;
    DataControlClipboard& operator=(const DataControlClipboard&) = delete;

    // False when the desktop offers no data control.
    bool usable() const;

    // Keeps what the clipboard holds now, in every type it is offered in (up to a size limit),
    // for restore(). False when it could not be read.
    bool save();
    // Owns the selection with a UTF-8 text, once the desktop has taken it.
    bool offerText(const std::string& utf8);
    // Waits until a program has read what offerText() offered; false after the timeout.
    bool waitUntilRead(std::chrono::milliseconds timeout);
    // Puts back what save() kept; an empty clipboard stays empty.
    bool restore();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pontrel
