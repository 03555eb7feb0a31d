#pragma once

#include "link2/ems_bitmap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

namespace dh2 {

// The codings of a message's user data (bits 2-3 of the data coding scheme): the GSM 7-bit
// alphabet, 8-bit data, UCS-2, and the reserved value that carries no text.
enum SmsCoding { CodingGsm = 0, Coding8Bit = 4, CodingUcs2 = 8, CodingReserved = 12 };

// One piece of an enhanced message, in the order the decoder finds them: a run of text or one
// information element of the user-data header (formatting, sound, animation, picture). Each
// keeps a copy of its element (identifier, length, data) and, for text, its characters.
class CEmsElement {
public:
    CEmsElement() = default;
    virtual ~CEmsElement() = default;
    CEmsElement(const CEmsElement&) = delete;
    CEmsElement& operator=(const CEmsElement&) = delete;

    // Stores the element in a file of its own kind; false when it has none.
    virtual bool SaveToFile(const QString& fileName);
    // The bytes the element takes in a message of that coding.
    virtual int GetEncodedSize(int nCoding) const;
    // Appends the element's text in that coding to the buffer (when given); returns its bytes.
    virtual int EncodeText(QByteArray* buffer, int nCoding) const;
    // Takes the element from the start of `element` (identifier, length, data). Returns its
    // size, length + 2, or 0 when it runs past the bytes given or its data does not make the
    // element (a picture shorter than its size).
    virtual int Decode(QByteArrayView element);
    // Moves the element to a text position (its first data byte).
    virtual void SetPosition(int nPosition, int nLength);
    // "text", "sound", "animation" or "picture"; empty for the base.
    virtual QString GetTypeName() const;
    // The element's content (text, iMelody, bitmap text) into the buffer when given; returns
    // its size in the class's own unit.
    virtual int GetData(QByteArray* buffer) const;
    // The number of a predefined sound or animation; -1 for the rest.
    virtual int GetNumber() const;

    const QByteArray& Element() const { return m_element; }
    int ElementSize() const { return m_nSize; }
    const QString& Text() const { return m_strText; }

protected:
    // The element's data bytes from `offset` on; empty when it has none there.
    QByteArrayView DataFrom(int offset) const;

    QByteArray m_element; // identifier, length, data
    int m_nSize = 0;      // length + 2; 0 for a plain text run
    QString m_strText;
};

// A run of text, plain or with formatting (identifier 10).
class CEmsText : public CEmsElement {
public:
    // Takes the text for codings 0, 4 and 8; any other coding keeps none and returns 0.
    // Returns the unit count.
    int SetText(QStringView text, int nCoding);

    int GetEncodedSize(int nCoding) const override;
    int EncodeText(QByteArray* buffer, int nCoding) const override;
    // Also writes the length of the formatted text into the second data byte.
    void SetPosition(int nPosition, int nLength) override;
    QString GetTypeName() const override;
    // The text's UTF-16 bytes; returns the unit count.
    int GetData(QByteArray* buffer) const override;

    bool IsFormatted() const { return !m_element.isEmpty(); }
};

class CEmsSoundElement : public CEmsElement {};

// A sound of the phone's own, by number (identifier 11).
class CEmsPredefinedSound : public CEmsSoundElement {
public:
    QString GetTypeName() const override;
    int GetNumber() const override;
};

// A melody in iMelody (identifier 12).
class CEmsUserSound : public CEmsSoundElement {
public:
    // The normalised iMelody text; false when the melody does not parse or cannot be written.
    bool SaveToFile(const QString& fileName) override;
    QString GetTypeName() const override;
    // The iMelody text as it came; returns its bytes.
    int GetData(QByteArray* buffer) const override;
    // The normalised iMelody text; empty when the melody does not parse.
    QByteArray NormalisedMelody() const;
};

// An animation of the phone's own, by number (identifier 13).
class CEmsPredefinedAnimation : public CEmsElement {
public:
    QString GetTypeName() const override;
    int GetNumber() const override;
};

// A bitmap animation of four frames.
class CEmsAnimationElement : public CEmsElement {
public:
    static constexpr int kFrames = 4;

    // Nothing is written: animations have no file form here.
    bool SaveToFile(const QString& fileName) override;
    QString GetTypeName() const override;
    // The bitmap's text; returns its bytes.
    int GetData(QByteArray* buffer) const override;

    const CEmsAnimationBitmap* Bitmap() const { return m_pBitmap.get(); }

protected:
    int DecodeAnimation(QByteArrayView element, int nWidth, int nHeight);

    std::unique_ptr<CEmsAnimationBitmap> m_pBitmap;
};

// 16 x 16 pixels (identifier 14).
class CEmsLargeAnimation : public CEmsAnimationElement {
public:
    int Decode(QByteArrayView element) override { return DecodeAnimation(element, 16, 16); }
};

// 8 x 8 pixels (identifier 15).
class CEmsSmallAnimation : public CEmsAnimationElement {
public:
    int Decode(QByteArrayView element) override { return DecodeAnimation(element, 8, 8); }
};

// A black-and-white picture.
class CEmsPictureElement : public CEmsElement {
public:
    // A BMP file of the picture.
    bool SaveToFile(const QString& fileName) override;
    QString GetTypeName() const override;
    // The bitmap's text; returns its bytes.
    int GetData(QByteArray* buffer) const override;

    const CEmsPictureBitmap* Bitmap() const { return m_pBitmap.get(); }

protected:
    // The picture's pixels begin at data byte `dataOffset`.
    int DecodePicture(QByteArrayView element, int nWidth, int nHeight, int dataOffset);

    std::unique_ptr<CEmsPictureBitmap> m_pBitmap;
};

// 32 x 32 pixels (identifier 16).
class CEmsLargePicture : public CEmsPictureElement {
public:
    int Decode(QByteArrayView element) override { return DecodePicture(element, 32, 32, 1); }
};

// 16 x 16 pixels (identifier 17).
class CEmsSmallPicture : public CEmsPictureElement {
public:
    int Decode(QByteArrayView element) override { return DecodePicture(element, 16, 16, 1); }
};

// Width (in bytes of eight pixels) and height from the element (identifier 18).
class CEmsVariablePicture : public CEmsPictureElement {
public:
    int Decode(QByteArrayView element) override;
};

} // namespace dh2
