#include "measured_fill.h"

#include "engine/rules.h"

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// A number the user typed for an option: empty leaves the option unset.
QString readNumber(const QString& text, const Regional& regional, double least, bool above,
                   const QString& what, std::optional<double>& value)
{
    if (text.trimmed().isEmpty())
        return QString();
    const Reading reading = Reading::of(text.trimmed(), regional);
    const bool inRange = above ? reading.value > least : reading.value >= least;
    if (!reading.numeric() || !inRange)
        return u"\"%1\" is not %2."_s.arg(text.trimmed(), what);
    value = reading.value;
    return QString();
}

// The six figures in the order of the fields they fill, as the checks will round them.
struct Figures {
    double normalHr, cheapHr, normalSHr, cheapSHr, watts, standbyWatts;
};

Figures roundedFigures(const MeasuredUse& use)
{
    // The hours are rounded together, so that a day split four ways still adds up to a day.
    const std::array<double, 4> hours = shownHours(use);
    const auto watts = [](double value) {
        return roundToDecimals(value, Decimals::Watts);
    };
    return {hours[0], hours[1], hours[2], hours[3], watts(use.onWatts), watts(use.standbyWatts)};
}

} // namespace

QString MeasuredFill::readOptions(const MeasureTexts& texts, MeasureOptions& options) const
{
    if (texts.path.trimmed().isEmpty())
        return u"Choose a file of measured power readings."_s;
    MeasureOptions read;
    if (!texts.cheapHours.trimmed().isEmpty()) {
        CheapWindow window;
        if (const QString why = parseCheapWindow(texts.cheapHours.trimmed(), window);
            !why.isEmpty())
            return why.first(1).toUpper() + why.sliced(1) + u'.';
        read.cheap = window;
    }
    const Regional& regional = m_context.regional;
    QString why = readNumber(texts.offBelow, regional, 0, false,
                             u"an off threshold in watts from 0 up"_s, read.offBelow);
    if (why.isEmpty())
        why = readNumber(texts.standbyBelow, regional, read.offBelow.value_or(0.5), false,
                         u"a standby threshold in watts from the off threshold up"_s,
                         read.standbyBelow);
    if (why.isEmpty())
        why = readNumber(texts.maxGap, regional, 0, true, u"a gap limit in minutes above 0"_s,
                         read.maxGapMinutes);
    if (why.isEmpty())
        options = read;
    return why;
}

bool MeasuredFill::prepare(const MeasureTexts& texts, MeasureOptions& options) const
{
    const QString why = readOptions(texts, options);
    if (why.isEmpty())
        return true;
    m_context.desktop.messageBox(why, QString::fromLatin1(MeasuredTitle), MessageIcon::Exclamation,
                                 MessageButtons::Ok);
    return false;
}

MeasuredUse MeasuredFill::measure(const QString& path, const MeasureOptions& options,
                                  const MeasureProgress& progress)
{
    return measureFile(path, options, progress);
}

QStringList MeasuredFill::figureTexts() const
{
    if (!m_use || m_use->outcome != MeasuredUse::Outcome::Measured)
        return {};
    const Figures f = roundedFigures(*m_use);
    QStringList texts;
    for (double value : {f.normalHr, f.cheapHr, f.normalSHr, f.cheapSHr})
        texts << m_context.fixed(value, Decimals::Hours);
    for (double value : {f.watts, f.standbyWatts})
        texts << m_context.fixed(value, Decimals::Watts);
    return texts;
}

QString MeasuredFill::resultText() const
{
    if (!m_use)
        return QString();
    if (m_use->outcome == MeasuredUse::Outcome::Cancelled)
        return u"Reading cancelled."_s;
    if (m_use->outcome == MeasuredUse::Outcome::Unusable)
        return (QStringList{u"The readings cannot be used: "_s + m_use->problem} +
                unreadableNotes(*m_use))
            .join(u'\n');
    const QStringList t = figureTexts();
    QStringList lines = measuredNotes(*m_use, &m_context.regional);
    lines << QString()
          << u"Hours a day on: %1 at the normal rate, %2 at the cheap rate"_s.arg(t[0], t[1])
          << u"Hours a day on standby: %1 at the normal rate, %2 at the cheap rate"_s.arg(t[2],
                                                                                          t[3])
          << u"On power: %1 W"_s.arg(t[4]) << u"Standby power: %1 W"_s.arg(t[5]);
    return lines.join(u'\n');
}

QString MeasuredFill::figureProblems() const
{
    if (!m_use)
        return QString();
    const Figures f = roundedFigures(*m_use);
    ComparisonInputs in;
    in.hours = {Reading::number(f.normalHr), Reading::number(f.cheapHr),
                Reading::number(f.normalSHr), Reading::number(f.cheapSHr)};
    // A cheap rate stands in for the user's, which the window checks on its own.
    in.tariff.CheapR = Reading::number(1);
    ItemInputs item;
    item.Watts = Reading::number(f.watts);
    item.SWatts = Reading::number(f.standbyWatts);
    QString messages;
    hourRules(in.hours, messages);
    itemRules(m_item, item, messages);
    combinationRules(in, true, true, messages);
    return messages;
}

bool MeasuredFill::useFigures()
{
    const QStringList texts = figureTexts();
    if (texts.isEmpty())
        return false;
    if (const QString problems = figureProblems(); !problems.isEmpty()) {
        const QString question = u"The window's checks would refuse these figures:\n"_s + problems +
                                 u"\nFill item %1 with them anyway?"_s.arg(m_item);
        if (m_context.desktop.messageBox(question, QString::fromLatin1(MeasuredTitle),
                                         MessageIcon::Question,
                                         MessageButtons::YesNo) != MessageAnswer::Yes)
            return false;
    }
    MainForm& f = m_context.form;
    const bool one = m_item == 1;
    TextBox* fields[] = {&f.NormalHr,
                         &f.CheapHr,
                         &f.NormalSHr,
                         &f.CheapSHr,
                         one ? &f.Item1Watts : &f.Item2Watts,
                         one ? &f.Item1SWatts : &f.Item2SWatts};
    for (int i = 0; i < texts.size(); ++i)
        fields[i]->type(texts[i]);
    // Measured figures describe no catalogue appliance.
    (one ? f.Item1Appliance : f.Item2Appliance).clear();
    m_context.services.showStatusMessage(u"Item %1 filled from measured readings"_s.arg(m_item));
    return true;
}

} // namespace torvane
