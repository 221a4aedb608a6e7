#include "chart_form.h"

#include "core/csv_reader.h"
#include "core/one_line.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

const auto WindowTitle = u"Torvane Cost Chart"_s;

// A text as one line of a title or a header, as the record writes the notes: a line break,
// a tab or another control character is a blank.
QString oneLine(QString text)
{
    for (QChar& c : text) {
        if (breaksLine(c))
            c = u' ';
    }
    return text.trimmed();
}

} // namespace

ChartForm::ChartForm(const Regional& regional, Desktop& desktop, QObject* parent)
    : QObject(parent)
    , Sentence(u"Sentence"_s, QString())
    , ShowCost(u"ShowCost"_s, u"C&ost"_s, u"Show what each item has cost so far"_s)
    , ShowUnits(u"ShowUnits"_s, u"&kWh"_s, u"Show the electricity each item has used so far"_s)
    , ShowCO2(u"ShowCO2"_s, u"CO&2"_s, u"Show the CO2 each item has caused so far"_s)
    , ExportPNG(u"ExportPNG"_s, u"Export &PNG..."_s, u"Save the chart as a PNG picture"_s)
    , ExportSVG(u"ExportSVG"_s, u"Export &SVG..."_s, u"Save the chart as an SVG drawing"_s)
    , ExportCSV(u"ExportCSV"_s, u"Export CS&V..."_s,
                u"Save the figures month by month for a spreadsheet"_s)
    , Close(u"Close"_s, u"&Close"_s, u"Close the chart"_s)
    , m_regional(regional)
    , m_desktop(desktop)
{
    addControls(
        {&Sentence, &ShowCost, &ShowUnits, &ShowCO2, &ExportPNG, &ExportSVG, &ExportCSV, &Close});
    ShowCost.onClick = [this] {
        setMeasure(ChartMeasure::Cost);
    };
    ShowUnits.onClick = [this] {
        setMeasure(ChartMeasure::Units);
    };
    ShowCO2.onClick = [this] {
        setMeasure(ChartMeasure::CO2);
    };
    const auto picture = [this](PictureFormat format) {
        return [this, format] {
            return m_pictures ? m_pictures->picture(format) : QByteArray();
        };
    };
    ExportPNG.onClick = [this, picture] {
        exportFile(u"Export the Chart as a PNG Picture"_s, u"Torvane cost chart.png"_s,
                   u"PNG pictures (*.png)"_s, picture(PictureFormat::Png));
    };
    ExportSVG.onClick = [this, picture] {
        exportFile(u"Export the Chart as an SVG Drawing"_s, u"Torvane cost chart.svg"_s,
                   u"SVG drawings (*.svg)"_s, picture(PictureFormat::Svg));
    };
    ExportCSV.onClick = [this] {
        exportFile(u"Export the Chart's Figures"_s, u"Torvane cost chart.csv"_s,
                   u"CSV files (*.csv)"_s, [this] { return csvText().toUtf8(); });
    };
    Close.onClick = [this] {
        Q_EMIT closeRequested();
    };
    setMeasure(ChartMeasure::Cost);
    clear();
}

void ChartForm::setResult(const CostOverTime& result, const QDate& today,
                          const ChartSubject& subject)
{
    m_result = result;
    m_subject = {oneLine(subject.notes), oneLine(subject.item1), oneLine(subject.item2)};
    m_today = today;
    m_timeline = costTimeline(result.item1, result.item2, result.years, result.inflation);
    Sentence.setCaption(breakEvenSentence(m_timeline, result.years, today, m_regional));
    for (Button* exporting : {&ExportPNG, &ExportSVG, &ExportCSV})
        exporting->setEnabled(true);
    makeLines();
    Q_EMIT changed();
}

void ChartForm::clear()
{
    m_result = CostOverTime();
    m_subject = ChartSubject();
    m_timeline = Timeline();
    Sentence.setCaption(u"There is no calculation of both items to show."_s);
    for (Button* exporting : {&ExportPNG, &ExportSVG, &ExportCSV})
        exporting->setEnabled(false);
    makeLines();
    Q_EMIT changed();
}

void ChartForm::setMeasure(ChartMeasure measure)
{
    m_measure = measure;
    // The button of what is shown has nothing to do.
    ShowCost.setEnabled(measure != ChartMeasure::Cost);
    ShowUnits.setEnabled(measure != ChartMeasure::Units);
    ShowCO2.setEnabled(measure != ChartMeasure::CO2);
    makeLines();
    Q_EMIT changed();
}

std::vector<double> ChartForm::co2(const std::vector<double>& kwh) const
{
    std::vector<double> out(kwh);
    for (double& value : out)
        value *= m_result.co2Rate;
    return out;
}

void ChartForm::makeLines()
{
    const auto line = [&](const std::vector<double>& values, const std::vector<Purchase>& bought,
                          double price, std::vector<QPointF>& points) {
        points.clear();
        points.reserve(values.size() + bought.size() + 1);
        points.emplace_back(0, 0);
        auto purchase = bought.begin();
        for (std::size_t at = 0; at < values.size(); ++at) {
            const int month = static_cast<int>(at) + 1;
            if (purchase != bought.end() && purchase->month == month)
                points.emplace_back(month - 1, points.back().y() + purchase++->units * price);
            points.emplace_back(month, values[at]);
        }
    };
    const Timeline& t = m_timeline;
    switch (m_measure) {
    case ChartMeasure::Cost:
        line(t.cost1, t.bought1, m_result.item1.price, m_line1);
        line(t.cost2, t.bought2, m_result.item2.price, m_line2);
        break;
    case ChartMeasure::Units:
        line(t.kwh1, {}, 0, m_line1);
        line(t.kwh2, {}, 0, m_line2);
        break;
    case ChartMeasure::CO2:
        line(co2(t.kwh1), {}, 0, m_line1);
        line(co2(t.kwh2), {}, 0, m_line2);
        break;
    }
}

std::optional<int> ChartForm::markedMonth() const
{
    return m_measure == ChartMeasure::Cost ? m_timeline.breakEven : std::nullopt;
}

QString ChartForm::valueText(double value, int decimals) const
{
    switch (m_measure) {
    case ChartMeasure::Cost:
        return m_regional.formatCurrency(value, decimals);
    case ChartMeasure::Units:
        return m_regional.formatFixed(value, decimals) + u" kWh"_s;
    case ChartMeasure::CO2:
        break;
    }
    return m_regional.formatFixed(value, decimals) + u' ' + m_result.co2Unit;
}

QString ChartForm::axisTitle() const
{
    switch (m_measure) {
    case ChartMeasure::Cost:
        return u"Cost so far"_s;
    case ChartMeasure::Units:
        return u"Electricity used so far"_s;
    case ChartMeasure::CO2:
        break;
    }
    return u"CO2 caused so far"_s;
}

QString ChartForm::monthText(int month) const
{
    return m_regional.locale().toString(m_today.addMonths(month), u"MMM yyyy"_s);
}

QString ChartForm::description() const
{
    if (months() == 0)
        return Sentence.text();
    return u"%1. %2 after %3 months: Item 1 %4, Item 2 %5."_s.arg(
        Sentence.text(), axisTitle(), QString::number(months()), valueText(m_line1.back().y(), 2),
        valueText(m_line2.back().y(), 2));
}

QString ChartForm::title() const
{
    QStringList parts;
    if (!m_subject.notes.isEmpty())
        parts.append(m_subject.notes);
    for (int item : {1, 2}) {
        if (!appliance(item).isEmpty())
            parts.append(u"Item %1: %2"_s.arg(item).arg(appliance(item)));
    }
    return parts.isEmpty() ? WindowTitle : parts.join(u" \u2014 "_s);
}

QString ChartForm::csvText() const
{
    // A spreadsheet of a decimal-comma language expects semicolons between fields. The
    // numbers are the window's; the dates are ISO, which every spreadsheet reads.
    const QLocale& locale = m_regional.locale();
    const QChar separator = m_regional.decimalPoint() == u',' ? u';' : u',';
    const auto field = [&](const QString& text) {
        return csvField(text, separator);
    };
    const QString symbol = locale.currencySymbol();
    const QString money = symbol.isEmpty() ? QString() : u" ("_s + symbol + u')';
    const QString co2Unit = u" ("_s + m_result.co2Unit + u')';
    // Each column starts with the same name whatever was compared; the notes follow the
    // first, a picked appliance's name its columns.
    QStringList header{u"Month"_s +
                           (m_subject.notes.isEmpty() ? QString() : u": "_s + m_subject.notes),
                       u"Up to"_s};
    for (const QString& measure :
         {QString(u"cost"_s + money), u"kWh"_s, QString(u"CO2"_s + co2Unit)}) {
        for (int item : {1, 2}) {
            const QString name = appliance(item);
            header.append(u"Item %1 %2"_s.arg(item).arg(measure) +
                          (name.isEmpty() ? QString() : u": "_s + name));
        }
    }
    for (QString& name : header)
        name = field(name);
    QString out = header.join(separator) + u"\r\n"_s;
    const Timeline& t = m_timeline;
    const std::vector<double> co2One = co2(t.kwh1);
    const std::vector<double> co2Two = co2(t.kwh2);
    for (std::size_t at = 0; at < t.cost1.size(); ++at) {
        const int month = static_cast<int>(at) + 1;
        QStringList row{QString::number(month), m_today.addMonths(month).toString(Qt::ISODate)};
        for (double value :
             {t.cost1[at], t.cost2[at], t.kwh1[at], t.kwh2[at], co2One[at], co2Two[at]})
            row << field(m_regional.formatFixed(value, 2));
        out += row.join(separator) + u"\r\n"_s;
    }
    return out;
}

void ChartForm::exportFile(const QString& title, const QString& name, const QString& filter,
                           const std::function<QByteArray()>& bytes)
{
    const QString path = m_desktop.saveFileName(title, name, filter);
    if (path.isEmpty())
        return;
    const QByteArray content = bytes();
    // A file the user had stays as it was when the new one cannot be written whole.
    QSaveFile file(path);
    QString error = u"The picture could not be drawn."_s;
    if (!content.isEmpty()) {
        if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
            file.commit())
            return;
        error = file.errorString();
    }
    m_desktop.messageBox(u"The chart cannot be saved as %1.\n%2"_s.arg(path, error), WindowTitle,
                         MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace torvane
