#pragma once

#include <array>
#include <atomic>

namespace pontrel {

// What synthesized input holds on the server right now, kept lock-free so that a signal
// handler can undo it while the typing thread is stopped anywhere.
struct X11HeldInput {
    std::array<std::atomic<bool>, 256> keys{};      // keycodes we pressed and not released
    std::array<std::atomic<bool>, 256> remapped{};  // spare keycodes that carry a symbol of ours
    std::array<std::atomic<bool>, 4> buttons{};     // pointer buttons 1-3 we hold down
    std::atomic<int> lockedGroupToRestore{-1};      // the user's group while we locked another
    std::atomic<unsigned> capsLockKeyToTap{0};      // Caps Lock we unlocked and must lock again
};

}  // namespace pontrel
