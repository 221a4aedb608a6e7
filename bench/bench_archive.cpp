// The archive's cost on a large results log: the scan for a result and the verified copy,
// each in a process of its own, on logs of 5, 50 and 500 MB that hold no result (so the
// scan reads to the end). Reports seconds and the process's peak memory, which must not
// grow with the log.

#include "resultslog/log_archive.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

// A log of start-up entries and lines that mention "Normal" without starting with it.
QString writeLog(const QTemporaryDir& dir, qint64 megabytes)
{
    const QString path = dir.filePath(u"Torvane%1.log"_s.arg(megabytes));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    const QByteArray entry = "Torvane Started\r\nVersion 6.4\r\n04/12/2026 20:31:07\r\n\r\n"
                             "  Rate : Normal \x80 \xff 1.234\r\n";
    QByteArray block;
    while (block.size() < 1 << 20)
        block += entry;
    for (qint64 written = 0; written < megabytes << 20; written += block.size()) {
        if (file.write(block) != block.size())
            return QString();
    }
    return path;
}

struct Run {
    double seconds = -1;
    long peakKiB = 0;
};

// Runs this program on one job in a child process.
Run child(const char* job, const QString& log)
{
    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    const QByteArray path = QFile::encodeName(log);
    char* argv[] = {const_cast<char*>(self.constData()), const_cast<char*>(job),
                    const_cast<char*>(path.constData()), nullptr};
    pid_t pid = 0;
    Run run;
    QElapsedTimer timer;
    timer.start();
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    run.peakKiB = usage.ru_maxrss;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3) {
        const QString log = QFile::decodeName(argv[2]);
        if (qstrcmp(argv[1], "scan") == 0) {
            const torvane::LogScan scan = torvane::scanLog(log);
            return scan.readable && !scan.hasData ? 0 : 1;
        }
        const bool copied = torvane::copyVerified(log, log + u".copy"_s) == QFile(log).size();
        QFile::remove(log + u".copy"_s);
        return copied ? 0 : 1;
    }
    QTemporaryDir dir;
    std::printf("%8s %12s %12s %14s %12s\n", "log MB", "scan s", "scan MB/s", "copy+verify s",
                "peak KiB");
    for (const qint64 megabytes : {5, 50, 500}) {
        const QString log = writeLog(dir, megabytes);
        const Run scan = child("scan", log);
        const Run copy = child("copy", log);
        if (log.isEmpty() || scan.seconds < 0 || copy.seconds < 0) {
            std::fprintf(stderr, "the %lld MB log could not be written, scanned or copied\n",
                         static_cast<long long>(megabytes));
            return 1;
        }
        std::printf("%8lld %12.3f %12.0f %14.3f %7ld/%ld\n", static_cast<long long>(megabytes),
                    scan.seconds, static_cast<double>(megabytes) / scan.seconds, copy.seconds,
                    scan.peakKiB, copy.peakKiB);
        QFile::remove(log);
    }
    return 0;
}
