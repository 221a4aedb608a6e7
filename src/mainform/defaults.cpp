#include "defaults.h"

#include "clearing.h"
#include "config/config_reader.h"
#include "config/config_writer.h"
#include "core/ansi_file.h"
#include "engine/rules.h"
#include "input_checks.h"
#include "presentation.h"
#include "steps.h"

#include <cmath>

#include <functional>

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
    renewCurrencySymbol(context, SymbolOnMoney::TakenOff);
    emptyZeroInputs(context);
    renewCurrencySymbol(context, SymbolOnMoney::PutOn);

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

const QString ConfigFile = QStringLiteral("Data\\Torvane.ini");

void readFile(FormContext& context, const QString& path, Settings& settings,
              QString& configTranscript)
{
    if (!AnsiFile::exists(path))
        fileError(context, "The configuration file is missing or corrupted.");
    QStringList lines;
    switch (AnsiFile::readLines(path, lines)) {
    case AnsiFile::Read::Done:
        readAndApply(context, lines, settings, configTranscript);
        break;
    case AnsiFile::Read::TooLarge:
        fileError(context, "The configuration file is corrupted.");
    case AnsiFile::Read::Failed:
        throw RuntimeError(53, u"File not found"_s);
    }
}

// A field's text read by the regional rules; a text that is no number is a run-time error.
double value(const FormContext& context, const TextBox& field)
{
    return Reading::of(field.text(), context.regional).strict();
}

// What the file keeps, from the fields in the form that saving puts them in.
Settings savedSettings(const FormContext& context)
{
    const MainForm& f = context.form;
    Settings s;
    s.AnInf = value(context, f.AnInfT) + 31;
    s.CheapRate = value(context, f.CheapR) + 101;
    s.CRate = value(context, f.CO2);
    s.LogLevel = static_cast<float>(f.AutoSave.value() + 1);
    s.Monthly = static_cast<float>(f.MonthlyT.value() + 1);
    s.NormalRate = value(context, f.NormalR);
    s.PayPeriod = value(context, f.PayPeriod);
    s.RunOnTopSetting = static_cast<qint16>(f.OnTop.value() + 1);
    s.UpEnableSetting = static_cast<float>(f.UpEnable1.value() + 1);
    s.VRate = value(context, f.VAT) + 1;
    s.VUnits = static_cast<float>(f.Units1.value() + 1);
    return s;
}

// Writes the file; false, after telling the user, when it could not be written.
bool writeConfiguration(FormContext& context, ProgramFolder& folder, const QString& text)
{
    folder.checkFolder(u"data"_s);
    if (!folder.replaceFile(ConfigFile, text)) {
        context.desktop.messageBox(u"Unable to write to the configuration file."_s + CrLf +
                                       u"This may be a permissions problem."_s,
                                   u"Torvane Configuration File Error"_s, MessageIcon::Exclamation,
                                   MessageButtons::Ok);
        return false;
    }
    if (!AnsiFile::exists(folder.path(ConfigFile)))
        fileError(context, "The configuration file is missing or corrupted.");
    context.form.Save_Defaults.setEnabled(false);
    return true;
}

} // namespace

void saveDefaults(FormContext& context, ProgramFolder& folder)
{
    withErrorTrap(context, "Save Config Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::SaveDefaultsChecks;
        f.MsgText.clear();
        renewCurrencySymbol(context, SymbolOnMoney::TakenOff);
        TariffInputs tariff = readTariff(f, context.regional);
        checkTariff(context, tariff);
        f.StepNumber = Step::SaveDefaultsChecks; // the checks mark stages of their own
        if (context.testMode.dropsTariffMessages())
            tariffRules(tariff, f.MsgText);
        // The file keeps the prices in hundredths, every figure in the general format.
        const auto keep = [&](TextBox& field, double scale) {
            field.setText(context.gen(checkedFigure(context.num(field) * scale)));
        };
        keep(f.CheapR, 100);
        keep(f.NormalR, 100);
        keep(f.PayPeriod, 1);
        keep(f.VAT, 1);
        keep(f.AnInfT, 1);
        bool written = false;
        if (!f.MsgText.isEmpty()) {
            showDataErrors(context);
        } else {
            f.StepNumber = Step::SaveDefaultsWrite;
            written = writeConfiguration(
                context, folder,
                configurationText(savedSettings(context), context.regional, context.clock.now()));
        }
        // Back to the form the window shows.
        f.StepNumber = Step::SaveDefaultsShow;
        f.UpdatingFields = true;
        f.CheapR.setText(context.fixed(value(context, f.CheapR) / 100, Decimals::Rate));
        f.NormalR.setText(context.fixed(value(context, f.NormalR) / 100, Decimals::Rate));
        for (const auto& [field, decimals] : {std::pair{&f.PayPeriod, Decimals::PayPeriod},
                                              {&f.VAT, Decimals::Vat},
                                              {&f.AnInfT, Decimals::Inflation}})
            field->setText(context.fixed(value(context, *field), decimals));
        emptyZeroInputs(context);
        renewCurrencySymbol(context, SymbolOnMoney::PutOn);
        f.UpdatingFields = false;
        if (f.MsgText.isEmpty() && written)
            context.services.showStatusMessage(u"Electrcity Data Saved"_s);
        f.requestFocus(f.NormalHr);
    });
}

void restoreDefaults(FormContext& context, ProgramFolder& folder, Settings& settings,
                     QString& configTranscript)
{
    MainForm& f = context.form;
    f.RecordText.clear(); // the next calculation never counts as unchanged
    clearResults(context);
    loadDefaults(context, folder, settings, configTranscript);
    renewCurrencySymbol(context, SymbolOnMoney::Left);
    f.Save.setEnabled(false);
    context.services.showStatusMessage(u"Electricity Data Restored"_s);
    f.Save_Defaults.setEnabled(false);
    f.requestFocus(f.NormalHr);
}

void loadDefaults(FormContext& context, ProgramFolder& folder, Settings& settings,
                  QString& configTranscript)
{
    withErrorTrap(context, "Config Read Error", [&] {
        context.form.StepNumber = Step::ReadDefaults;
        configTranscript = configTranscriptHead();
        folder.checkFolder(u"data"_s);
    });
    loadDefaultsFromFile(context, folder.path(ConfigFile), settings, configTranscript);
}

namespace {

// Reads the defaults with the reader given, under the configuration reader's error trap.
void loadDefaultsWith(FormContext& context, QString& configTranscript,
                      const std::function<void()>& read)
{
    withErrorTrap(context, "Config Read Error", [&] {
        context.form.StepNumber = Step::ReadDefaults;
        configTranscript = configTranscriptHead();
        read();
    });
}

} // namespace

void loadDefaultsFromFile(FormContext& context, const QString& path, Settings& settings,
                          QString& configTranscript)
{
    loadDefaultsWith(context, configTranscript,
                     [&] { readFile(context, path, settings, configTranscript); });
}

void loadDefaultsFromLines(FormContext& context, const QStringList& lines, Settings& settings,
                           QString& configTranscript)
{
    loadDefaultsWith(context, configTranscript,
                     [&] { readAndApply(context, lines, settings, configTranscript); });
}

} // namespace torvane
