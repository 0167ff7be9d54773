#pragma once

#include <string>
#include <vector>

#include "platform/RecordedInput.h"
#include "platform/controls/Timer.h"

namespace pontrel {

class MainForm;

// Recording a macro: a countdown in the window's title, then what the user does in other
// programs is collected until the stop key or the Start button ends it; the recorded commands
// go in behind the current command. A recording never outlives the form.
class Recording {
public:
    explicit Recording(MainForm& form);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    void mnurecord_Click();
    void aufnahme_beenden();
    // From the start of the countdown to the end.
    bool active() const { return Timer_aufnahme.enabled(); }

private:
    void Timer_aufnahme_Timer();
    void countdown();
    // Keeps what the user did outside this window; true once the stop key was pressed.
    bool collect(const std::vector<RecordedInput>& seen);
    bool ownWindow(const RecordedInput& input);
    void insertRecorded();
    int baseWait() const;

    MainForm& form_;
    Timer Timer_aufnahme;
    std::string titleBefore_;
    int secondsLeft_ = 0;
    bool watching_ = false;
    std::vector<RecordedInput> recorded_;
};

}  // namespace pontrel
