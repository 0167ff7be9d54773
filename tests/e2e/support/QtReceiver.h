#pragma once

#include <memory>
#include <string>
#include <vector>

#include "e2e/support/Desktop.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::e2e {

// The Qt text field receiver, a program of its own on the desktop.
class QtReceiver {
public:
    struct Change {
        TimePoint at;
        int characters = 0;  // UTF-16 units, as Qt counts
    };

    QtReceiver(const Desktop& desktop, const std::string& program);

    Window window() const { return window_; }
    std::string text() const;
    std::vector<Change> changes() const;

private:
    std::string file_;
    std::unique_ptr<ChildProcess> process_;
    Window window_ = 0;
};

}  // namespace pontrel::e2e
