#pragma once

#include <utility>

namespace pontrel {

// Sets a flag for as long as it lives and gives it back the value it had on every way out, so
// neither an early return nor an exception leaves it set.
class HeldFlag {
public:
    explicit HeldFlag(bool& flag) : flag_(flag), previous_(std::exchange(flag, true)) {}
    ~HeldFlag() { flag_ = previous_; }
    HeldFlag(const HeldFlag&) = delete;
    HeldFlag& operator=(const HeldFlag&) = delete;

private:
    bool& flag_;
    bool previous_;
};

}  // namespace pontrel
