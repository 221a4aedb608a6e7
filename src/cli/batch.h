#pragma once

#include "core/regional.h"
#include "core/text_buffer.h"
#include "engine/timeline.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace torvane {

struct FormContext;
struct Settings;

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

    // Starts every row from a window that read this configuration file, as loading reads
    // Data\Torvane.ini. Returns the reader's message when it refuses the file.
    QString setConfiguration(const QString& path);
    // Starts every row from a freshly installed window: the configuration file that the
    // program ships with, kept inside the tool.
    QString setShippedDefaults();

    // The columns of the rows to come, each one of inputColumns().
    void setColumns(const QStringList& columns);

    // Fatal: the calculation met a run-time error, which ends the window that meets it.
    enum class Outcome { Calculated, Refused, Status, Fatal };
    struct Result {
        Outcome outcome = Outcome::Calculated;
        QString status;       // the status message, for Outcome::Status
        QStringList messages; // the check messages, or the fatal message's first two lines
        QStringView record;   // the record, when asked for and calculated: until the next run
        // The values of resultColumns(), when no record is asked for: until the next run.
        QList<QStringView> results;
        std::optional<Timeline> timeline; // in place of the record, when asked for
    };

    // Runs one row, its values in the order of the columns, one for each.
    Result run(const QList<QStringView>& values, bool withRecord);
    // Calculated rows asked for with a record give their cost over time instead.
    void setTimeline(bool timeline) { m_timeline = timeline; }

    // A run-time error that ends the window meeting it.
    struct FatalCalculation {
        QString title;
        qint16 step;
    };

private:
    struct Loaded;
    class Row;
    // Loads the window that every row starts from, its defaults read by the loader;
    // returns the reader's message when it refuses them.
    using DefaultsLoader = std::function<void(FormContext&, Settings&, QString& transcript)>;
    QString loadWindow(const DefaultsLoader& load);

    const Regional& m_regional;
    std::unique_ptr<Loaded> m_loaded;
    std::vector<int> m_columns; // the input each column fills
    TextBuffer m_record;        // the last row's record
    NumberText m_results;       // the last row's result columns
    QList<QStringView> m_resultViews;
    bool m_timeline = false;
};

} // namespace torvane
