#include "logo.h"

#include "ui/svg_pictures.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QResource>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// The logo as drawn when the program was built (cmake/logo_pixels.cpp): each size as its
// side, then its ARGB pixels, not premultiplied, as window systems take an icon, row by row,
// all little-endian 32-bit words. Calls the visit with each side and its first pixel.
template <typename Visit> void visitBuiltLogos(const Visit& visit)
{
    const QByteArray built = QResource(u":/logo.pixels"_s).uncompressedData();
    const auto* at = reinterpret_cast<const uchar*>(built.constData());
    const auto* const end = at + built.size();
    while (end - at >= 4) {
        const int side = qFromLittleEndian<qint32>(at);
        at += 4;
        if (side <= 0 || (end - at) / 4 / side < side)
            return;
        visit(side, at);
        at += qsizetype(side) * side * 4;
    }
}

// The logo as an icon, made only when asked for and kept by nobody: from what was drawn when
// the program was built at that size, or else drawn from the picture (and then kept, as
// drawing costs).
class LogoEngine final : public QIconEngine {
public:
    QIconEngine* clone() const override { return new LogoEngine(*this); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        visitBuiltLogos([&](int side, const uchar*) { sizes.append(QSize(side, side)); });
        return sizes;
    }

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
        QPixmap logo;
        visitBuiltLogos([&](int built, const uchar* pixels) {
            if (built != side)
                return;
            QImage image(side, side, QImage::Format_ARGB32);
            for (int y = 0; y < side; ++y)
                qFromLittleEndian<quint32>(pixels + qsizetype(y) * side * 4, side,
                                           image.scanLine(y));
            logo = QPixmap::fromImage(std::move(image), Qt::NoFormatConversion);
        });
        if (logo.isNull()) {
            if (!m_drawn.contains(side))
                m_drawn.insert(side, logoPicture(side, 1));
            logo = m_drawn.value(side);
        }
        // Another mode gets its usual look (greyed when disabled) from an icon of the pixmap.
        return mode == QIcon::Normal ? logo : QIcon(logo).pixmap(QSize(side, side), 1, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
    }

private:
    QHash<int, QPixmap> m_drawn;
};

} // namespace

QPixmap logoPicture(int size, qreal pixelRatio)
{
    const int pixels = qRound(size * pixelRatio);
    QPixmap picture(pixels, pixels);
    picture.fill(Qt::transparent);
    // Without the picture module the logo is left out.
    QString why;
    if (SvgPictures* pictures = svgPictures(why)) {
        QPainter painter(&picture);
        pictures->draw(u":/torvane.svg"_s, painter);
    }
    picture.setDevicePixelRatio(pixelRatio);
    return picture;
}

QIcon logoIcon()
{
    return QIcon(new LogoEngine);
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
