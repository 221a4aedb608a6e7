#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace torvane::test {

// The rows of a tab-separated table in tests/fixtures, split into fields; lines that
// begin with "#" and blank lines are left out. An unreadable or empty table is fatal,
// so that no test passes on no cases.
QList<QStringList> fixtureTable(const QString& fileName);

// A field of such a table with "\r", "\n", "\t", "\\" and "\xHH" (any byte) unescaped;
// the rest is UTF-8.
QByteArray unescapedBytes(const QString& field);

// The rows of such a table as a test's data: one column, "row", with the fields after the
// name, which names the row.
void addTableRows(const QString& fileName);
QString unescaped(const QString& field);

} // namespace torvane::test
