#include "link2/ems_bitmap.h"

#include "platform/folders.h"

#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace dh2 {

namespace {

constexpr int kBmpHeaderBytes = 54;
constexpr int kInfoHeaderBytes = 40;

// One byte per pixel (1 black, 0 white) for `count` pixels of the source; nothing when the data
// holds fewer or the depth is one we do not read.
std::optional<QByteArray> ExpandPixels(qsizetype count, int bitsPerPixel, QByteArrayView data)
{
    QByteArray pixels(count, '\0');
    if (bitsPerPixel == 1) {
        if (data.size() < (count + 7) / 8)
            return std::nullopt;
        for (qsizetype i = 0; i < count; ++i)
            pixels[i] = char((quint8(data[i / 8]) >> (7 - i % 8)) & 1);
        return pixels;
    }
    if (bitsPerPixel == 24) {
        if (data.size() / 3 < count)
            return std::nullopt;
        for (qsizetype i = 0; i < count; ++i)
            pixels[i] = data[3 * i + 1] == '\0' ? 1 : 0;
        return pixels;
    }
    std::fputs("NIY\n", stderr);
    return std::nullopt;
}

bool SizeFits(int width, int height, int frames)
{
    return width > 0 && height > 0 && frames > 0 && qint64(width) * height * frames <= CEmsPictureBitmap::kMaxPixels;
}

// One byte per pixel, and the text: the header, then each row as "<0|1> " per pixel and a line
// break.
struct Bitmap {
    QByteArray pixels;
    QByteArray text;
};

std::optional<Bitmap> ConvertFrames(int width, int height, int bitsPerPixel, int frames, QByteArrayView data,
    const QByteArray& header)
{
    if (!SizeFits(width, height, frames))
        return std::nullopt;
    std::optional<QByteArray> pixels = ExpandPixels(qsizetype(width) * height * frames, bitsPerPixel, data);
    if (!pixels)
        return std::nullopt;
    Bitmap bitmap {std::move(*pixels), header};
    bitmap.text.reserve(header.size() + bitmap.pixels.size() * 2 + bitmap.pixels.size() / width);
    for (qsizetype i = 0; i < bitmap.pixels.size(); ++i) {
        bitmap.text += bitmap.pixels[i] ? "1 " : "0 ";
        if ((i + 1) % width == 0)
            bitmap.text += '\n';
    }
    return bitmap;
}

void PutLe16(QByteArray& out, int offset, quint16 value)
{
    qToLittleEndian(value, out.data() + offset);
}

void PutLe32(QByteArray& out, int offset, quint32 value)
{
    qToLittleEndian(value, out.data() + offset);
}

} // namespace

bool CEmsPictureBitmap::Convert(int nWidth, int nHeight, int nBitsPerPixel, QByteArrayView data)
{
    Free();
    const QByteArray header = "P" + QByteArray::number(m_nKind) + '\n' + QByteArray::number(nWidth) + ' '
        + QByteArray::number(nHeight) + '\n';
    std::optional<Bitmap> bitmap = ConvertFrames(nWidth, nHeight, nBitsPerPixel, 1, data, header);
    if (!bitmap)
        return false;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nBitsPerPixel = nBitsPerPixel;
    m_pixels = std::move(bitmap->pixels);
    m_text = std::move(bitmap->text);
    return true;
}

QByteArray CEmsPictureBitmap::ToBgr() const
{
    QByteArray bgr(m_pixels.size() * 3, Qt::Uninitialized);
    for (qsizetype i = 0; i < m_pixels.size(); ++i) {
        const char value = m_pixels[i] ? char(0) : char(0xFF);
        bgr[3 * i] = value;
        bgr[3 * i + 1] = value;
        bgr[3 * i + 2] = value;
    }
    return bgr;
}

bool CEmsPictureBitmap::WriteBmp(const QString& fileName) const
{
    const QByteArray file = MakeBmpFile(m_nWidth, m_nHeight, ToBgr());
    return !file.isEmpty() && platform::WriteFileAtomically(fileName, file);
}

void CEmsPictureBitmap::Free()
{
    m_nWidth = 0;
    m_nHeight = 0;
    m_nBitsPerPixel = 0;
    m_pixels.clear();
    m_text.clear();
}

bool CEmsAnimationBitmap::Convert(int nWidth, int nHeight, int nBitsPerPixel, int nFrames, QByteArrayView data)
{
    Free();
    if (nFrames > kMaxFrames)
        return false;
    const QByteArray header = "A" + QByteArray::number(m_nKind) + '\n' + QByteArray::number(nWidth) + ' '
        + QByteArray::number(nHeight) + ' ' + QByteArray::number(nFrames) + '\n';
    std::optional<Bitmap> bitmap = ConvertFrames(nWidth, nHeight, nBitsPerPixel, nFrames, data, header);
    if (!bitmap)
        return false;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nBitsPerPixel = nBitsPerPixel;
    m_nFrames = nFrames;
    m_pixels = std::move(bitmap->pixels);
    m_text = std::move(bitmap->text);
    return true;
}

void CEmsAnimationBitmap::Free()
{
    m_nWidth = 0;
    m_nHeight = 0;
    m_nBitsPerPixel = 0;
    m_nFrames = 0;
    m_pixels.clear();
    m_text.clear();
}

QByteArray MakeBmpFile(int nWidth, int nHeight, QByteArrayView bgr)
{
    if (!SizeFits(nWidth, nHeight, 1) || bgr.size() != qsizetype(nWidth) * nHeight * 3)
        return {};
    const int rowBytes = (nWidth * 3 + 3) / 4 * 4;
    const int imageBytes = rowBytes * nHeight;
    QByteArray file(kBmpHeaderBytes + imageBytes, '\0');
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file, 2, quint32(file.size()));
    PutLe32(file, 10, kBmpHeaderBytes);
    PutLe32(file, 14, kInfoHeaderBytes);
    PutLe32(file, 18, quint32(nWidth));
    PutLe32(file, 22, quint32(nHeight)); // positive: bottom-up
    PutLe16(file, 26, 1);                // planes
    PutLe16(file, 28, 24);               // bits per pixel
    PutLe32(file, 30, 0);                // no compression
    PutLe32(file, 34, quint32(imageBytes));
    for (int row = 0; row < nHeight; ++row) {
        const qsizetype from = qsizetype(nHeight - 1 - row) * nWidth * 3;
        std::copy_n(bgr.data() + from, nWidth * 3, file.data() + kBmpHeaderBytes + qsizetype(row) * rowBytes);
    }
    return file;
}

} // namespace dh2
