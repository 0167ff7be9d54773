#pragma once

namespace pontrel {

// Sets aenderung_sperren for as long as it lives and clears it on every way out. Unlike a
// HeldFlag it does not give back an earlier value: a procedure of the window ends by clearing
// the lock, also when its caller had set it (a macro loaded at start-up clears the start-up's
// lock), and callers rely on that.
class ChangeLock {
public:
    explicit ChangeLock(bool& aenderung_sperren) : flag_(aenderung_sperren) { flag_ = true; }
    ~ChangeLock() { flag_ = false; }
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

private:
    bool& flag_;
};

}  // namespace pontrel
