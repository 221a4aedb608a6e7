#include "batch.h"

#include "core/ansi_file.h"
#include "engine/rules.h"
#include "engine/timeline.h"
#include "mainform/defaults.h"
#include "mainform/form_actions.h"
#include "mainform/messages.h"
#include "mainform/steps.h"
#include "resultslog/result_record.h"

#include <QFile>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// The window's inputs, in the order of inputColumns().
enum Input {
    NormalR,
    CheapR,
    NormalHr,
    CheapHr,
    NormalSHr,
    CheapSHr,
    PayPeriod,
    VAT,
    AnInfT,
    CO2,
    Item1Watts,
    Item1SWatts,
    Item1CWatts,
    Item1Life,
    Item1Cost,
    Item2Watts,
    Item2SWatts,
    Item2CWatts,
    Item2Life,
    Item2Cost,
    Notes,
    MonthlyT,
    Units1,
    InputCount
};

// Whether text starts with prefix, compared as they stand: the currency symbol, a
// character or two, asked of most money texts of every row.
bool startsWithText(QStringView text, QStringView prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin());
}

// A check box's text ticks it when it is "1": compared in place, as every row asks.
bool ticks(QStringView text)
{
    return text.size() == 1 && text.front() == u'1';
}

// The texts of a row's result columns, written one after another into one buffer, each
// ended at an offset; the views come last, once the buffer no longer moves.
class ResultTexts {
public:
    explicit ResultTexts(NumberText& buffer)
        : m_buffer(buffer)
    {
        m_buffer.clear();
    }
    // Where each column's text is written, after the columns before it.
    NumberText& buffer() { return m_buffer; }
    // Ends the column whose text was written last; nothing written leaves it empty.
    void end() { m_ends[m_count++] = m_buffer.view().size(); }
    void views(QList<QStringView>& out) const
    {
        out.resize(static_cast<qsizetype>(m_count));
        QStringView* view = out.data();
        const QStringView all = m_buffer.view();
        qsizetype start = 0;
        for (std::size_t i = 0; i < m_count; ++i) {
            view[i] = all.sliced(start, m_ends[i] - start);
            start = m_ends[i];
        }
    }

private:
    NumberText& m_buffer;
    std::array<qsizetype, 28> m_ends{};
    std::size_t m_count = 0;
};

// Loading a window needs a desktop and services; nothing of theirs is kept but what
// the configuration reader said.
class Recorder final : public Desktop, public FormServices {
public:
    MessageAnswer messageBox(const QString& text, const QString&, MessageIcon,
                             MessageButtons) override
    {
        boxText = text;
        return MessageAnswer::Ok;
    }
    void openUrl(const QString&, std::function<void()> whenFailed) override { whenFailed(); }
    QString saveFileName(const QString&, const QString&, const QString&) override
    {
        return QString();
    }
    void quit() override { throw BatchComparison::FatalCalculation{QString(), 0}; }
    void appendPendingLogText() override {}
    void showStatusMessage(const QString&) override {}
    [[noreturn]] void reportFatalError(const QString& title, qint16 step) override
    {
        throw BatchComparison::FatalCalculation{title, step};
    }

    QString boxText;
};

class NoClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(); }
};

} // namespace

// What a freshly loaded window holds: the texts of its inputs and its check boxes.
struct BatchComparison::Loaded {
    QString texts[InputCount];
    QStringView views[InputCount]; // of the texts, copied whole into every row
    QString currencySymbol;

    // The window's load, reading its defaults with the given loader (or none).
    Loaded(const Regional& regional, Recorder& recorder, const DefaultsLoader& loadDefaults)
    {
        NoClock clock;
        MainForm form;
        FormContext context{form, regional, recorder, recorder, clock, TestMode()};
        connectComparisonHandlers(context);
        Settings settings;
        QString transcript;
        prepareFreshForm(context, [&] {
            if (loadDefaults)
                loadDefaults(context, settings, transcript);
        });
        for (int input = 0; input < InputCount; ++input) {
            const Control* control = form.control(inputColumns()[input]);
            texts[input] = control->kind() == Control::Kind::CheckBox
                               ? QString::number(static_cast<const CheckBox*>(control)->value())
                               : control->text();
            views[input] = texts[input];
        }
        currencySymbol = form.CurrencySymbol;
    }
    // The views point into the texts: kept where it was made.
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
};

// One row worked out as the window's Calculate works it out, and the texts it shows.
class BatchComparison::Row {
public:
    Row(const Regional& regional, const Loaded& loaded)
        : r(regional)
        , symbol(loaded.currencySymbol)
    {}

    QStringView typed[InputCount]; // the texts the row leaves in the fields

    // The checks, the figures and the texts; false when the checks refused the row.
    bool calculate(QString& messages);
    bool nothingToCalculate() const { return blank1 && blank2; }
    // The values of resultColumns(), written into buffer.
    void results(NumberText& buffer, QList<QStringView>& out);
    // The cost columns of both items and of the saving.
    void costTexts(ResultTexts& texts) const;
    // The record, in place of what out held.
    void record(TextBuffer& out);
    // Month by month, what each item has cost and used so far.
    Timeline timeline() const;
    std::optional<int> breakEvenMonth() const;
    // Both items as the cost over time sees them.
    std::pair<TimelineItem, TimelineItem> timelineItems() const;

private:
    // The texts an item's fields show once calculated.
    struct ItemTexts {
        NumberText watts, life, count, cost, share, co2, periodCost;
    };

    // What emptying the zero inputs leaves of a field given in a fixed format: nothing for a zero.
    QStringView given(NumberText& out, double value, int decimals) const
    {
        return value == 0 ? QStringView() : r.writeFixed(out, value, decimals);
    }
    // The currency symbol put on a money text as the window puts it on: on a rate
    // always, on other money unless it is there already. write appends the text to out.
    // For a text that mostly starts with the symbol already, a currency amount.
    template <typename Write> QStringView money(NumberText& out, Write write) const
    {
        const qsizetype start = out.view().size();
        write(out);
        const QStringView written = out.view().sliced(start);
        if (!written.isEmpty() && !symbol.isEmpty() && !startsWithText(written, symbol))
            out.insert(start, symbol);
        return out.view();
    }
    // The same for a text that seldom starts with the symbol, a number in the fixed format,
    // and for a rate: the symbol is written first and taken off again where it does not go,
    // which saves moving the text to put it in.
    template <typename Write>
    QStringView moneySymbolFirst(NumberText& out, Write write, bool always = false) const
    {
        const qsizetype start = out.view().size();
        out.append(symbol);
        write(out);
        const QStringView written = out.view().sliced(start + symbol.size());
        if (written.isEmpty() || (!always && startsWithText(written, symbol)))
            out.remove(start, symbol.size());
        return out.view();
    }
    QStringView count(NumberText& out, const ItemInputs& item, const ItemFigures& figures,
                      bool blank) const;
    QStringView share(NumberText& out, const ItemFigures& figures, bool blank) const;
    RecordItem recordItem(ItemTexts& texts, const ItemInputs& item,
                          const ItemFigures& figures) const;

    const Regional& r;
    const QString& symbol;
    ComparisonInputs in;
    bool blank1 = false;
    bool blank2 = false;
    PeriodHours hours;
    Inflation inflated;
    ItemFigures item1;
    ItemFigures item2;
    Differences saving;
    bool monthly = false;
};

bool BatchComparison::Row::calculate(QString& messages)
{
    const auto read = [&](Input input) {
        QStringView field = typed[input];
        // The symbol comes off the money fields before anything reads them.
        const bool isMoney =
            input == NormalR || input == CheapR || input == Item1Cost || input == Item2Cost;
        if (isMoney && !symbol.isEmpty() && startsWithText(field, symbol))
            field = field.sliced(symbol.size());
        return Reading::of(field, r);
    };
    in = {{read(NormalR), read(CheapR), read(PayPeriod), read(VAT), read(CO2), read(AnInfT)},
          {read(NormalHr), read(CheapHr), read(NormalSHr), read(CheapSHr)},
          {read(Item1Watts), read(Item1SWatts), read(Item1CWatts), read(Item1Life), read(Item1Cost),
           Reading()},
          {read(Item2Watts), read(Item2SWatts), read(Item2CWatts), read(Item2Life), read(Item2Cost),
           Reading()}};
    monthly = ticks(typed[MonthlyT]);

    tariffRules(in.tariff, messages);
    if (messages.isEmpty())
        normaliseTariff(in.tariff);
    blank1 = isBlank(in.item1);
    blank2 = isBlank(in.item2);
    hourRules(in.hours, messages);
    if (!blank1)
        itemRules(1, in.item1, messages);
    if (!blank2)
        itemRules(2, in.item2, messages);
    if (!messages.isEmpty())
        return false;
    normaliseHoursAndItems(in);
    const DayHours day = DayHours::of(in.hours);
    hours = periodHours(in.tariff, day);
    combinationRules(in, blank1, blank2, messages);
    if (!messages.isEmpty())
        return false;

    qint16 step = Step::CalculationInflation;
    try {
        inflated = inflation(in.tariff);
        step = Step::CalculationItem1;
        if (!blank1)
            workOutItem({in.tariff, in.item1, day, hours.on, inflated, false, monthly}, item1);
        step = Step::CalculationItem2;
        if (!blank2)
            workOutItem({in.tariff, in.item2, day, hours.on, inflated, true, monthly}, item2);
        step = Step::CalculationDifferences;
        if (!blank1 && !blank2)
            saving = differences(item1, item2);
    } catch (const RuntimeError&) {
        throw FatalCalculation{u"Calculation Error"_s, step};
    }
    return true;
}

QStringView BatchComparison::Row::count(NumberText& out, const ItemInputs& item,
                                        const ItemFigures& figures, bool blank) const
{
    // The number is left out with the item, without a life, or when it comes to none.
    if (blank || item.Life.value == 0 || !figures.count || *figures.count == 0)
        return QStringView();
    return r.writeGeneral(out, *figures.count);
}

QStringView BatchComparison::Row::share(NumberText& out, const ItemFigures& figures,
                                        bool blank) const
{
    if (blank || !figures.standbyShare)
        return QStringView();
    // A share that shows as 0.0% is not shown: one that rounds to zero is written without
    // a sign.
    const qsizetype start = out.view().size();
    const QStringView written = r.writeFixed(out, *figures.standbyShare, 1).sliced(start);
    if (written.size() == 3 && written[0] == u'0' && written[2] == u'0') {
        out.remove(start, written.size());
        return QStringView();
    }
    out.append(u"%", 1);
    return out.view();
}

std::pair<TimelineItem, TimelineItem> BatchComparison::Row::timelineItems() const
{
    const double hoursDay = in.hours.NormalHr.value + in.hours.CheapHr.value;
    return {timelineItem(in.item1, item1, hoursDay), timelineItem(in.item2, item2, hoursDay)};
}

Timeline BatchComparison::Row::timeline() const
{
    const auto [one, two] = timelineItems();
    return costTimeline(one, two, in.tariff.PayPeriod.value, in.tariff.AnInfT.value / 100);
}

std::optional<int> BatchComparison::Row::breakEvenMonth() const
{
    const auto [one, two] = timelineItems();
    return torvane::breakEvenMonth(one, two, in.tariff.PayPeriod.value,
                                   in.tariff.AnInfT.value / 100);
}

void BatchComparison::Row::costTexts(ResultTexts& texts) const
{
    NumberText& text = texts.buffer();
    for (const auto& [f, blank] : {std::pair{&item1, blank1}, {&item2, blank2}}) {
        for (const auto& figure :
             {std::pair{f->cost.day, 5}, {f->cost.part, 2}, {f->cost.period, 2}}) {
            if (!blank)
                money(text,
                      [&](NumberText& t) { r.writeCurrency(t, figure.first, figure.second); });
            texts.end();
        }
    }
    const bool both = !blank1 && !blank2;
    for (const auto& figure :
         {std::pair{saving.cost.day, 5}, {saving.cost.part, 2}, {saving.cost.period, 2}}) {
        if (both)
            moneySymbolFirst(text, [&](NumberText& t) {
                r.writeFixed(t, figure.first, figure.second);
                t.append(r.currencySuffix());
            });
        texts.end();
    }
}

void BatchComparison::Row::results(NumberText& buffer, QList<QStringView>& out)
{
    ResultTexts texts(buffer);
    NumberText& text = texts.buffer();
    const auto unitTexts = [&](const Amounts& amounts, bool shown) {
        for (auto [value, places] :
             {std::pair{amounts.day, 3}, {amounts.part, 2}, {amounts.period, 1}}) {
            if (shown)
                r.writeFixed(text, value, places);
            texts.end();
        }
    };
    for (double value : {hours.on, hours.standby}) {
        if (value != 0)
            r.writeGeneral(text, value);
        texts.end();
    }
    for (const auto& [item, f, blank] :
         {std::tuple{&in.item1, &item1, blank1}, {&in.item2, &item2, blank2}}) {
        count(text, *item, *f, blank);
        texts.end();
    }
    costTexts(texts);
    const bool both = !blank1 && !blank2;
    unitTexts(item1.units, !blank1);
    unitTexts(item2.units, !blank2);
    unitTexts(saving.units, both);
    share(text, item1, blank1);
    texts.end();
    share(text, item2, blank2);
    texts.end();
    for (const auto& [value, shown] :
         {std::pair{item1.co2, !blank1}, {item2.co2, !blank2}, {std::optional(saving.co2), both}}) {
        if (shown && value)
            r.writeFixed(text, *value, 1);
        texts.end();
    }
    if (const std::optional<int> breakEven = both ? breakEvenMonth() : std::nullopt)
        r.writeGeneral(text, *breakEven);
    texts.end();
    texts.views(out);
}

RecordItem BatchComparison::Row::recordItem(ItemTexts& t, const ItemInputs& item,
                                            const ItemFigures& f) const
{
    return {given(t.watts, item.Watts.value, Decimals::Watts),
            item.SWatts.value,
            item.CWatts.value,
            share(t.share, f, false),
            given(t.life, item.Life.value, Decimals::Life),
            count(t.count, item, f, false),
            moneySymbolFirst(
                t.cost, [&](NumberText& text) { given(text, item.Cost.value, Decimals::Cost); }),
            {f.units.day, f.units.part, f.units.period, r.writeFixed(t.co2, f.co2.value_or(0), 1),
             f.cost.day, f.cost.part, money(t.periodCost, [&](NumberText& text) {
                 r.writeCurrency(text, f.cost.period, 2);
             })}};
}

void BatchComparison::Row::record(TextBuffer& out)
{
    const TariffInputs& t = in.tariff;
    NumberText normalRate, cheapRate, payPeriod, savingCo2, savingPeriod;
    ItemTexts texts1, texts2;
    ResultRecord record;
    record.notes = typed[Notes];
    record.monthly = monthly;
    record.pounds = ticks(typed[Units1]);
    record.vat = t.VAT.value;
    record.inflation = t.AnInfT.value;
    record.co2Rate = t.CO2.value;
    record.payPeriodText = r.writeFixed(payPeriod, t.PayPeriod.value, Decimals::PayPeriod);
    record.payPeriod = t.PayPeriod.value;
    record.inflationFactor = inflated.factor;
    // Item 1's hours, as it was worked out with them; a fresh window has none without it.
    const DayHours day = blank1 ? DayHours() : DayHours::of(in.hours);
    const PeriodHours item1Hours = blank1 ? PeriodHours() : hours;
    record.item1Tariff = {
        moneySymbolFirst(
            normalRate,
            [&](NumberText& text) { r.writeFixed(text, t.NormalR.value, Decimals::Rate); }, true),
        moneySymbolFirst(
            cheapRate, [&](NumberText& text) { given(text, t.CheapR.value, Decimals::Rate); },
            true),
        day.normal,
        day.normalStandby,
        day.cheap,
        day.cheapStandby,
        item1Hours.on,
        item1Hours.standby};
    if (!blank1)
        record.item1 = recordItem(texts1, in.item1, item1);
    if (!blank2)
        record.item2 = recordItem(texts2, in.item2, item2);
    if (record.item1 && record.item2)
        record.saving = RecordFigures{saving.units.day,
                                      saving.units.part,
                                      saving.units.period,
                                      r.writeFixed(savingCo2, saving.co2, 1),
                                      saving.cost.day,
                                      saving.cost.part,
                                      r.writeCurrency(savingPeriod, saving.cost.period, 2)};
    qint16 step = 0;
    try {
        out.clear();
        appendResultRecord(record, r, step, out);
    } catch (const RuntimeError&) {
        throw FatalCalculation{u"Log Generation Error"_s, step};
    }
}

BatchComparison::BatchComparison(const Regional& regional)
    : m_regional(regional)
{
    Recorder recorder;
    m_loaded = std::make_unique<Loaded>(regional, recorder, DefaultsLoader());
}

BatchComparison::~BatchComparison() = default;

const QStringList& BatchComparison::inputColumns()
{
    static const QStringList columns = {
        u"NormalR"_s,    u"CheapR"_s,      u"NormalHr"_s,    u"CheapHr"_s,   u"NormalSHr"_s,
        u"CheapSHr"_s,   u"PayPeriod"_s,   u"VAT"_s,         u"AnInfT"_s,    u"CO2"_s,
        u"Item1Watts"_s, u"Item1SWatts"_s, u"Item1CWatts"_s, u"Item1Life"_s, u"Item1Cost"_s,
        u"Item2Watts"_s, u"Item2SWatts"_s, u"Item2CWatts"_s, u"Item2Life"_s, u"Item2Cost"_s,
        u"Notes"_s,      u"MonthlyT"_s,    u"Units1"_s};
    return columns;
}

bool BatchComparison::isCheckBox(QStringView column)
{
    return column == QLatin1String("MonthlyT") || column == QLatin1String("Units1");
}

const QStringList& BatchComparison::resultColumns()
{
    static const QStringList columns = {
        u"HoursUsed"_s,      u"HoursSUsed"_s,      u"Item1No"_s,          u"Item2No"_s,
        u"Item1DayCost"_s,   u"Item1QtrCost"_s,    u"Item1PeriodCost"_s,  u"Item2DayCost"_s,
        u"Item2QtrCost"_s,   u"Item2PeriodCost"_s, u"DayCostSave"_s,      u"QtrCostSave"_s,
        u"PeriodCostSave"_s, u"Item1DayUnits"_s,   u"Item1QtrUnits"_s,    u"Item1PeriodUnits"_s,
        u"Item2DayUnits"_s,  u"Item2QtrUnits"_s,   u"Item2PeriodUnits"_s, u"DayUnitsSave"_s,
        u"QtrUnitsSave"_s,   u"PeriodUnitsSave"_s, u"Item1SB"_s,          u"Item2SB"_s,
        u"Item1CO2"_s,       u"Item2CO2"_s,        u"CO2Save"_s,          u"BreakEvenMonth"_s};
    return columns;
}

QString BatchComparison::setConfiguration(const QString& path)
{
    return loadWindow([&path](FormContext& context, Settings& settings, QString& transcript) {
        loadDefaultsFromFile(context, path, settings, transcript);
    });
}

QString BatchComparison::setShippedDefaults()
{
    QFile shipped(u":/Data/Torvane.ini"_s);
    if (!shipped.open(QIODevice::ReadOnly))
        return u"the shipped defaults are missing from the program"_s;
    const QStringList lines = AnsiFile::splitLines(shipped.readAll());
    return loadWindow([&lines](FormContext& context, Settings& settings, QString& transcript) {
        loadDefaultsFromLines(context, lines, settings, transcript);
    });
}

QString BatchComparison::loadWindow(const DefaultsLoader& load)
{
    Recorder recorder;
    try {
        m_loaded = std::make_unique<Loaded>(m_regional, recorder, load);
    } catch (const FatalCalculation& fatal) {
        // The reader's own message, or the run-time error it met.
        QString message = recorder.boxText;
        if (message.isEmpty())
            message =
                u"A Fatal %1 Has Occurred (Error Number %2)"_s.arg(fatal.title).arg(fatal.step);
        return message.replace(u"\r\n"_s, u" "_s);
    }
    return QString();
}

void BatchComparison::setColumns(const QStringList& columns)
{
    m_columns.clear();
    for (const QString& column : columns)
        m_columns.push_back(static_cast<int>(inputColumns().indexOf(column)));
}

BatchComparison::Result BatchComparison::run(const QList<QStringView>& values, bool withRecord)
{
    Row row(m_regional, *m_loaded);
    std::copy(std::begin(m_loaded->views), std::end(m_loaded->views), row.typed);
    // Through plain pointers: a view written could otherwise be the list's own pointer,
    // to be read again for each column.
    Q_ASSERT(values.size() == static_cast<qsizetype>(m_columns.size()));
    const QStringView* value = values.constData();
    for (const int input : m_columns)
        row.typed[input] = *value++;
    // The Notes field takes no more than it accepts from typing.
    row.typed[Notes] = typedPart(row.typed[Notes], MainForm::NotesLength);
    // A check box is ticked by 1 and cleared by anything else.
    for (Input box : {MonthlyT, Units1}) {
        if (!ticks(row.typed[box]))
            row.typed[box] = u"0";
    }

    Result result;
    QString messages;
    try {
        if (!row.calculate(messages)) {
            result.outcome = Outcome::Refused;
            result.messages = messages.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        } else if (row.nothingToCalculate()) {
            result.outcome = Outcome::Status;
            result.status = QString::fromLatin1(messages::NoDataToCalculate);
        }
        if (result.outcome != Outcome::Refused && !withRecord) {
            // Shared with the result, the list is free again by the next row: its room is
            // kept.
            row.results(m_results, m_resultViews);
            result.results = m_resultViews;
        } else if (result.outcome == Outcome::Calculated && m_timeline)
            result.timeline = row.timeline();
        else if (result.outcome == Outcome::Calculated) {
            row.record(m_record);
            result.record = m_record.view();
        }
    } catch (const FatalCalculation& fatal) {
        result = Result();
        result.outcome = Outcome::Fatal;
        result.messages = {u"Error Number %1"_s.arg(fatal.step),
                           u"A Fatal %1 Has Occurred."_s.arg(fatal.title)};
    }
    if (!withRecord && result.results.isEmpty())
        result.results.resize(resultColumns().size());
    return result;
}

} // namespace torvane
