#pragma once

#include <QCoreApplication>
#include <QString>

namespace torvane {

// Where the program's modules are: the shared objects it loads when it first needs them, in
// lib/torvane/modules beside the folder of the program, in the build tree and in an
// installed copy alike. The name is the file's without its "lib" and ".so".
inline QString modulePath(const QString& name)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/torvane/modules/") +
           name;
}

} // namespace torvane
