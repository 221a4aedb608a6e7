#pragma once

#include "ui/svg_pictures.h"

namespace torvane {

// The pictures with Qt SVG's renderer and generator.
class QtSvgPictures final : public SvgPictures {
public:
    bool draw(const QString& file, QPainter& painter) override;
    QByteArray write(const QSize& size, int resolution, const QString& title,
                     const QString& description,
                     const std::function<void(QPainter&)>& paint) override;
};

} // namespace torvane

// The module's one entry: the program looks it up by this name.
extern "C" Q_DECL_EXPORT torvane::SvgPictures* torvaneSvgPictures();
