#pragma once

#include "core/program_folder.h"
#include "core/regional.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <vector>

namespace torvane {

// One appliance of the catalogue with its typical figures, in the units the window's item
// fields take. Cold appliances and others that run all day give their average power.
struct Appliance {
    QString category, name;
    double watts = 0, standbyWatts = 0, continuousWatts = 0, lifeHours = 0, price = 0, hoursDay = 0;
    QString source;
};

struct Catalogue {
    std::vector<Appliance> appliances;
    QStringList problems; // each a sentence the user can act on, lines by their number
};

// Reads the catalogue: UTF-8 CSV with a header naming the columns, "#" lines as comments,
// numbers in the machine form. A damaged line is told and left out; every figure is in
// the range its item field accepts, so a picked appliance passes the window's checks.
Catalogue readCatalogue(const QString& path);
// The same from a device open for reading. Only the file's reader above refuses a file
// larger than AnsiFile::MostBytes, as its size is known before reading.
Catalogue readCatalogue(QIODevice& device);

// The problems in one message: the first few lines and how many more there are.
QString catalogueProblemsText(const QStringList& problems);

// Whether every word of the query stands in the appliance's name or category, ignoring
// case; an empty query matches every appliance.
bool matchesSearch(const Appliance& appliance, const QString& query);

// The on power that makes an item used hoursPerDay a day take the label's kWh a year.
double onPowerFromLabel(double kwhPerYear, double hoursPerDay);

// The energy label's figures as the user typed them, read under the regional settings:
// the on power and hours a day, or why they cannot be used.
struct LabelPower {
    double watts = 0;
    double hoursPerDay = 0;
    QString problem;
};
LabelPower readLabel(const Regional& regional, QStringView kwhPerYear, QStringView hoursPerDay);

} // namespace torvane
