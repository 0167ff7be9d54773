#pragma once

namespace pontrel {

// Sets aenderung_sperren for as long as it lives and clears it on every way out, so no early
// return can leave the change handlers silenced.
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
