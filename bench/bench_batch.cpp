// The batch tool's cost per row and its throughput and memory: runs torvane-calc under
// callgrind on 2,000 generated comparisons and on their header alone (the difference over
// 2,000 is the instructions a row costs), as records and as csv, then on files of 2,000,
// 20,000 and 200,000 comparisons for rows per second and peak memory, as records, as csv
// and as cost over time (48 monthly lines a row).

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

QString writeRows(const QTemporaryDir& dir, int rows)
{
    const QString path = dir.filePath(u"rows%1.csv"_s.arg(rows));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("Notes,NormalR,CheapR,NormalHr,NormalSHr,CheapHr,CheapSHr,PayPeriod,VAT,AnInfT,CO2,"
               "Item1Watts,Item1SWatts,Item1CWatts,Item1Life,Item1Cost,Item2Watts,Item2SWatts,"
               "Item2CWatts,Item2Life,Item2Cost\r\n");
    for (int row = 0; row < rows; ++row) {
        // Vary the figures a little so that no two rows are the same.
        file.write(u"row %1,0.15,0.075,10,6,4,4,4,5,%2,0.43,%3,4,0,10000,25,60,3,0,"
                   "15000,40\r\n"_s.arg(row)
                       .arg(row % 7)
                       .arg(100 + row % 50)
                       .toLatin1());
    }
    return path;
}

struct Run {
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

Run runTool(const QString& input, const QString& errors = QString(), const char* format = "record")
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray errorFile = QFile::encodeName(errors);
    if (!errors.isEmpty())
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const QByteArray file = QFile::encodeName(input);
    char program[] = TORVANE_CALC;
    char valgrind[] = "valgrind";
    char tool[] = "--tool=callgrind";
    char output[] = "--callgrind-out-file=/dev/null";
    char option[] = "--format";
    QByteArray chosen(format);
    char* plain[] = {program, option, chosen.data(), const_cast<char*>(file.constData()), nullptr};
    char* counted[] = {
        valgrind, tool, output, program, option, chosen.data(), const_cast<char*>(file.constData()),
        nullptr};
    char** argv = errors.isEmpty() ? plain : counted;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        run.peakKiB = usage.ru_maxrss;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

} // namespace

// Instructions callgrind counted for one run, or -1.
long long instructions(const QString& input, const QString& errors, const char* format)
{
    if (runTool(input, errors, format).status != 0)
        return -1;
    QFile report(errors);
    if (!report.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : report.readAll().split('\n')) {
        const qsizetype at = line.indexOf("Collected : ");
        if (at >= 0)
            return line.mid(at + 12).trimmed().toLongLong();
    }
    return -1;
}

int main()
{
    setenv("LC_ALL", "en_GB.UTF-8", 1);
    QTemporaryDir dir;
    for (const char* format : {"record", "csv"}) {
        const long long counted =
            instructions(writeRows(dir, 2000), dir.filePath(u"rows.log"_s), format);
        const long long header =
            instructions(writeRows(dir, 0), dir.filePath(u"header.log"_s), format);
        if (counted < 0 || header < 0)
            std::printf("instructions per row: no count (is valgrind installed?)\n");
        else
            std::printf("instructions per row, %s (callgrind, 2000 rows less the header "
                        "alone): %lld\n",
                        format, (counted - header) / 2000);
    }
    std::printf("%10s %10s %10s %14s %12s\n", "format", "rows", "seconds", "rows/second",
                "peak KiB");
    for (const char* format : {"record", "csv", "timeline"}) {
        for (int rows : {2000, 20000, 200000}) {
            const Run run = runTool(writeRows(dir, rows), QString(), format);
            if (run.status != 0) {
                std::fprintf(stderr, "torvane-calc failed with status %d\n", run.status);
                return 1;
            }
            std::printf("%10s %10d %10.3f %14.0f %12ld\n", format, rows, run.seconds,
                        rows / run.seconds, run.peakKiB);
        }
    }
    return 0;
}
