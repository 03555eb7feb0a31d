#pragma once

#include "platform/colorref.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

// The images of a strip bitmap: square images of the strip's height side by side, one colour
// (magenta by default) transparent. An image that does not load gives no images.
QList<QIcon> LoadImageStrip(const QString& path, int imageSize = 16, COLORREF transparent = 0xFF00FF);

// The image with every pixel of one colour made transparent.
QImage WithTransparentColor(const QImage& image, COLORREF transparent);
