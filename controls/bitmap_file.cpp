#include "controls/bitmap_file.h"

#include <QFile>

#include <algorithm>
#include <bit>
#include <cstdint>

namespace {

constexpr quint16 kBitmapFileType = 0x4D42; // "BM"
constexpr qint64 kFileHeaderSize = 14;
constexpr qint64 kInfoHeaderSize = 40;
constexpr qint64 kMaskBytes = 12; // red, green and blue masks after a 40-byte header
constexpr quint32 BI_RGB = 0;
constexpr quint32 BI_BITFIELDS = 3;

// A start-up picture has no business being larger than this; refusing early keeps a stray
// file from costing the memory of reading it whole.
constexpr qint64 kMaxFileSize = qint64(256) << 20;
constexpr qint64 kMaxPixels = qint64(1) << 26;

quint16 U16(const uchar* p)
{
    return quint16(p[0] | (p[1] << 8));
}

quint32 U32(const uchar* p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
class Channel {
public:
    explicit Channel(quint32 mask)
        : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0), m_max(mask >> m_shift)
    {
    }

    int operator()(quint32 pixel) const
    {
        if (m_max == 0)
            return 0;
        return int(quint64((pixel & m_mask) >> m_shift) * 255 / m_max);
    }

private:
    quint32 m_mask;
    int m_shift;
    quint32 m_max;
};

struct Layout {
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bitCount = 0;
    bool bitFields = false;
    qint64 maskStart = 0;
    qint64 tableStart = 0;
    qint64 tableEntries = 0;
    qint64 pixelStart = 0;
    qint64 stride = 0;
};

bool ReadLayout(const uchar* data, qint64 size, Layout& out)
{
    if (size < kFileHeaderSize + 4 || U16(data) != kBitmapFileType)
        return false;
    const qint64 offBits = U32(data + 10);
    const uchar* info = data + kFileHeaderSize;
    const qint64 infoSize = U32(info);
    if (infoSize < kInfoHeaderSize || kFileHeaderSize + infoSize > size)
        return false;

    const qint32 width = qint32(U32(info + 4));
    const qint32 height = qint32(U32(info + 8));
    const int bitCount = U16(info + 14);
    const quint32 compression = U32(info + 16);
    const qint64 colorsUsed = U32(info + 32);

    if (width <= 0 || height == 0)
        return false;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (compression != BI_RGB)
            return false;
        break;
    case 16:
    case 32:
        if (compression != BI_RGB && compression != BI_BITFIELDS)
            return false;
        break;
    default:
        return false;
    }

    Layout l;
    l.width = width;
    l.height = height < 0 ? -qint64(height) : qint64(height);
    l.topDown = height < 0;
    l.bitCount = bitCount;
    l.bitFields = compression == BI_BITFIELDS;
    if (l.width * l.height > kMaxPixels)
        return false;

    // The masks follow a 40-byte header and sit inside the longer ones, at the same place.
    l.maskStart = kFileHeaderSize + kInfoHeaderSize;
    l.tableStart = kFileHeaderSize + infoSize;
    if (l.bitFields)
        l.tableStart = std::max(l.tableStart, l.maskStart + kMaskBytes);
    if (l.tableStart > size)
        return false;
    l.tableEntries = bitCount <= 8 && colorsUsed == 0 ? (qint64(1) << bitCount) : colorsUsed;
    if (l.tableEntries > (size - l.tableStart) / 4)
        return false;
    l.pixelStart = l.tableStart + l.tableEntries * 4;

    l.stride = (l.width * bitCount + 31) / 32 * 4;
    if (l.stride > size || l.height > (size - l.pixelStart) / l.stride)
        return false;
    const qint64 imageBytes = l.stride * l.height;
    // Writers that pad between the table and the pixels say so in the file header; an offset
    // that points nowhere sensible is ignored in favour of the one the headers imply.
    if (offBits > l.pixelStart && offBits <= size - imageBytes)
        l.pixelStart = offBits;
    out = l;
    return true;
}

void DecodeRows(const uchar* data, const Layout& l, QImage& image)
{
    QList<QRgb> table;
    if (l.bitCount <= 8) {
        // Indices beyond a short table show black.
        table.fill(qRgb(0, 0, 0), 1 << l.bitCount);
        const qint64 used = std::min<qint64>(l.tableEntries, table.size());
        for (qint64 i = 0; i < used; ++i) {
            const uchar* q = data + l.tableStart + i * 4;
            table[i] = qRgb(q[2], q[1], q[0]);
        }
    }

    quint32 masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (l.bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    if (l.bitFields) {
        for (int i = 0; i < 3; ++i)
            masks[i] = U32(data + l.maskStart + 4 * i);
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

    const int width = int(l.width);
    for (qint64 row = 0; row < l.height; ++row) {
        const uchar* src = data + l.pixelStart + row * l.stride;
        const int y = int(l.topDown ? row : l.height - 1 - row);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        switch (l.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = l.bitCount;
            const int perByte = 8 / bits;
            const int indexMask = (1 << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                dst[x] = table[(src[x / perByte] >> shift) & indexMask];
            }
            break;
        }
        case 16:
            for (int x = 0; x < width; ++x) {
                const quint32 p = U16(src + 2 * x);
                dst[x] = qRgb(red(p), green(p), blue(p));
            }
            break;
        case 24:
            for (int x = 0; x < width; ++x)
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        case 32:
            for (int x = 0; x < width; ++x) {
                const quint32 p = U32(src + 4 * x);
                dst[x] = qRgb(red(p), green(p), blue(p));
            }
            break;
        }
    }
}

} // namespace

bool DecodeBitmapFile(QByteArrayView file, QImage& picture)
{
    const auto* data = reinterpret_cast<const uchar*>(file.data());
    const qint64 size = file.size();
    Layout layout;
    if (!ReadLayout(data, size, layout))
        return false;
    QImage image(int(layout.width), int(layout.height), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    DecodeRows(data, layout, image);
    picture = std::move(image);
    return true;
}

bool LoadBitmapFile(const QString& path, QImage& picture)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return false;
    const QByteArray bytes = file.readAll();
    return DecodeBitmapFile(bytes, picture);
}
