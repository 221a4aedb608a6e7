#include "svg_pictures.h"

#include "core/module_path.h"

#include <QLibrary>

using namespace Qt::StringLiterals;

namespace torvane {

SvgPictures* loadSvgPictures(const QString& module, QString& why)
{
    // Loaded once and kept: the pictures live in it.
    QLibrary library(module);
    const auto get = reinterpret_cast<GetSvgPictures>(library.resolve(GetSvgPicturesName));
    if (!get) {
        why = library.errorString();
        return nullptr;
    }
    return get();
}

SvgPictures* svgPictures(QString& why)
{
    return loadSvgPictures(modulePath(u"torvane-svg"_s), why);
}

} // namespace torvane
