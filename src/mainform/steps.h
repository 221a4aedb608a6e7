#pragma once

#include <QtGlobal>

// The stages that the main window's procedures mark in StepNumber as they pass them: a
// run-time error is reported with the number of the stage reached, which names the
// procedure and the stage together.
namespace torvane::Step {

// Calculate.
inline constexpr qint16 CalculationChecks = 101;
inline constexpr qint16 CalculationPeriodHours = 102;
inline constexpr qint16 CalculationInflation = 103;
inline constexpr qint16 CalculationItem1 = 104;
inline constexpr qint16 CalculationItem2 = 105;
inline constexpr qint16 CalculationDifferences = 106;
inline constexpr qint16 CalculationRecord = 107;

// The checks of the inputs.
inline constexpr qint16 TariffRules = 111;
inline constexpr qint16 TariffRewrite = 112;
inline constexpr qint16 NormaliseHours = 121;
inline constexpr qint16 NormaliseItems = 122;
inline constexpr qint16 BlankItems = 131;
inline constexpr qint16 HourRanges = 132;
inline constexpr qint16 Item1Ranges = 133;
inline constexpr qint16 Item2Ranges = 134;
inline constexpr qint16 CombinationsStart = 141;
inline constexpr qint16 CombinationRules = 142;

// Emptying inputs and results.
inline constexpr qint16 EmptyZeroInputs = 151;
inline constexpr qint16 ClearBlankItemResults = 161;
inline constexpr qint16 ClearInputs = 171;
inline constexpr qint16 ClearComparison = 231;
inline constexpr qint16 ClearResults = 241;
inline constexpr qint16 ClearResultFields = 251;

// Loading the window.
inline constexpr qint16 LoadFolders = 181;
inline constexpr qint16 LoadSwitches = 182;
inline constexpr qint16 LoadDefaults = 183;
inline constexpr qint16 LoadResultsLog = 184;
inline constexpr qint16 LoadFinish = 186;

// The defaults: reading the configuration file (the reader marks its own stages after
// this one), saving it.
inline constexpr qint16 ReadDefaults = 191;
inline constexpr qint16 SaveDefaultsChecks = 221;
inline constexpr qint16 SaveDefaultsWrite = 222;
inline constexpr qint16 SaveDefaultsShow = 224;

// The currency symbol.
inline constexpr qint16 CurrencyStrip = 211;
inline constexpr qint16 CurrencyRenew = 212;
inline constexpr qint16 CurrencyTax = 214;

} // namespace torvane::Step
