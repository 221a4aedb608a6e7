#include "qt_svg_pictures.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>

namespace torvane {

bool QtSvgPictures::draw(const QString& file, QPainter& painter)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return false;
    renderer.render(&painter);
    return true;
}

QByteArray QtSvgPictures::write(const QSize& size, int resolution, const QString& title,
                                const QString& description,
                                const std::function<void(QPainter&)>& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setResolution(resolution);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    // The generator writes these as they are: "&" or "<" in the notes would break the file.
    svg.setTitle(title.toHtmlEscaped());
    svg.setDescription(description.toHtmlEscaped());
    QPainter painter(&svg);
    paint(painter);
    painter.end();
    return bytes;
}

} // namespace torvane

torvane::SvgPictures* torvaneSvgPictures()
{
    static torvane::QtSvgPictures pictures;
    return &pictures;
}
