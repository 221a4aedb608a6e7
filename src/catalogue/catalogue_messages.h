#pragma once

// Texts of the appliance catalogue and the energy label.
namespace torvane::messages {

// The appliance catalogue and the energy label; "%1" in a line's problem is its number.
inline constexpr char CatalogueTitle[] = "Torvane Appliances";
inline constexpr char CatalogueUnreadable[] = "The file is missing or cannot be read.";
inline constexpr char CatalogueTooLarge[] = "The file is larger than 4 MiB.";
inline constexpr char CatalogueHeader[] =
    "The first line must name the columns: "
    "Category,Appliance,OnWatts,StandbyWatts,ContinuousWatts,LifeHours,Price,HoursPerDay,Source";
inline constexpr char CatalogueProblems[] =
    "Torvane could not read all of the appliance catalogue Data/Appliances.csv:";
inline constexpr char CatalogueMoreProblems[] = "and %1 more.";
inline constexpr char TooManyProblems[] =
    "Too many lines are damaged; the lines after line %1 are not read.";
inline constexpr char LineSkipped[] = "Line %1: %2";
inline constexpr char LineUnread[] = "Line %1: %2; the lines after it are not read";
inline constexpr char LineFields[] = "Line %1: the line has %2 fields, not 9";
inline constexpr char LineNoName[] = "Line %1: the appliance has no name";
inline constexpr char LineNotNumber[] = "Line %1: the %2 \"%3\" is not a number";
inline constexpr char LineOutOfRange[] = "Line %1: the %2 %3 must be %4";
inline constexpr char LineLifeAndPrice[] =
    "Line %1: the life and the price must both be 0 or both be given";
inline constexpr char LabelEnergy[] =
    "The kWh per year must be a number more than 0 and at most 61320.";
inline constexpr char LabelHours[] = "The hours a day must be a number more than 0 and at most 24.";
inline constexpr char LabelOnPower[] =
    "That is %1 W on; the on power must be between 0.1 and 7000 W.";

} // namespace torvane::messages
