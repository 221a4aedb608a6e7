#pragma once

// Texts the main window shows besides the check messages: status messages and box titles.
namespace torvane::messages {

inline constexpr char DataErrorTitle[] = "Torvane Data Error";
inline constexpr char DataCleared[] = "Data Cleared";
inline constexpr char DataNotChanged[] = "The Data Has Not Changed";
inline constexpr char NoDataToCalculate[] = "No Data To Calculate";

} // namespace torvane::messages
