#pragma once

#include "core/regional.h"
#include "core/text_buffer.h"

#include <QString>

#include <optional>

namespace torvane {

// The record takes texts as views: their owners outlive composing it.

// What the record writes of one tariff block: the price fields as they stand and the
// hours of a day and over the payback period.
struct RecordTariff {
    QStringView normalRate;
    QStringView cheapRate;
    double normalHours = 0;
    double normalStandbyHours = 0;
    double cheapHours = 0;
    double cheapStandbyHours = 0;
    double hoursOn = 0;
    double hoursStandby = 0;
};

// The units and cost lines of an item, or of the saving between the two.
struct RecordFigures {
    double dayUnits = 0;
    double partUnits = 0; // per quarter or month
    double periodUnits = 0;
    QStringView co2; // as shown
    double dayCost = 0;
    double partCost = 0;
    QStringView periodCost; // as the line shows it
    // Whether the money texts the cost line reads back still read as numbers; when they
    // do not, composing the line fails.
    bool moneyReads = true;
};

// What the record writes of one item: its fields as they stand and its figures.
struct RecordItem {
    QStringView watts;
    double standbyWatts = 0;
    double continuousWatts = 0;
    QStringView share; // standby share as shown, empty for none
    QStringView life;
    QStringView count;
    QStringView cost;
    RecordFigures figures;
};

// Everything one calculation's record holds.
struct ResultRecord {
    QStringView notes;
    bool tariffKept = false;
    bool monthly = false;
    bool pounds = false;
    double vat = 0;
    double inflation = 0;
    double co2Rate = 0;
    QStringView payPeriodText;
    double payPeriod = 0;
    float inflationFactor = 1;
    RecordTariff item1Tariff; // the tariff Item 1 was worked out with
    RecordTariff tariff;      // the current one, written when the tariff is kept
    std::optional<RecordItem> item1;
    std::optional<RecordItem> item2;
    std::optional<RecordFigures> saving;
};

// The stages of composing a record, marked for the fatal-error report: the heading lines,
// Item 1's lines, the second tariff block, Item 2's lines, then each units line and each
// cost line (Item 1, Item 2, the saving).
namespace RecordStep {
inline constexpr qint16 Heading = 201;
inline constexpr qint16 Item1 = 202;
inline constexpr qint16 Item2Tariff = 203;
inline constexpr qint16 Item2 = 204;
inline constexpr qint16 FirstUnitsLine = 205;
inline constexpr qint16 FirstCostLine = 208;
} // namespace RecordStep

// The fixed-layout record of a calculation, each line ended by CR LF. step marks the
// stage reached for the fatal-error report.
QString composeResultRecord(const ResultRecord& record, const Regional& regional, qint16& step);
// The same, after what out holds: for records written one after another into one buffer.
void appendResultRecord(const ResultRecord& record, const Regional& regional, qint16& step,
                        TextBuffer& out);

} // namespace torvane
