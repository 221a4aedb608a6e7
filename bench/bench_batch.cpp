// The batch tool's throughput and memory: runs torvane-calc on generated files of
// 2,000, 20,000 and 200,000 comparisons and reports rows per second and peak memory.

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

Run runTool(const QString& input)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray file = QFile::encodeName(input);
    char program[] = TORVANE_CALC;
    char* argv[] = {program, const_cast<char*>(file.constData()), nullptr};
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) == 0) {
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

int main()
{
    setenv("LC_ALL", "en_GB.UTF-8", 1);
    QTemporaryDir dir;
    std::printf("%10s %10s %14s %12s\n", "rows", "seconds", "rows/second", "peak KiB");
    for (int rows : {2000, 20000, 200000}) {
        const Run run = runTool(writeRows(dir, rows));
        if (run.status != 0) {
            std::fprintf(stderr, "torvane-calc failed with status %d\n", run.status);
            return 1;
        }
        std::printf("%10d %10.3f %14.0f %12ld\n", rows, run.seconds, rows / run.seconds,
                    run.peakKiB);
    }
    return 0;
}
