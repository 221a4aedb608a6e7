#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

namespace torvane {

// SVG pictures drawn and written with Qt SVG, by the picture module (svg/, a shared object of
// its own) that the program loads when it first needs one, so that a start does not load
// Qt SVG.
class SvgPictures {
public:
    virtual ~SvgPictures() = default;

    // Draws the picture file over the whole of the painter's device; false when it is none.
    virtual bool draw(const QString& file, QPainter& painter) = 0;
    // The SVG document of what paint draws on a canvas of that size, at that resolution in
    // dots per inch (fonts are measured by it), with its title and description.
    virtual QByteArray write(const QSize& size, int resolution, const QString& title,
                             const QString& description,
                             const std::function<void(QPainter&)>& paint) = 0;
};

// What the picture module exports by this name: its pictures, which live as long as it does.
using GetSvgPictures = SvgPictures* (*)();
inline constexpr char GetSvgPicturesName[] = "torvaneSvgPictures";

// The pictures of the module found at the path (without the "lib" and ".so" of its file
// name), loaded when first asked for; null, with the reason, when it cannot be loaded.
SvgPictures* loadSvgPictures(const QString& module, QString& why);

// The pictures of the program's own module.
SvgPictures* svgPictures(QString& why);

} // namespace torvane
