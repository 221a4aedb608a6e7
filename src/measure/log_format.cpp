#include "log_format.h"

#include "reading_time.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

enum class Meaning { None, Time, Power, Energy, Value, Entity };

struct Column {
    Meaning meaning = Meaning::None;
    QString name;
    bool kilo = false;      // kW or kWh
    bool wattHours = false; // Wh or kWh named
};

bool anyOf(const QStringList& words, std::initializer_list<const char16_t*> names)
{
    for (const char16_t* name : names) {
        if (words.contains(QStringView(name)))
            return true;
    }
    return false;
}

// A header's name read by meaning: its words, lower case, in any language the list knows.
Column columnOf(std::string_view field)
{
    static const QRegularExpression apart(u"[^\\p{L}\\p{N}]+"_s);
    Column c;
    c.name = visibleText(field).trimmed();
    const QStringList words = c.name.toLower().split(apart, Qt::SkipEmptyParts);
    const QString joined = words.join(QString());
    c.kilo = anyOf(words, {u"kw", u"kwh"});
    c.wattHours = anyOf(words, {u"kwh", u"wh"});
    // "Current consumption" is what some plugs call their power now.
    const bool power = anyOf(words, {u"power", u"watts", u"watt", u"w", u"kw", u"apower",
                                     u"leistung", u"wirkleistung", u"load"}) ||
                       (words.contains(u"current"_s) && words.contains(u"consumption"_s));
    const bool energy = anyOf(words, {u"energy", u"total", u"energie", u"counter", u"meter",
                                      u"aenergy", u"consumption", u"verbrauch", u"zählerstand"});
    if (joined == u"entityid"_s)
        c.meaning = Meaning::Entity;
    else if (c.wattHours || (energy && !power))
        c.meaning = Meaning::Energy;
    else if (power)
        c.meaning = Meaning::Power;
    else if (anyOf(words, {u"time", u"timestamp", u"date", u"datetime", u"zeit", u"zeitstempel",
                           u"datum", u"uhrzeit", u"ts"}) ||
             joined == u"lastchanged"_s || joined == u"lastupdated"_s)
        c.meaning = Meaning::Time;
    else if (anyOf(words, {u"value", u"state", u"reading", u"wert", u"messwert"}))
        c.meaning = Meaning::Value;
    return c;
}

int firstOf(const QList<Column>& columns, Meaning meaning)
{
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (columns[i].meaning == meaning)
            return static_cast<int>(i);
    }
    return -1;
}

// A row with no header: a time, then a power in watts.
bool headerless(const std::string_view* fields, int count, LogFormat& format)
{
    ReadingTime time;
    double value = 0;
    bool comma = false;
    if (count < 2 || !parseReadingTime(fields[0], time) ||
        !parseReadingNumber(fields[1], value, comma))
        return false;
    format.header = false;
    format.kind = LogKind::Power;
    format.timeColumn = 0;
    format.valueColumn = 1;
    format.timeName = u"column 1"_s;
    format.valueName = u"column 2"_s;
    format.unit = u"W"_s;
    return true;
}

void chooseValue(const QList<Column>& columns, int at, LogFormat& format)
{
    const Column& c = columns[at];
    format.valueColumn = at;
    format.valueName = c.name;
    const bool energy = c.meaning == Meaning::Energy || format.kind == LogKind::Energy;
    if (energy) {
        format.kind = LogKind::Energy;
        const bool kilo = c.kilo || !c.wattHours;
        format.unit = kilo ? u"kWh"_s : u"Wh"_s;
        format.scale = kilo ? 1000 : 1;
    } else {
        format.unit = c.kilo ? u"kW"_s : u"W"_s;
        format.scale = c.kilo ? 1000 : 1;
    }
}

// entity_id, state and last_changed, the state a power in watts.
bool history(const QList<Column>& columns, LogFormat& format)
{
    const auto named = [&](const QString& name) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        }
        return -1;
    };
    const int entity = named(u"entity_id"_s);
    const int state = named(u"state"_s);
    int time = named(u"last_changed"_s);
    if (time < 0)
        time = named(u"last_updated"_s);
    if (entity < 0 || state < 0 || time < 0)
        return false;
    format.kind = LogKind::History;
    format.entityColumn = entity;
    format.timeColumn = time;
    format.timeName = columns[time].name;
    format.valueColumn = state;
    format.valueName = columns[state].name;
    format.unit = u"W"_s;
    return true;
}

} // namespace

NamedFor namedFor(std::string_view name)
{
    switch (columnOf(name).meaning) {
    case Meaning::Power:
        return NamedFor::Power;
    case Meaning::Energy:
        return NamedFor::Energy;
    default:
        return NamedFor::Other;
    }
}

char detectSeparator(std::string_view line)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const char c : line) {
        quoted = quoted != (c == '"');
        if (!quoted) {
            commas += c == ',';
            semicolons += c == ';';
            tabs += c == '\t';
        }
    }
    if (tabs > 0 && tabs >= commas && tabs >= semicolons)
        return '\t';
    return semicolons > 0 && semicolons >= commas ? ';' : ',';
}

int splitFields(std::string_view line, char separator, std::string_view* fields, int most)
{
    int count = 0;
    std::size_t at = 0;
    while (count < most) {
        if (count == most - 1) {
            fields[count++] = line.substr(at);
            break;
        }
        if (at < line.size() && line[at] == '"') {
            // Quoted: up to the quote that closes it; a doubled quote stays doubled.
            std::size_t close = at + 1;
            while ((close = line.find('"', close)) != std::string_view::npos &&
                   close + 1 < line.size() && line[close + 1] == '"')
                close += 2;
            if (close != std::string_view::npos &&
                (close + 1 == line.size() || line[close + 1] == separator)) {
                fields[count++] = line.substr(at + 1, close - at - 1);
                if (close + 1 == line.size())
                    break;
                at = close + 2;
                continue;
            }
        }
        const std::size_t end = line.find(separator, at);
        fields[count++] = line.substr(at, end == std::string_view::npos ? end : end - at);
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return count;
}

int countFields(std::string_view line, char separator)
{
    int count = 1;
    bool quoted = false;
    for (const char c : line) {
        quoted = quoted != (c == '"');
        count += !quoted && c == separator;
    }
    return count;
}

QString detectLogFormat(std::string_view firstLine, LogFormat& format)
{
    format = LogFormat();
    format.separator = detectSeparator(firstLine);
    constexpr int Most = 64;
    std::string_view fields[Most];
    const int count = splitFields(firstLine, format.separator, fields, Most);
    QList<Column> columns;
    for (int i = 0; i < count; ++i)
        columns.append(columnOf(fields[i]));
    // A header (or first row) of more columns than are split here is not held to its rows'
    // fields.
    format.columns = count < Most ? count : 0;
    if (history(columns, format))
        return QString();
    format.timeColumn = firstOf(columns, Meaning::Time);
    if (format.timeColumn < 0) {
        if (headerless(fields, count, format))
            return QString();
        return u"no time column: the header names none of time, timestamp, date, datetime, "
               "last_changed, Zeit, Datum"_s;
    }
    format.timeName = columns[format.timeColumn].name;
    for (const Meaning meaning : {Meaning::Power, Meaning::Energy, Meaning::Value}) {
        if (const int at = firstOf(columns, meaning); at >= 0) {
            chooseValue(columns, at, format);
            return QString();
        }
    }
    return u"no power column: the header names none of power, watts, W, kW, apower, state, "
           "value, Leistung, nor an energy counter (energy, total, kWh, Wh, Energie)"_s;
}

QString visibleText(std::string_view bytes)
{
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

bool parseReadingNumber(std::string_view text, double& value, bool& decimalComma)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    char copy[64];
    const std::size_t comma = text.find(',');
    if (comma != std::string_view::npos) {
        // A decimal comma: read as a full stop.
        if (text.size() > sizeof copy)
            return false;
        std::memcpy(copy, text.data(), text.size());
        copy[comma] = '.';
        text = std::string_view(copy, text.size());
    }
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    const bool read = error == std::errc() && end == text.data() + text.size() && !text.empty() &&
                      std::isfinite(value);
    decimalComma = decimalComma || (read && comma != std::string_view::npos);
    return read;
}

} // namespace torvane
