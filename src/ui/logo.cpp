#include "logo.h"

#include <QPainter>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

namespace torvane {

QPixmap logoPicture(int size, qreal pixelRatio)
{
    static QSvgRenderer renderer(u":/torvane.svg"_s);
    const int pixels = qRound(size * pixelRatio);
    QPixmap picture(pixels, pixels);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    painter.end();
    picture.setDevicePixelRatio(pixelRatio);
    return picture;
}

QIcon logoIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(logoPicture(size, 1));
    return icon;
}

QPushButton* makeLogo(const std::function<void()>& open)
{
    auto* logo = new QPushButton;
    logo->setObjectName(u"Logo"_s);
    logo->setIcon(logoIcon());
    logo->setIconSize(QSize(48, 48));
    logo->setFlat(true);
    logo->setToolTip(u"Visit the Marnoft web site"_s);
    logo->setAccessibleName(u"Visit the Marnoft web site"_s);
    logo->setFocusPolicy(Qt::NoFocus);
    QObject::connect(logo, &QPushButton::clicked, logo, open);
    return logo;
}

} // namespace torvane
