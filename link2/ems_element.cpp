#include "link2/ems_element.h"

#include "common/text_codec.h"
#include "link2/imelody.h"

namespace dh2 {

namespace {

using common::GsmDialect;

constexpr int kElementHeaderBytes = 2; // identifier and length

// The text of a picture or animation into the buffer (when given); its size, 0 without one.
template <typename Bitmap>
int BitmapText(const Bitmap* bitmap, QByteArray* buffer)
{
    const QByteArray text = bitmap ? bitmap->Text() : QByteArray();
    if (buffer)
        *buffer = text;
    return int(text.size());
}

} // namespace

bool CEmsElement::SaveToFile(const QString&)
{
    return false;
}

int CEmsElement::GetEncodedSize(int) const
{
    return m_nSize;
}

int CEmsElement::EncodeText(QByteArray*, int) const
{
    return 0;
}

int CEmsElement::Decode(QByteArrayView element)
{
    if (element.size() < kElementHeaderBytes)
        return 0;
    const int size = quint8(element[1]) + kElementHeaderBytes;
    if (element.size() < size)
        return 0;
    m_element = element.first(size).toByteArray();
    m_nSize = size;
    return size;
}

void CEmsElement::SetPosition(int nPosition, int)
{
    if (m_element.size() > kElementHeaderBytes)
        m_element[kElementHeaderBytes] = char(nPosition);
}

QString CEmsElement::GetTypeName() const
{
    return {};
}

int CEmsElement::GetData(QByteArray*) const
{
    return 0;
}

int CEmsElement::GetNumber() const
{
    return -1;
}

QByteArrayView CEmsElement::DataFrom(int offset) const
{
    const qsizetype start = kElementHeaderBytes + offset;
    if (start >= m_element.size())
        return {};
    return QByteArrayView(m_element).sliced(start);
}

int CEmsText::SetText(QStringView text, int nCoding)
{
    if (nCoding != CodingGsm && nCoding != Coding8Bit && nCoding != CodingUcs2)
        return 0;
    m_strText = text.toString();
    return int(m_strText.size());
}

int CEmsText::GetEncodedSize(int nCoding) const
{
    return m_nSize + EncodeText(nullptr, nCoding);
}

int CEmsText::EncodeText(QByteArray* buffer, int nCoding) const
{
    switch (nCoding) {
    case CodingUcs2:
        if (buffer) {
            for (const QChar unit : m_strText) {
                buffer->append(char(unit.unicode() >> 8));
                buffer->append(char(unit.unicode() & 0xFF));
            }
        }
        return int(m_strText.size() * 2);
    case Coding8Bit: {
        QByteArray bytes;
        const qsizetype count = common::Ucs2ToBytes(buffer ? &bytes : nullptr, m_strText);
        if (buffer)
            buffer->append(bytes);
        return int(count);
    }
    case CodingGsm: {
        QByteArray octets;
        const qsizetype count = common::Ucs2ToPackedGsm(buffer ? &octets : nullptr, m_strText, GsmDialect::Second);
        if (count < 0)
            return 0;
        if (buffer)
            buffer->append(octets);
        return int(count);
    }
    default:
        return 0;
    }
}

void CEmsText::SetPosition(int nPosition, int nLength)
{
    CEmsElement::SetPosition(nPosition, nLength);
    if (m_element.size() > kElementHeaderBytes + 1)
        m_element[kElementHeaderBytes + 1] = char(nLength);
}

QString CEmsText::GetTypeName() const
{
    return QStringLiteral("text");
}

int CEmsText::GetData(QByteArray* buffer) const
{
    if (buffer)
        *buffer = QByteArray(reinterpret_cast<const char*>(m_strText.utf16()), m_strText.size() * 2);
    return int(m_strText.size());
}

QString CEmsPredefinedSound::GetTypeName() const
{
    return QStringLiteral("sound");
}

int CEmsPredefinedSound::GetNumber() const
{
    const QByteArrayView number = DataFrom(1);
    return number.isEmpty() ? -1 : quint8(number[0]);
}

bool CEmsUserSound::SaveToFile(const QString& fileName)
{
    CIMelody melody;
    return melody.Write(DataFrom(1)) && melody.WriteFile(fileName);
}

QString CEmsUserSound::GetTypeName() const
{
    return QStringLiteral("sound");
}

int CEmsUserSound::GetData(QByteArray* buffer) const
{
    const QByteArrayView melody = DataFrom(1);
    if (buffer)
        *buffer = melody.toByteArray();
    return int(melody.size());
}

QByteArray CEmsUserSound::NormalisedMelody() const
{
    CIMelody melody;
    melody.Write(DataFrom(1));
    return melody.Text();
}

QString CEmsPredefinedAnimation::GetTypeName() const
{
    return QStringLiteral("animation");
}

int CEmsPredefinedAnimation::GetNumber() const
{
    const QByteArrayView number = DataFrom(1);
    return number.isEmpty() ? -1 : quint8(number[0]);
}

bool CEmsAnimationElement::SaveToFile(const QString&)
{
    return true;
}

QString CEmsAnimationElement::GetTypeName() const
{
    return QStringLiteral("animation");
}

int CEmsAnimationElement::GetData(QByteArray* buffer) const
{
    return BitmapText(m_pBitmap.get(), buffer);
}

int CEmsAnimationElement::DecodeAnimation(QByteArrayView element, int nWidth, int nHeight)
{
    const int size = CEmsElement::Decode(element);
    if (size == 0)
        return 0;
    auto bitmap = std::make_unique<CEmsAnimationBitmap>();
    if (!bitmap->Convert(nWidth, nHeight, 1, kFrames, DataFrom(1)))
        return 0;
    m_pBitmap = std::move(bitmap);
    return size;
}

bool CEmsPictureElement::SaveToFile(const QString& fileName)
{
    return m_pBitmap && m_pBitmap->WriteBmp(fileName);
}

QString CEmsPictureElement::GetTypeName() const
{
    return QStringLiteral("picture");
}

int CEmsPictureElement::GetData(QByteArray* buffer) const
{
    return BitmapText(m_pBitmap.get(), buffer);
}

int CEmsPictureElement::DecodePicture(QByteArrayView element, int nWidth, int nHeight, int dataOffset)
{
    const int size = CEmsElement::Decode(element);
    if (size == 0)
        return 0;
    auto bitmap = std::make_unique<CEmsPictureBitmap>();
    if (!bitmap->Convert(nWidth, nHeight, 1, DataFrom(dataOffset)))
        return 0;
    m_pBitmap = std::move(bitmap);
    return size;
}

int CEmsVariablePicture::Decode(QByteArrayView element)
{
    // Position, width in bytes, height, then the pixels.
    if (element.size() < kElementHeaderBytes + 3 || quint8(element[1]) < 3)
        return 0;
    return DecodePicture(element, quint8(element[3]) * 8, quint8(element[4]), 3);
}

} // namespace dh2
