#pragma once

#include "measured_use.h"

namespace torvane {

// What an hour of the day mostly is: the kind of use with the largest share of its known
// time, a tie going to the greater use; Unknown when none of it is known.
enum class HourState { Unknown, Off, Standby, On };
HourState hourState(const HourUse& hour);

// The shares of an hour's known time off, on standby and on, from 0 to 1; all 0 when none
// of it is known.
struct HourShares {
    double off = 0, standby = 0, on = 0;
};
HourShares hourShares(const HourUse& hour);

// The picture's key: each kind of use with the powers it stands for ("Off below 0.5 W",
// "Standby 0.5 W to 9.4 W", "On from 9.4 W"); no standby when no standby level was found.
// Numbers plain, or in the user's format when regional settings are given.
struct StateKey {
    HourState state;
    QString text;
};
QList<StateKey> stateKeys(const MeasuredUse& use, const Regional* regional = nullptr);

// The day-by-hour picture in words, for those who cannot see it: over how many days, the
// powers of each kind of use, the hours mostly on, on standby and off, those with no known
// time and the cheap-rate hours. Empty when nothing was measured.
QString dayByHourText(const MeasuredUse& use, const Regional* regional = nullptr);

} // namespace torvane
