// The appliance catalogue's reader on any bytes: read whole, again, and in pieces of any
// size it gives the same appliances and problems; every appliance kept has a name and
// figures its item fields accept; every problem is one line that can be shown; the search
// finds each appliance by its own name, and a piece of the input as the query finds the
// same with its words in any order.

#include "catalogue/appliance_catalogue.h"
#include "core/ansi_file.h"
#include "fuzz_check.h"

#include <QRegularExpression>

using namespace torvane;

namespace {

// The ranges of the window's item fields, each as the checks accept it.
struct Range {
    double Appliance::*member;
    const char* name;
    double low, high;
    bool zeroAllowed;
};

const Range Ranges[] = {
    {&Appliance::watts, "on power", 0.1, 7000, false},
    {&Appliance::standbyWatts, "standby power", 0, 99, false},
    {&Appliance::continuousWatts, "continuous power", 0, 99, false},
    {&Appliance::lifeHours, "life", 500, 50000, true},
    {&Appliance::price, "price", 0.1, 5000, true},
    {&Appliance::hoursDay, "hours a day", 0, 24, false},
};

// Everything read, as one text to compare.
QString described(const Catalogue& catalogue)
{
    QStringList lines = catalogue.problems;
    for (const Appliance& a : catalogue.appliances) {
        QStringList fields{a.category, a.name, a.source};
        for (const Range& range : Ranges)
            fields.append(QString::number(a.*range.member, 'g', 17));
        lines.append(fields.join(QChar(0x1F)));
    }
    return lines.join(u'\n');
}

Catalogue read(const QByteArray& bytes, qint64 piece)
{
    Trickle device(piece);
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    return readCatalogue(device);
}

void checkAppliance(const Appliance& a)
{
    require(!a.name.isEmpty(), "every appliance has a name");
    for (const QString* text : {&a.category, &a.name, &a.source})
        require(*text == text->trimmed(), "texts without blanks around them", *text);
    for (const Range& range : Ranges) {
        const double value = a.*range.member;
        require((range.zeroAllowed && value == 0) || (value >= range.low && value <= range.high),
                range.name, QString::number(value, 'g', 17));
    }
    require((a.lifeHours == 0) == (a.price == 0), "life and price given together", a.name);
    require(matchesSearch(a, a.name) && matchesSearch(a, a.category) && matchesSearch(a, {}),
            "found by its own name and category", a.name);
}

// The search with the query's words in the opposite order finds the same.
void checkSearch(const Appliance& a, const QString& query)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList words = query.split(blanks, Qt::SkipEmptyParts);
    std::reverse(words.begin(), words.end());
    require(matchesSearch(a, query) == matchesSearch(a, words.join(u' ')), "words in any order",
            query);
}

void checkProblems(const QStringList& problems)
{
    // 1,000 damaged lines and the one that says reading stopped.
    require(problems.size() <= 1001, "problems kept within bounds",
            QString::number(problems.size()));
    for (const QString& problem : problems) {
        require(!problem.isEmpty() && problem.isValidUtf16(), "a problem is text", problem);
        require(!problem.contains(u'\n') && !problem.contains(u'\r'), "a problem is one line",
                problem);
    }
    // The message: its title, ten problems and how many more.
    const QString message = catalogueProblemsText(problems);
    require(message.count(CrLf) <= 11, "the message is a few lines", message);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte sets the size of the pieces and where the search's query starts.
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const Catalogue whole = read(bytes, qint64(1) << 30);
    const QString first = described(whole);
    require(described(read(bytes, qint64(1) << 30)) == first, "read again, the same", first);
    require(described(read(bytes, qint64(1) << (data[0] % 12))) == first,
            "pieces read as the whole", first);

    checkProblems(whole.problems);
    const qsizetype at = bytes.size() * data[0] / 256;
    const QString query = QString::fromUtf8(bytes.mid(at, 24));
    for (const Appliance& appliance : whole.appliances) {
        checkAppliance(appliance);
        checkSearch(appliance, query);
    }
    return 0;
}
