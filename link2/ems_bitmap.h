#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace dh2 {

// The pictures and animations of enhanced messages, turned into one byte per pixel (1 black,
// 0 white), a plain-text bitmap and, for pictures, a BMP file. The source is a bit stream at 1
// bit per pixel (most significant bit first, rows back to back) or 3-byte pixels at 24 bits,
// where a pixel is black when its middle byte is 0. Data shorter than the picture fails the
// conversion; longer data is ignored after the picture.
class CEmsPictureBitmap {
public:
    // Pictures larger than this are no message picture (a variable picture is at most
    // 255 x 8 wide and 255 high); refusing them keeps every buffer small.
    static constexpr int kMaxPixels = 255 * 8 * 255;

    // Converts the data; on failure the bitmap is empty. The text is "P1\n<w> <h>\n" and one
    // line per row of "<0|1> " per pixel.
    bool Convert(int nWidth, int nHeight, int nBitsPerPixel, QByteArrayView data);
    // A 24-bit bottom-up BMP of the pixels, written atomically; false when there are none or the
    // file cannot be written.
    bool WriteBmp(const QString& fileName) const;
    // The pixels as blue-green-red triples, row after row from the top, unpadded.
    QByteArray ToBgr() const;
    void Free();

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    const QByteArray& Pixels() const { return m_pixels; }
    const QByteArray& Text() const { return m_text; }

private:
    int m_nKind = 1; // 1: one bit per pixel after the conversion
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitsPerPixel = 0; // of the source
    QByteArray m_pixels;
    QByteArray m_text;
};

// The frames of an animation, one after another in the data and in the pixels; the text is
// "A1\n<w> <h> <frames>\n" and the rows of every frame.
class CEmsAnimationBitmap {
public:
    static constexpr int kMaxFrames = 16;

    bool Convert(int nWidth, int nHeight, int nBitsPerPixel, int nFrames, QByteArrayView data);
    void Free();

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int Frames() const { return m_nFrames; }
    const QByteArray& Pixels() const { return m_pixels; }
    const QByteArray& Text() const { return m_text; }

private:
    int m_nKind = 1;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitsPerPixel = 0;
    int m_nFrames = 0;
    QByteArray m_pixels;
    QByteArray m_text;
};

// A whole 24-bit bottom-up BMP file of a picture given as top-down blue-green-red rows: file
// header, 40-byte information header, rows padded to four bytes. Every field little-endian.
// Empty when the sizes do not match the pixels.
QByteArray MakeBmpFile(int nWidth, int nHeight, QByteArrayView bgr);

} // namespace dh2
