// torvane-calc's command line read straight, without a process: what each way of writing
// the options asks for, and the exact refusal of each mistake.

#include "cli/batch_options.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace torvane;

class TestBatchOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestBatchOptions::parse_data()
{
    using Format = BatchOptions::Format;
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("refusal");
    const auto run = [](const char* name, const char* arguments, Format format, const char* file,
                        const char* settings = "") {
        QTest::newRow(name) << QString::fromUtf8(arguments) << static_cast<int>(format)
                            << QString::fromUtf8(file) << QString::fromUtf8(settings) << QString();
    };
    const auto refused = [](const char* name, const char* arguments, const QString& refusal) {
        QTest::newRow(name) << QString::fromUtf8(arguments) << -1 << QString() << QString()
                            << refusal;
    };
    run("nothing: records from standard input", "", Format::Record, "");
    run("a dash is standard input", "-", Format::Record, "");
    run("value after =", "--format=timeline in.csv", Format::Timeline, "in.csv");
    run("both options apart", "--format csv --settings a.ini in.csv", Format::Csv, "in.csv",
        "a.ini");
    run("a file named like an option", "-- -in.csv", Format::Record, "-in.csv");
    const QString needsFormat = u"--format needs a value: record, csv or timeline"_s;
    refused("format at the end", "in.csv --format", needsFormat);
    refused("format empty", "--format= in.csv", needsFormat);
    refused("settings empty", "--settings=", u"--settings needs a configuration file"_s);
    refused("format in capitals", "--format CSV",
            u"unknown format \"CSV\": use record, csv or timeline"_s);
    refused("unknown option with a value", "--fast=1 in.csv", u"unknown option --fast"_s);
    refused("unknown letter among known ones", "-hx", u"unknown option -hx"_s);
    refused("two files", "a.csv b.csv", u"only one input file can be given"_s);
    refused("a value for a switch", "--help=1", u"Unexpected value after '--help'."_s);
}

void TestBatchOptions::parse()
{
    QFETCH(QString, arguments);
    QFETCH(int, format);
    QFETCH(QString, file);
    QFETCH(QString, settings);
    QFETCH(QString, refusal);
    const ParsedArguments parsed =
        parseArguments(QStringList{u"torvane-calc"_s} + arguments.split(u' ', Qt::SkipEmptyParts));
    QCOMPARE(parsed.refusal, refusal);
    QCOMPARE(parsed.outcome,
             refusal.isEmpty() ? ParsedArguments::Outcome::Run : ParsedArguments::Outcome::Refused);
    if (refusal.isEmpty()) {
        QCOMPARE(static_cast<int>(parsed.options.format), format);
        QCOMPARE(parsed.options.file, file);
        QCOMPARE(parsed.options.settings, settings);
    }
}

QTEST_GUILESS_MAIN(TestBatchOptions)
#include "tst_batch_options.moc"
