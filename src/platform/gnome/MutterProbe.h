#pragma once

namespace pontrel {

// Which of mutter's services answer on the session bus.
struct MutterServices {
    bool remoteDesktop = false;  // with its screen cast: input
    bool displayConfig = false;  // the monitor off
};

MutterServices probeMutter();

}  // namespace pontrel
