#pragma once

#include "core/regional.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace torvane {

// Comparisons as a freshly started main window makes them: the row's texts typed into
// the window as loading left it, then one press of Calculate. Worked out straight from
// the row's texts to the texts the window would show, through the window's own readings,
// rules, engine and record, without a window model per row.
class BatchComparison {
public:
    explicit BatchComparison(const Regional& regional);
    ~BatchComparison();

    // The input columns a batch file may name: the fields and check boxes of the window.
    static const QStringList& inputColumns();
    static bool isCheckBox(QStringView column);
    // The result columns of the csv output, in order.
    static const QStringList& resultColumns();

    // Starts every row from a window that read these lines of a configuration file, as
    // loading reads Data\Torvane.ini. Returns the reader's message when it refuses them.
    QString setConfiguration(const QStringList& lines);

    // The columns of the rows to come, each one of inputColumns().
    void setColumns(const QStringList& columns);

    enum class Outcome { Calculated, Refused, Status };
    struct Result {
        Outcome outcome = Outcome::Calculated;
        QString status;       // the status message, for Outcome::Status
        QStringList messages; // the check messages, for Outcome::Refused
        QString record;       // the record, when asked for and calculated
        QStringList results;  // the values of resultColumns(), when no record is asked for
    };

    // Runs one row, its values in the order of the columns. Throws FatalCalculation when
    // the calculation meets a run-time error.
    Result run(const QList<QStringView>& values, bool withRecord);

    struct FatalCalculation {
        QString title;
        qint16 step;
    };

private:
    struct Loaded;
    class Row;
    const Regional& m_regional;
    std::unique_ptr<Loaded> m_loaded;
    std::vector<int> m_columns; // the input each column fills
};

} // namespace torvane
