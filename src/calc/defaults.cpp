#include "defaults.h"

#include "cleanup.h"
#include "config/config_reader.h"
#include "core/ansi_file.h"
#include "presentation.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

[[noreturn]] void fileError(FormContext& context, const char* problem)
{
    context.desktop.messageBox(
        QString::fromLatin1(problem) + CrLf + u"Reinstall the program to restore the file."_s +
            CrLf + u"The program will now terminate."_s,
        u"Torvane Configuration File Error"_s, MessageIcon::Stop, MessageButtons::Ok);
    context.desktop.endProgram();
}

// Halves go to the even neighbour, as the check boxes round.
int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// The settings into the tariff fields and the option check boxes.
void applySettings(FormContext& context, const Settings& s)
{
    MainForm& f = context.form;
    f.CheapR.setText(context.fixed(s.CheapRate / 100, 6));
    f.NormalR.setText(context.fixed(s.NormalRate / 100, 6));
    f.PayPeriod.setText(context.fixed(s.PayPeriod, 1));
    f.VAT.setText(context.fixed(s.VRate - 1, 1));
    f.CO2.setText(context.fixed(s.CRate, 2));
    f.AnInfT.setText(context.fixed(s.AnInf - 31, 1));
    CurrencyManagement(context, false, true);
    Cleanup(context);
    CurrencyManagement(context, true, false);

    f.AutoSave.setValue(roundHalfEven(s.LogLevel - 1.0));
    f.MonthlyT.setValue(roundHalfEven(s.Monthly - 1.0));
    f.OnTop.setValue(s.RunOnTopSetting - 1);
    f.Units1.setValue(roundHalfEven(s.VUnits - 1.0));
    f.UpEnable1.setValue(roundHalfEven(s.UpEnableSetting - 1.0));
}

void readAndApply(FormContext& context, const QStringList& lines, Settings& settings,
                  QString& configTranscript)
{
    if (!readConfiguration(lines, context.regional, settings, configTranscript,
                           context.form.StepNumber))
        fileError(context, "The configuration file is corrupted.");
    applySettings(context, settings);
}

} // namespace

void ReadConfiguration(FormContext& context, ProgramFolder& folder, Settings& settings,
                       QString& configTranscript)
{
    withErrorTrap(context, "Config Read Error", [&] {
        context.form.StepNumber = 191;
        configTranscript = configTranscriptHead();
        folder.CheckFolder(u"data"_s);
        const QString path = folder.path(u"Data\\Torvane.ini"_s);
        if (!AnsiFile::exists(path))
            fileError(context, "The configuration file is missing or corrupted.");
        const std::optional<QStringList> lines = AnsiFile::readLines(path);
        if (!lines)
            throw RuntimeError(53, u"File not found"_s);
        readAndApply(context, *lines, settings, configTranscript);
    });
}

void ReadConfigurationLines(FormContext& context, const QStringList& lines, Settings& settings,
                            QString& configTranscript)
{
    withErrorTrap(context, "Config Read Error", [&] {
        context.form.StepNumber = 191;
        configTranscript = configTranscriptHead();
        readAndApply(context, lines, settings, configTranscript);
    });
}

} // namespace torvane
