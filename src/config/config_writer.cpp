#include "config_writer.h"

#include "config_keys.h"
#include "core/ansi_file.h"
#include "core/version.h"

using namespace Qt::StringLiterals;

namespace torvane {

QString configurationText(const Settings& settings, const Regional& regional,
                          const QDateTime& savedAt)
{
    static const Regional machine{QLocale::c()};
    QString text = u"# Torvane Version "_s + versionText() + CrLf + u"# Configuration File"_s +
                   CrLf + u"# "_s + regional.formatStamp(savedAt) + CrLf + CrLf + u"[Run]"_s + CrLf;
    for (const config::ConfigKey& key : config::Keys) {
        const double value = std::visit(
            [&](auto member) { return static_cast<double>(settings.*member); }, key.member);
        text += QLatin1String(key.prefix);
        text += key.decimals < 0 ? machine.formatGeneral(value)
                                 : machine.formatFixed(value, key.decimals);
        text += CrLf;
    }
    return text;
}

} // namespace torvane
