#pragma once

#include "lib/DateValue.h"

namespace qpn {

// What the date reader needs from the edit control around it: the day it
// completes partial dates from, and the beep for corrected input (the control
// sounds it only when its CheckBeep is on). Tests fix the day and count beeps.
class DateEntryEnvironment
{
public:
    virtual ~DateEntryEnvironment() = default;
    virtual DateTime today() const { return Today(); }
    virtual void beep() = 0;
};

} // namespace qpn
