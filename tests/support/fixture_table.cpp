#include "fixture_table.h"

#include <QFile>
#include <QTest>

namespace torvane::test {

QList<QStringList> fixtureTable(const QString& fileName)
{
    QFile file(qEnvironmentVariable("TORVANE_FIXTURES") + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("tests/fixtures/%s cannot be read", qPrintable(fileName));
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
            rows.append(line.split(QLatin1Char('\t')));
    }
    if (rows.isEmpty())
        qFatal("tests/fixtures/%s has no rows", qPrintable(fileName));
    return rows;
}

void addTableRows(const QString& fileName)
{
    QTest::addColumn<QStringList>("row");
    for (const QStringList& row : fixtureTable(fileName))
        QTest::newRow(qPrintable(row[0])) << row.mid(1);
}

QByteArray unescapedBytes(const QString& field)
{
    const QByteArray text = field.toUtf8();
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char code = text[++i];
        if (code == 'x' && i + 2 < text.size()) {
            bytes += static_cast<char>(text.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            bytes += code == 'r' ? '\r' : code == 'n' ? '\n' : code == 't' ? '\t' : code;
        }
    }
    return bytes;
}

QString unescaped(const QString& field)
{
    return QString::fromUtf8(unescapedBytes(field));
}

} // namespace torvane::test
