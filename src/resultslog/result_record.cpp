#include "result_record.h"

#include "core/one_line.h"
#include "core/runtime_error.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// Room is made once a line, not for every piece: a line's literals and columns always fit
// in this; a text of any length (the notes, the period, a number written in full) makes
// room for itself and for what may still follow it on its line.
constexpr std::size_t LineRoom = 256;
constexpr int LongestPad = 12;

// Ends the text where it is written up to and returns room for size more characters after
// it, at least MoreRoom; out of line, as it is seldom needed.
constexpr std::size_t MoreRoom = 1024;
[[gnu::noinline]] char16_t* moreRoom(TextBuffer& out, char16_t* at, std::size_t size)
{
    out.setEnd(at);
    return out.room(std::max(size, MoreRoom));
}

// The place where a part of the record is written and the end of its room. A local pen
// keeps them in registers while the part is written, where a writer's members would be
// read again after each piece, which might have been written over them; it hands them
// back when the part is done.
class Pen {
public:
    Pen(const Regional& regional, TextBuffer& out, char16_t*& at, char16_t*& end)
        : m_regional(regional)
        , m_out(out)
        , m_savedAt(at)
        , m_savedEnd(end)
        , m_at(at)
        , m_end(end)
    {}
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    ~Pen()
    {
        m_savedAt = m_at;
        m_savedEnd = m_end;
    }

    // Room for size more characters at the writing place.
    [[gnu::always_inline]] char16_t* room(std::size_t size)
    {
        if (static_cast<std::size_t>(m_end - m_at) < size) {
            m_at = moreRoom(m_out, m_at, size);
            m_end = m_at + std::max(size, MoreRoom);
        }
        return m_at;
    }
    // Inlined, which the compiler would not do: a record writes some thirty such texts,
    // and the call cost as much as copying one.
    [[gnu::always_inline]] Pen& operator<<(QStringView text)
    {
        const auto size = static_cast<std::size_t>(text.size());
        m_at = copyText(text.utf16(), size, room(size + LineRoom));
        return *this;
    }
    // A literal's size is known here, so its copy is a few fixed moves.
    template <std::size_t N> [[gnu::always_inline]] Pen& operator<<(const char16_t (&text)[N])
    {
        std::memcpy(m_at, text, (N - 1) * sizeof(char16_t));
        m_at += N - 1;
        return *this;
    }
    // Where the next character goes.
    char16_t* at() const { return m_at; }
    // pad blanks in front of the value, then only the last n characters. Blanks are
    // written sixteen at a time and as many kept as are wanted: a column pads by at most
    // twelve, and the line's room holds them.
    [[gnu::always_inline]] Pen& column(int n, int pad, QStringView value)
    {
        static constexpr char16_t Blanks[] = u"                ";
        static_assert(std::size(Blanks) - 1 >= LongestPad);
        const auto width = static_cast<qsizetype>(n);
        const qsizetype size = value.size();
        char16_t* at = m_at;
        Q_ASSERT(pad <= LongestPad);
        if (size < width) {
            std::memcpy(at, Blanks, sizeof Blanks - sizeof(char16_t));
            at += std::min<qsizetype>(pad, width - size);
        }
        const qsizetype shown = std::clamp<qsizetype>(size, 0, width);
        m_at = copyText(value.utf16() + size - shown, static_cast<std::size_t>(shown), at);
        return *this;
    }
    [[gnu::always_inline]] Pen& fixed(int n, int pad, double value, int decimals)
    {
        // A column wider than the quick route's room (none is) would take the full route.
        const int size = n <= Regional::ColumnRoom
                             ? m_regional.quickFixedColumn(m_at, value, decimals, n, pad)
                             : -1;
        if (size >= 0) {
            m_at += size;
            return *this;
        }
        NumberText number;
        return column(n, pad, m_regional.writeFixed(number, value, decimals));
    }
    // A number in full, written where it stands when the quick route writes it.
    [[gnu::always_inline]] Pen& number(double value, int decimals)
    {
        const int size =
            m_regional.quickFixed(room(Regional::QuickRoom + LineRoom), value, decimals);
        if (size >= 0) {
            m_at += size;
            return *this;
        }
        NumberText text;
        return *this << m_regional.writeFixed(text, value, decimals);
    }
    [[gnu::always_inline]] Pen& general(int n, int pad, double value)
    {
        char16_t text[Regional::QuickRoom];
        return column(n, pad, QStringView(text, m_regional.generalChars(text, value)));
    }
    [[gnu::always_inline]] void endLine()
    {
        *this << u"\r\n";
        room(LineRoom);
    }
    [[gnu::always_inline]] void rule()
    {
        *this
            << u"---------------------------------------------------------------------------------";
        endLine();
    }

private:
    const Regional& m_regional;
    TextBuffer& m_out;
    char16_t*& m_savedAt;
    char16_t*& m_savedEnd;
    char16_t* m_at;
    char16_t* m_end;
};

// Writes the record line by line into one buffer through a pointer, numbers formatted
// straight into their columns: appending piece by piece to a string, with its checks on
// every piece, costs more than the record's own work.
class RecordWriter {
public:
    RecordWriter(const ResultRecord& record, const Regional& regional, qint16& step,
                 TextBuffer& out)
        : m_record(record)
        , m_regional(regional)
        , m_step(step)
        , m_periodLabel(record.monthly ? u"Mth" : u"Qtr")
        , m_unit(record.pounds ? u"lb" : u"Kg")
        , m_out(out)
    {}

    void compose();

private:
    Pen pen() { return Pen(m_regional, m_out, m_at, m_end); }
    // VAT, inflation, CO2 rate, both rates and the running time, then a rule.
    void tariffBlock(const RecordTariff& tariff, bool first);
    void itemLines(int item, const RecordItem& fields);
    void unitsLine(const char16_t (&head)[15], const RecordFigures& figures);
    void costLine(const char16_t (&head)[15], const RecordFigures& figures);
    void rule() { pen().rule(); }
    void endLine() { pen().endLine(); }
    // The record's three parts: the notes; the tariffs and items as given; the units
    // lines, then the cost lines, of Item 1, Item 2 and the saving.
    void notesLine();
    void dataLines();
    void figureLines();

    const ResultRecord& m_record;
    const Regional& m_regional;
    qint16& m_step;
    // Literals, written as literals are: in a few fixed moves.
    const char16_t (&m_periodLabel)[4];
    const char16_t (&m_unit)[3];
    TextBuffer& m_out;
    // Where the next part is written, and the end of its room.
    char16_t* m_at = nullptr;
    char16_t* m_end = nullptr;
};

void RecordWriter::tariffBlock(const RecordTariff& tariff, bool first)
{
    Pen p = pen();
    // The first block, Item 1's, has wider columns and the total inflation.
    const int wider = first ? 1 : 0;
    const ResultRecord& r = m_record;
    p << u"VAT         : ";
    p.fixed(4 + wider, 3 + wider, r.vat, 1) << u"%";
    p.endLine();
    if (r.inflation != 0) {
        p << u"Inflation   : ";
        p.fixed(4 + wider, 3 + wider, r.inflation, 1) << u"%";
        if (first) {
            p << u"/year";
            if (r.payPeriod > 1) {
                const float total = (r.inflationFactor - 1.0f) * 100.0f;
                p << u" (";
                p.number(total, 1) << u"% total inflation over " << r.payPeriodText << u" years)";
            }
        }
        p.endLine();
    }
    p << u"CO2 Convert : ";
    p.fixed(5 + wider, 4 + wider, r.co2Rate, 2) << u" " << m_unit << u"/KWHr";
    p.endLine();

    const int rateWidth = first ? 10 : 8;
    const struct {
        const char16_t (&head)[15];
        QStringView rate;
        double on;
        double standby;
    } rates[] = {
        {u"Normal Rate : ", tariff.normalRate, tariff.normalHours, tariff.normalStandbyHours},
        {u"Cheap Rate  : ", tariff.cheapRate, tariff.cheapHours, tariff.cheapStandbyHours}};
    for (const auto& rate : rates) {
        p << rate.head;
        p.column(rateWidth, rateWidth, rate.rate) << u"/KWhr ";
        p.general(5, 5, rate.on) << u"hrs On + ";
        p.general(5, 5, rate.standby) << u"hrs On Standby per day";
        p.endLine();
    }
    const int onWidth = first ? 8 : 6;
    p << u"Running Time: ";
    p.general(onWidth, onWidth, tariff.hoursOn) << u"hrs On + ";
    p.general(6, 6, tariff.hoursStandby) << u"hrs On Standby over Pay Back Period";
    p.endLine();
    p.rule();
}

void RecordWriter::itemLines(int item, const RecordItem& fields)
{
    Pen p = pen();
    p << (item == 1 ? u"Item 1: " : u"Item 2: ");
    p.column(6, 6, fields.watts) << u"W, ";
    p.fixed(4, 4, fields.standbyWatts, 1) << u"W Standby plus ";
    p.fixed(4, 4, fields.continuousWatts, 1) << u"W Continuous Standby";
    if (!fields.share.isEmpty()) {
        p << u" (";
        p.column(5, 5, fields.share) << u" Standby Cost)";
    }
    p.endLine();
    if (!fields.life.isEmpty()) {
        p << u"        Replace ";
        p.column(2, 2, fields.count) << u" times, ";
        p.column(5, 6, fields.life) << u"hrs Life, Cost ";
        p.column(8, 8, fields.cost.isEmpty() ? QStringView(u"n-a") : fields.cost);
        p.endLine();
    }
}

void RecordWriter::unitsLine(const char16_t (&head)[15], const RecordFigures& f)
{
    Pen p = pen();
    p << head;
    p.fixed(6, 7, f.dayUnits, 3) << u"KWHr/day, ";
    p.fixed(7, 7, f.partUnits, 2) << u"KWHr/" << m_periodLabel << u", ";
    p.fixed(7, 7, f.periodUnits, 1) << u"KWHr/" << m_record.payPeriodText << u"yrs,";
    p.column(7, 8, f.co2) << m_unit << u" CO2";
    p.endLine();
}

void RecordWriter::costLine(const char16_t (&head)[15], const RecordFigures& f)
{
    if (!f.moneyReads)
        throw RuntimeError::typeMismatch();
    Pen p = pen();
    // The day's cost with five decimals, without grouping, and the symbol where it goes.
    p << head << m_regional.currencyPrefix();
    p.number(f.dayCost, 5) << m_regional.currencySuffix() << u"/day, ";
    NumberText part;
    p.column(9, 10, m_regional.writeCurrency(part, f.partCost, 2));
    p << u"/" << m_periodLabel << u", ";
    p.column(12, 12, f.periodCost) << u"/" << m_record.payPeriodText << u"yrs,";
    p.endLine();
}

void RecordWriter::notesLine()
{
    Pen p = pen();
    // The notes are one line of the record: a line break, a tab or another control
    // character in them shows as a blank.
    p << m_record.notes;
    for (char16_t* c = p.at() - m_record.notes.size(); c < p.at(); ++c) {
        if (breaksLine(*c))
            *c = u' ';
    }
    p.endLine();
}

void RecordWriter::dataLines()
{
    const ResultRecord& r = m_record;
    if (r.tariffKept) {
        pen() << u"Item 1 Data";
        endLine();
    }
    tariffBlock(r.item1Tariff, true);
    m_step = RecordStep::Item1;
    if (r.item1)
        itemLines(1, *r.item1);
    m_step = RecordStep::Item2Tariff;
    if (r.tariffKept) {
        // The current tariff, for Item 2, in narrower columns.
        rule();
        endLine();
        pen() << u"Item 2 Data";
        endLine();
        tariffBlock(r.tariff, false);
    }
    m_step = RecordStep::Item2;
    if (r.item2)
        itemLines(2, *r.item2);
    rule();
}

void RecordWriter::figureLines()
{
    const ResultRecord& r = m_record;
    const RecordFigures* figures[] = {r.item1 ? &r.item1->figures : nullptr,
                                      r.item2 ? &r.item2->figures : nullptr,
                                      r.saving ? &*r.saving : nullptr};
    static constexpr char16_t unitsHeads[3][15] = {u"Item 1 Units: ", u"Item 2 Units: ",
                                                   u"      Saving: "};
    static constexpr char16_t costHeads[3][15] = {u"Item 1 Cost : ", u"Item 2 Cost : ",
                                                  u"     Saving : "};
    for (int i = 0; i < 3; ++i) {
        m_step = static_cast<qint16>(RecordStep::FirstUnitsLine + i);
        if (figures[i])
            unitsLine(unitsHeads[i], *figures[i]);
    }
    rule();
    for (int i = 0; i < 3; ++i) {
        m_step = static_cast<qint16>(RecordStep::FirstCostLine + i);
        if (figures[i])
            costLine(costHeads[i], *figures[i]);
    }
}

void RecordWriter::compose()
{
    m_step = RecordStep::Heading;
    m_at = m_end = m_out.room(0);
    pen().room(2048); // more than LineRoom
    if (!m_record.notes.isEmpty())
        notesLine();
    endLine();
    dataLines();
    figureLines();
    m_out.setEnd(m_at);
}

} // namespace

void appendResultRecord(const ResultRecord& record, const Regional& regional, qint16& step,
                        TextBuffer& out)
{
    RecordWriter(record, regional, step, out).compose();
}

QString composeResultRecord(const ResultRecord& record, const Regional& regional, qint16& step)
{
    TextBuffer text;
    appendResultRecord(record, regional, step, text);
    return text.view().toString();
}

} // namespace torvane
