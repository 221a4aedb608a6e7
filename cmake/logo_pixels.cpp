// Draws the logo's picture at each icon size given, for the windows' icon, when the program
// is built: drawing them at every start would cost more than the rest of the window. The
// output holds each size as its side, then its ARGB pixels, not premultiplied, as window
// systems take an icon, row by row, all little-endian 32-bit words.
//   logo_pixels PICTURE.svg OUTPUT SIDE...

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: logo_pixels PICTURE.svg OUTPUT SIDE...\n");
        return 2;
    }
    QSvgRenderer renderer(QFile::decodeName(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "logo_pixels: %s is no picture\n", argv[1]);
        return 1;
    }
    QByteArray pixels;
    for (int i = 3; i < argc; ++i) {
        const int side = std::atoi(argv[i]);
        if (side <= 0 || side > 1024)
            return 2;
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        image.convertTo(QImage::Format_ARGB32);
        const qsizetype at = pixels.size();
        pixels.resize(at + 4 + qsizetype(side) * side * 4);
        char* out = pixels.data() + at;
        qToLittleEndian<quint32>(static_cast<quint32>(side), out);
        out += 4;
        for (int y = 0; y < side; ++y, out += 4 * side)
            qToLittleEndian<quint32>(image.constScanLine(y), side, out);
    }
    QSaveFile file(QFile::decodeName(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(pixels) != pixels.size() || !file.commit()) {
        std::fprintf(stderr, "logo_pixels: %s cannot be written\n", argv[2]);
        return 1;
    }
    return 0;
}
