// A long sitting: 10,000 rounds of Calculate then Save on the main window's model in a
// program folder of its own, one input changed each round. Every save must add exactly
// its record to the results log, no message box may appear, and resident memory must
// stay flat from round 1,000 to the last. Reports the time of a round and the memory;
// exits with 1 when a check fails.

#include "app/main_controller.h"
#include "support/test_doubles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

constexpr int Rounds = 10000;
constexpr int Settled = 1000;            // rounds before memory is taken as settled
constexpr long MostGrowthKiB = 2 * 1024; // allowed from round 1,000 to the last

// The text in Windows-1252, worked out here rather than by the program's own encoder so
// that a fault in that shows; false for a character outside the code page.
bool windows1252(const QString& text, QByteArray& bytes)
{
    // 0x80 to 0x9F; 0 where the code page has no character.
    static const char16_t High[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    bytes.clear();
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(static_cast<char>(u));
            continue;
        }
        const auto at = std::find(std::begin(High), std::end(High), u);
        if (u == 0 || at == std::end(High))
            return false;
        bytes.append(static_cast<char>(0x80 + (at - std::begin(High))));
    }
    return true;
}

long residentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

bool copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files | QDir::Hidden)) {
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}

// A program folder made from dist/, and the program loaded in it.
struct Program {
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    FixedClock clock;
    Regional regional{QLocale(u"en_GB"_s)};
    std::unique_ptr<MainController> main;

    QString log() const { return dir.filePath(u"Log/Torvane.log"_s); }

    bool load()
    {
        for (const QString& folder : {u"Data"_s, u"Help"_s, u"Log"_s}) {
            if (!copyFolder(QStringLiteral(TORVANE_DIST "/") + folder, dir.filePath(folder)))
                return false;
        }
        desktop.answerEveryBox = true; // counted, and any one fails the run
        main = std::make_unique<MainController>(desktop, clock, regional, dir.path(),
                                                u"https://example.org/"_s, QString());
        main->load();
        return desktop.boxes.isEmpty() && QFile::exists(log());
    }

    void typeWorkedExample()
    {
        MainForm& m = main->form();
        for (const auto& [name, text] : {std::pair{"NormalR", "0.15"},
                                         {"CheapR", "0.075"},
                                         {"NormalHr", "10"},
                                         {"NormalSHr", "6"},
                                         {"CheapHr", "4"},
                                         {"CheapSHr", "4"},
                                         {"PayPeriod", "4"},
                                         {"VAT", "5"},
                                         {"AnInfT", "0"},
                                         {"CO2", "0.43"},
                                         {"Item1SWatts", "4"},
                                         {"Item1CWatts", "0"},
                                         {"Item1Life", "10000"},
                                         {"Item1Cost", "25"},
                                         {"Item2Watts", "60"},
                                         {"Item2SWatts", "3"},
                                         {"Item2CWatts", "0"},
                                         {"Item2Life", "15000"},
                                         {"Item2Cost", "40"}})
            static_cast<TextBox*>(m.control(QString::fromLatin1(name)))
                ->type(QString::fromUtf8(text));
    }
};

// What is wrong with the log after a save, or nothing: it grew by the pending text and a
// CR LF in Windows-1252, and ends with them. Counts the bytes checked.
QString checkSave(const Program& p, qint64 before, const QString& pending, qint64& checked)
{
    QByteArray expected;
    if (!windows1252(pending + u"\r\n"_s, expected))
        return u"the record holds a character outside Windows-1252"_s;
    QFile log(p.log());
    if (!log.open(QIODevice::ReadOnly))
        return u"the log cannot be read"_s;
    const qint64 grown = log.size() - before;
    if (grown != expected.size())
        return u"the log grew by %1 bytes, not %2"_s.arg(grown).arg(expected.size());
    if (!log.seek(before) || log.readAll() != expected)
        return u"the log does not end with the record saved"_s;
    checked += grown;
    return QString();
}

struct Figures {
    std::vector<double> roundMicros;
    qint64 logBytesChecked = 0;
    long rssAtSettled = -1;
};

// One round: a new wattage and note, Calculate, Save; timed without the checks.
QString runRound(Program& p, int round, Figures& figures)
{
    MainForm& m = p.main->form();
    m.Item1Watts.type(QString::number(100 + round % 50));
    m.Notes.type(u"Kitchen lamp, round %1 (5 €)"_s.arg(round));
    const qint64 before = QFileInfo(p.log()).size();
    const auto start = std::chrono::steady_clock::now();
    m.Calc.click();
    const bool offered = m.Save.enabled();
    const QString pending = m.PendingLogText;
    m.Save.click();
    const auto end = std::chrono::steady_clock::now();
    figures.roundMicros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    if (!p.desktop.boxes.isEmpty())
        return u"a message box: "_s + p.desktop.boxes.front().text;
    if (!offered || m.Save.enabled())
        return u"Save was not offered once for the calculation"_s;
    return checkSave(p, before, pending, figures.logBytesChecked);
}

double percentile(std::vector<double> values, double share)
{
    const auto at = values.begin() +
                    static_cast<std::ptrdiff_t>(share * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

int report(const Figures& figures, long rssAtEnd)
{
    const std::vector<double>& t = figures.roundMicros;
    double total = 0;
    for (double micros : t)
        total += micros;
    std::printf("rounds (calculate + save): %zu\n", t.size());
    std::printf("time per round: mean %.1f us, median %.1f us, 99th percentile %.1f us\n",
                total / static_cast<double>(t.size()), percentile(t, 0.5), percentile(t, 0.99));
    std::printf("results log: %lld bytes appended and checked\n",
                static_cast<long long>(figures.logBytesChecked));
    const long growth = rssAtEnd - figures.rssAtSettled;
    std::printf("resident memory: %ld KiB after %d rounds, %ld KiB after %d (%+ld KiB)\n",
                figures.rssAtSettled, Settled, rssAtEnd, Rounds, growth);
    if (figures.rssAtSettled < 0 || rssAtEnd < 0) {
        std::fprintf(stderr, "FAIL: resident memory cannot be read\n");
        return 1;
    }
    if (growth > MostGrowthKiB) {
        std::fprintf(stderr, "FAIL: resident memory grew by more than %ld KiB\n", MostGrowthKiB);
        return 1;
    }
    return 0;
}

// The rounds; 0, or 1 when a check failed.
int run()
{
    Program p;
    if (!p.dir.isValid() || !p.load()) {
        std::fprintf(stderr, "FAIL: the program folder could not be made or loaded\n");
        return 1;
    }
    // AutoSave stays off, as the shipped defaults have it: each round is two presses, and
    // Save must be offered by Calculate and withdrawn by the save.
    if (p.main->form().AutoSave.value() != 0) {
        std::fprintf(stderr, "FAIL: the shipped defaults tick AutoSave\n");
        return 1;
    }
    p.typeWorkedExample();
    Figures figures;
    figures.roundMicros.reserve(Rounds);
    for (int round = 1; round <= Rounds; ++round) {
        const QString problem = runRound(p, round, figures);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "FAIL in round %d: %s\n", round, qPrintable(problem));
            return 1;
        }
        if (round == Settled)
            figures.rssAtSettled = residentKiB();
    }
    return report(figures, residentKiB());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        return run();
    } catch (const ProgramEnded&) {
        std::fprintf(stderr, "FAIL: the program ended\n");
        return 1;
    }
}
