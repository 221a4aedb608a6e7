#pragma once

#include "calc/form_context.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace torvane {

// One comparison as a freshly started main window makes it: the row's texts typed into
// the named fields, then one press of Calculate. Shares the window's model and
// procedures; only the desktop and the log are replaced by recorders.
class BatchComparison {
public:
    explicit BatchComparison(const Regional& regional);
    ~BatchComparison();

    // The input columns a batch file may name: the fields and check boxes of the window.
    static const QStringList& inputColumns();
    static bool isCheckBox(QStringView column);
    // The result columns of the csv output, in order.
    static const QStringList& resultColumns();

    enum class Outcome { Calculated, Refused, Status };
    struct Result {
        Outcome outcome = Outcome::Calculated;
        QString status;       // the status message, for Outcome::Status
        QStringList messages; // the check messages, for Outcome::Refused
        QString record;       // RecordText, for Outcome::Calculated
        QStringList results;  // the values of resultColumns()
    };

    // Starts every row's window from these lines of a configuration file. Returns the
    // reader's message when it refuses them, empty when they are accepted.
    QString setConfiguration(const QStringList& lines);

    // Runs one row; columns and values pair up. Throws FatalCalculation when the
    // calculation meets a run-time error.
    Result run(const QStringList& columns, const QStringList& values);

    struct FatalCalculation {
        QString title;
        qint16 step;
    };

private:
    class Recorder;
    const Regional& m_regional;
    std::unique_ptr<Recorder> m_recorder;
    std::optional<QStringList> m_configuration;
};

} // namespace torvane
