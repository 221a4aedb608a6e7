#pragma once

#include "form_context.h"
#include "measure/measured_use.h"

#include <optional>

namespace torvane {

// What the user typed in the Measured Use window, as typed.
struct MeasureTexts {
    QString path;
    QString cheapHours;   // "HH:MM-HH:MM", or empty for none
    QString offBelow;     // watts, or empty for the usual 0.5
    QString standbyBelow; // watts, or empty to find it from the readings
    QString maxGap;       // minutes, or empty for the usual
};

inline constexpr char MeasuredTitle[] = "Torvane Measured Use";

// Fills one item from a log of measured power: reads the options the user typed with the
// user's regional settings, measures, keeps the result and puts its figures into the
// item's powers and the four hour fields as if typed.
class MeasuredFill {
public:
    MeasuredFill(FormContext& context, int item)
        : m_context(context)
        , m_item(item)
    {}

    int item() const { return m_item; }
    const Regional& regional() const { return m_context.regional; }
    // Why the texts cannot be used (empty when they can); the options are set only then.
    QString readOptions(const MeasureTexts& texts, MeasureOptions& options) const;
    // Reads the options and shows a box for a text that cannot be used; false then.
    bool prepare(const MeasureTexts& texts, MeasureOptions& options) const;
    // Touches nothing of the window, so it may run on another thread.
    static MeasuredUse measure(const QString& path, const MeasureOptions& options,
                               const MeasureProgress& progress);
    void keep(MeasuredUse use) { m_use = std::move(use); }
    const std::optional<MeasuredUse>& result() const { return m_use; }

    // The figures as they would go into the fields, in the user's format.
    QStringList figureTexts() const;
    // What was found, for the window to show: the notes and the figures, or why there are
    // none.
    QString resultText() const;
    // What the window's checks would refuse in the figures, a message a line.
    QString figureProblems() const;
    // Fills the item from a measured result, asking first when the checks would refuse a
    // figure; whether it filled.
    bool useFigures();

private:
    FormContext& m_context;
    int m_item;
    std::optional<MeasuredUse> m_use;
};

} // namespace torvane
