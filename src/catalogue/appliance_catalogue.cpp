#include "appliance_catalogue.h"

#include "catalogue_messages.h"
#include "core/ansi_file.h"
#include "core/csv_reader.h"
#include "core/one_line.h"
#include "engine/rules.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

const QStringList Columns = {u"Category"_s,     u"Appliance"_s,       u"OnWatts"_s,
                             u"StandbyWatts"_s, u"ContinuousWatts"_s, u"LifeHours"_s,
                             u"Price"_s,        u"HoursPerDay"_s,     u"Source"_s};

// A figure's column: the same ranges as the item field it fills.
struct Figure {
    double Appliance::*member;
    const char* name;
    bool required; // an empty field is 0 unless required
    bool zeroAllowed;
    double low;
    double high;
    const char* range;
};

const Figure Figures[] = {
    {&Appliance::watts, "on power", true, false, 0.1, 7000, "between 0.1 and 7000 W"},
    {&Appliance::standbyWatts, "standby power", false, false, 0, 99, "between 0 and 99 W"},
    {&Appliance::continuousWatts, "continuous power", false, false, 0, 99, "between 0 and 99 W"},
    {&Appliance::lifeHours, "life", false, true, 500, 50000, "0 or between 500 and 50000 hours"},
    {&Appliance::price, "price", false, true, 0.1, 5000, "0 or between 0.1 and 5000"},
    {&Appliance::hoursDay, "hours a day", false, false, 0, 24, "between 0 and 24"},
};

constexpr qsizetype MostProblems = 1000;

// The catalogue is shown in every language, its numbers are written in one.
const QLocale Machine = [] {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    return c;
}();

QString text(const char* message)
{
    return QString::fromUtf8(message);
}

// A field as a problem quotes it, on the problem's one line: a whole line of rubbish
// would not fit in a message box, and a line break or another control character in it
// shows as a blank.
QString quoted(QStringView field)
{
    constexpr qsizetype Longest = 40;
    qsizetype kept = std::min(field.size(), Longest);
    // Never between the two halves of a character beyond 16 bits.
    if (kept < field.size() && field[kept - 1].isHighSurrogate())
        --kept;
    QString shown = field.first(kept).toString();
    for (QChar& c : shown) {
        if (breaksLine(c))
            c = u' ';
    }
    return kept < field.size() ? shown + u"..."_s : shown;
}

// The appliance of a line, or the line's problem.
QString readLine(const QList<QStringView>& fields, qint64 line, Appliance& appliance)
{
    using namespace messages;
    if (fields.size() != Columns.size())
        return text(LineFields).arg(line).arg(fields.size());
    appliance.category = fields[0].trimmed().toString();
    appliance.name = fields[1].trimmed().toString();
    appliance.source = fields[8].trimmed().toString();
    if (appliance.name.isEmpty())
        return text(LineNoName).arg(line);
    for (qsizetype i = 0; i < std::ssize(Figures); ++i) {
        const Figure& figure = Figures[i];
        const QStringView field = fields[i + 2].trimmed();
        bool ok = field.isEmpty() && !figure.required;
        const double value = ok ? 0 : Machine.toDouble(field, &ok);
        if (!ok)
            return text(LineNotNumber).arg(line).arg(text(figure.name), quoted(field));
        const bool inRange =
            (figure.zeroAllowed && value == 0) || (value >= figure.low && value <= figure.high);
        if (!inRange)
            return text(LineOutOfRange)
                .arg(line)
                .arg(text(figure.name), quoted(field), text(figure.range));
        appliance.*figure.member = value;
    }
    // The window refuses a life without a cost and a cost without a life.
    if ((appliance.lifeHours == 0) != (appliance.price == 0))
        return text(LineLifeAndPrice).arg(line);
    return {};
}

bool isHeader(const QList<QStringView>& fields)
{
    if (fields.size() != Columns.size())
        return false;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i].trimmed().compare(Columns[i], Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

} // namespace

Catalogue readCatalogue(const QString& path)
{
    using namespace messages;
    QFile file(path);
    if (!AnsiFile::open(file, QIODevice::ReadOnly))
        return {{}, {text(CatalogueUnreadable)}};
    // A regular file: its size is known before reading, and the reader streams it.
    if (file.size() > AnsiFile::MostBytes)
        return {{}, {text(CatalogueTooLarge)}};
    return readCatalogue(file);
}

Catalogue readCatalogue(QIODevice& device)
{
    using namespace messages;
    Catalogue catalogue;
    CsvReader reader(device);
    QList<QStringView> fields;
    bool headerRead = false;
    for (;;) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::End)
            break;
        // A line that is not UTF-8 is left out; past a broken quote the reader cannot
        // tell where the next line starts.
        QString problem;
        if (result == CsvReader::Result::Error) {
            if (!reader.recordSkipped()) {
                catalogue.problems.append(text(LineUnread).arg(reader.line()).arg(reader.error()));
                break;
            }
            problem = text(LineSkipped).arg(reader.line()).arg(reader.error());
        } else if (fields.front().startsWith(u'#')) {
            continue;
        } else if (!headerRead) {
            if (!isHeader(fields)) {
                catalogue.problems.append(text(CatalogueHeader));
                break;
            }
            headerRead = true;
            continue;
        } else {
            Appliance appliance;
            problem = readLine(fields, reader.line(), appliance);
            if (problem.isEmpty()) {
                catalogue.appliances.push_back(std::move(appliance));
                continue;
            }
        }
        catalogue.problems.append(problem);
        // A file of nothing but damaged lines is no catalogue; its problems would fill the
        // memory.
        if (catalogue.problems.size() == MostProblems) {
            catalogue.problems.append(text(TooManyProblems).arg(reader.line()));
            break;
        }
    }
    if (!headerRead && catalogue.problems.isEmpty())
        catalogue.problems.append(text(CatalogueHeader));
    return catalogue;
}

QString catalogueProblemsText(const QStringList& problems)
{
    // Enough to see what is wrong without a box taller than the screen.
    constexpr qsizetype Shown = 10;
    QStringList lines{text(messages::CatalogueProblems)};
    lines += problems.first(std::min(Shown, problems.size()));
    if (problems.size() > Shown)
        lines.append(text(messages::CatalogueMoreProblems).arg(problems.size() - Shown));
    return lines.join(CrLf);
}

bool matchesSearch(const Appliance& appliance, const QString& query)
{
    static const QRegularExpression blanks(u"\\s+"_s);
    const QStringList words = query.split(blanks, Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(), [&](const QString& word) {
        return appliance.name.contains(word, Qt::CaseInsensitive) ||
               appliance.category.contains(word, Qt::CaseInsensitive);
    });
}

double onPowerFromLabel(double kwhPerYear, double hoursPerDay)
{
    return kwhPerYear * 1000 / (365 * hoursPerDay);
}

LabelPower readLabel(const Regional& regional, QStringView kwhPerYear, QStringView hoursPerDay)
{
    using namespace messages;
    const auto read = [&](QStringView field, double most, double& value) {
        const Regional::ReadResult result = regional.read(field);
        value = result.value;
        return result.status == Regional::ReadStatus::Ok && value > 0 && value <= most;
    };
    LabelPower label;
    double kwh = 0;
    // 61320 kWh a year is the most power an item takes, 7000 W, all day long.
    if (!read(kwhPerYear, 61320, kwh))
        label.problem = text(LabelEnergy);
    else if (!read(hoursPerDay, 24, label.hoursPerDay) ||
             (label.hoursPerDay = roundToDecimals(label.hoursPerDay, Decimals::Hours)) <= 0)
        label.problem = text(LabelHours); // the hours as the window's checks will keep them
    else if (label.watts = onPowerFromLabel(kwh, label.hoursPerDay);
             label.watts < 0.1 || label.watts > 7000)
        label.problem =
            text(LabelOnPower).arg(regional.formatGeneral(std::round(label.watts * 100) / 100));
    return label;
}

} // namespace torvane
