#pragma once

#include <cstdint>
#include <memory>

#include "platform/BoundKeyState.h"

namespace pontrel {

// The state of the keys the program polls, from global shortcuts registered with KWin's
// kglobalaccel on the session bus while each key is polled (see PolledKeys). A bound key
// is taken from every other program, and KWin tells its presses and releases whoever has the
// focus.
class KWinKeyState final : public BoundKeyState {
public:
    KWinKeyState();
    // Gives back every key it bound.
    ~KWinKeyState() override;
    KWinKeyState(const KWinKeyState&) = delete;
    KWinKeyState& operator=(const KWinKeyState&) = delete;

    // False when kglobalaccel does not answer.
    bool available() const;

    std::uint16_t query(int virtualKey) override;
    void announceSyntheticPress(int virtualKey) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Whether kglobalaccel answers on the session bus.
bool kwinShortcutsAnswer();

// Qt's key code of a virtual-key code as kglobalaccel takes it; 0 for keys that are not bound.
int kglobalaccelKey(int virtualKey);

}  // namespace pontrel
