#include "controls/image_strip.h"

#include <QPixmap>

QImage WithTransparentColor(const QImage& image, COLORREF transparent)
{
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = platform::toQColor(transparent).rgb();
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return argb;
}

QList<QIcon> LoadImageStrip(const QString& path, int imageSize, COLORREF transparent)
{
    QList<QIcon> icons;
    const QImage loaded(path);
    if (loaded.isNull() || imageSize <= 0 || loaded.height() < imageSize)
        return icons;
    const QImage strip = WithTransparentColor(loaded, transparent);
    for (int x = 0; x + imageSize <= strip.width(); x += imageSize)
        icons.append(QIcon(QPixmap::fromImage(strip.copy(x, 0, imageSize, imageSize))));
    return icons;
}
