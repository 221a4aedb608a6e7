#include "http_fetch.h"

#include "core/module_path.h"

#include <QLibrary>

using namespace Qt::StringLiterals;

namespace torvane {

std::unique_ptr<HttpFetch> loadHttpFetch(const QString& module, const HttpFetch::Listener& listener,
                                         QString& why)
{
    // Loaded once and kept: the fetches it made live in it.
    QLibrary library(module);
    const auto make = reinterpret_cast<MakeHttpFetch>(library.resolve(MakeHttpFetchName));
    if (!make) {
        why = library.errorString();
        return nullptr;
    }
    return std::unique_ptr<HttpFetch>(make(&listener));
}

QString networkModulePath()
{
    return modulePath(u"torvane-network"_s);
}

} // namespace torvane
