#include "logo.h"

#include <QIconEngine>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// The logo drawn when the program was built (cmake/logo_pixels.cpp) at that side, or at every
// side drawn (side 0). Each size is stored as its side, then its premultiplied ARGB pixels
// row by row, all little-endian 32-bit words.
QList<QPixmap> drawnLogos(int wanted = 0)
{
    const QByteArray drawn = QResource(u":/logo.pixels"_s).uncompressedData();
    const auto* at = reinterpret_cast<const uchar*>(drawn.constData());
    const auto* const end = at + drawn.size();
    QList<QPixmap> logos;
    while (end - at >= 4) {
        const int side = qFromLittleEndian<qint32>(at);
        at += 4;
        if (side <= 0 || (end - at) / 4 / side < side)
            break;
        if (wanted == 0 || side == wanted) {
            QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < side; ++y)
                qFromLittleEndian<quint32>(at + qsizetype(y) * side * 4, side, image.scanLine(y));
            logos.append(QPixmap::fromImage(std::move(image)));
        }
        at += qsizetype(side) * side * 4;
    }
    return logos;
}

// The logo as an icon made only at the sizes asked for, and only when asked: from what was
// drawn when the program was built, or else drawn from the picture.
class LogoEngine final : public QIconEngine {
public:
    QIconEngine* clone() const override { return new LogoEngine(*this); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1);
    }

    // The size is in device pixels here.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal) override
    {
        const int side = qMin(size.width(), size.height());
        if (side <= 0)
            return QPixmap();
        if (!m_drawn.availableSizes().contains(QSize(side, side))) {
            const QList<QPixmap> built = drawnLogos(side);
            m_drawn.addPixmap(built.isEmpty() ? logoPicture(side, 1) : built.first());
        }
        // The drawn icon gives each mode its usual look (greyed when disabled).
        return m_drawn.pixmap(QSize(side, side), 1, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
    }

private:
    QIcon m_drawn;
};

} // namespace

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
    for (const QPixmap& logo : drawnLogos())
        icon.addPixmap(logo);
    return icon;
}

QPushButton* makeLogo(const std::function<void()>& open)
{
    auto* logo = new QPushButton;
    logo->setObjectName(u"Logo"_s);
    logo->setIcon(QIcon(new LogoEngine));
    logo->setIconSize(QSize(48, 48));
    logo->setFlat(true);
    logo->setToolTip(u"Visit the Marnoft web site"_s);
    logo->setAccessibleName(u"Visit the Marnoft web site"_s);
    logo->setFocusPolicy(Qt::NoFocus);
    QObject::connect(logo, &QPushButton::clicked, logo, open);
    return logo;
}

} // namespace torvane
