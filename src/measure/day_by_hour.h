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

// The day-by-hour picture in words, for those who cannot see it: over how many days, the
// hours mostly on, on standby and off, those with no known time and the cheap-rate hours.
// Empty when nothing was measured.
QString dayByHourText(const MeasuredUse& use);

} // namespace torvane
