#include "config_reader.h"

#include "calc/cleanup.h"
#include "calc/presentation.h"
#include "core/ansi_file.h"
#include "core/numbers.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// Spaces only: a tab is part of the line.
QString trimSpaces(const QString& line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && line[end - 1] == QLatin1Char(' '))
        --end;
    return line.mid(begin, end - begin);
}

[[noreturn]] void fileError(FormContext& context, const char* problem)
{
    context.desktop.messageBox(
        QString::fromLatin1(problem) + CrLf + u"Reinstall the program to restore the file."_s +
            CrLf + u"The program will now terminate."_s,
        u"Torvane Configuration File Error"_s, MessageIcon::Stop, MessageButtons::Ok);
    context.desktop.endProgram();
}

// A value kept in single precision; one beyond its range is a run-time error.
float single(double value)
{
    if (std::fabs(value) > std::numeric_limits<float>::max())
        throw RuntimeError::overflow();
    return static_cast<float>(value);
}

// The 16-bit counters of keys and sections; going below their range is a run-time error.
void countDown(qint16& counter)
{
    if (counter == std::numeric_limits<qint16>::min())
        throw RuntimeError::overflow();
    --counter;
}

// Halves go to the even neighbour, as the check boxes and the on-top setting round.
int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Steps from the file's lines on: reading the keys, the checks, filling the window.
void applyLines(FormContext& context, const QStringList& lines, Settings& settings,
                QString& configTranscript)
{
    MainForm& f = context.form;
    {
        f.StepNumber = 192;

        const auto general = [&](double value) {
            return context.gen(value);
        };
        qint16 keys = 22;
        qint16 sections = 1;
        for (const QString& raw : lines) {
            if (raw.isEmpty() || raw.front() == QLatin1Char('#'))
                continue;
            const QString line = trimSpaces(raw);
            const auto value = [&](qsizetype prefix) {
                return LeadingValue(QStringView(line).sliced(prefix), context.regional);
            };
            const auto key = [&](const char* prefix) {
                return line.startsWith(QLatin1String(prefix));
            };
            bool matched = true;
            if (key("AnInf="))
                settings.AnInf = general(value(6));
            else if (key("CheapRate="))
                settings.CheapRate = general(value(10));
            else if (key("CRate="))
                settings.CRate = general(value(6));
            else if (key("LogLevel="))
                settings.LogLevel = single(value(9));
            else if (key("Monthly="))
                settings.Monthly = single(value(8));
            else if (key("NormalRate="))
                settings.NormalRate = general(value(11));
            else if (key("PayPeriod="))
                settings.PayPeriod = general(value(10));
            else if (key("RunOnTop=")) {
                const double onTop = std::nearbyint(value(9));
                if (onTop < -32768 || onTop > 32767)
                    throw RuntimeError::overflow();
                settings.RunOnTopSetting = static_cast<qint16>(onTop);
            } else if (key("UpEnable="))
                settings.UpEnableSetting = single(value(9));
            else if (key("VRate="))
                settings.VRate = general(value(6));
            else if (key("VUnits="))
                settings.VUnits = single(value(7));
            else
                matched = false;
            if (matched)
                countDown(keys);
            if (line == QLatin1String("[Run]"))
                countDown(sections);
            configTranscript += CrLf + line;
        }
        configTranscript += CrLf + CrLf;
        f.StepNumber = 193;

        const auto number = [&](const QString& text) {
            return context.strict(text);
        };
        const auto within = [](double v, double low, double high) {
            return v >= low && v <= high;
        };
        const auto oneOrTwo = [](double v) {
            return v == 1 || v == 2;
        };
        const double cheapRate = number(settings.CheapRate);
        for (bool holds :
             {within(number(settings.CRate), 0.1, 2.0),
              within(cheapRate, 1, 99) || within(cheapRate, 101, 200),
              within(number(settings.AnInf), 1, 230), within(settings.LogLevel, 1, 3),
              within(number(settings.NormalRate), 1, 99), oneOrTwo(settings.Monthly),
              within(number(settings.PayPeriod), 1, 10), oneOrTwo(settings.RunOnTopSetting),
              oneOrTwo(settings.VUnits), oneOrTwo(settings.UpEnableSetting),
              within(number(settings.VRate), 1, 51)}) {
            if (holds)
                countDown(keys);
        }
        f.StepNumber = 194;
        if (keys != 0 || sections != 0)
            fileError(context, "The configuration file is corrupted.");
        if (settings.LogLevel == 3)
            settings.LogLevel = 2;
        if (number(settings.CheapRate) < 100)
            settings.CheapRate = general(number(settings.CheapRate) + 101);
        settings.CheapRate = general(number(settings.CheapRate) - 101);

        f.CheapR.setText(context.fixed(number(settings.CheapRate) / 100, 6));
        f.NormalR.setText(context.fixed(number(settings.NormalRate) / 100, 6));
        f.PayPeriod.setText(context.fixed(number(settings.PayPeriod), 1));
        f.VAT.setText(context.fixed(number(settings.VRate) - 1, 1));
        f.CO2.setText(context.fixed(number(settings.CRate), 2));
        f.AnInfT.setText(context.fixed(number(settings.AnInf) - 31, 1));
        CurrencyManagement(context, false, true);
        Cleanup(context);
        CurrencyManagement(context, true, false);

        f.AutoSave.setValue(roundHalfEven(settings.LogLevel - 1.0));
        f.MonthlyT.setValue(roundHalfEven(settings.Monthly - 1.0));
        f.OnTop.setValue(settings.RunOnTopSetting - 1);
        f.Units1.setValue(roundHalfEven(settings.VUnits - 1.0));
        f.UpEnable1.setValue(roundHalfEven(settings.UpEnableSetting - 1.0));
    }
}

QString transcriptHead()
{
    return u"Torvane Configuration"_s + CrLf + QString(21, QLatin1Char('-'));
}

} // namespace

void ReadConfiguration(FormContext& context, ProgramFolder& folder, Settings& settings,
                       QString& configTranscript)
{
    withErrorTrap(context, "Config Read Error", [&] {
        context.form.StepNumber = 191;
        configTranscript = transcriptHead();
        folder.CheckFolder(u"data"_s);
        const QString path = folder.path(u"Data\\Torvane.ini"_s);
        if (!AnsiFile::exists(path))
            fileError(context, "The configuration file is missing or corrupted.");
        const std::optional<QStringList> lines = AnsiFile::readLines(path);
        if (!lines)
            throw RuntimeError(53, u"File not found"_s);
        applyLines(context, *lines, settings, configTranscript);
    });
}

void ReadConfigurationLines(FormContext& context, const QStringList& lines, Settings& settings,
                            QString& configTranscript)
{
    withErrorTrap(context, "Config Read Error", [&] {
        context.form.StepNumber = 191;
        configTranscript = transcriptHead();
        applyLines(context, lines, settings, configTranscript);
    });
}

} // namespace torvane
