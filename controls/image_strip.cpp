#include "controls/image_strip.h"

#include <QImage>
#include <QPixmap>

QList<QIcon> LoadImageStrip(const QString& path, int imageSize, COLORREF transparent)
{
    QList<QIcon> icons;
    QImage strip(path);
    if (strip.isNull() || imageSize <= 0 || strip.height() < imageSize)
        return icons;
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = platform::toQColor(transparent).rgb();
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    for (int x = 0; x + imageSize <= strip.width(); x += imageSize)
        icons.append(QIcon(QPixmap::fromImage(strip.copy(x, 0, imageSize, imageSize))));
    return icons;
}
