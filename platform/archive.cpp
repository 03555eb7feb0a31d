#include "platform/archive.h"

#include "platform/ansi_codepage.h"
#include "platform/ole_date_time.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr quint16 kUnicodeMarker = 0xFFFE;

template <typename T>
void appendLittleEndian(QByteArray& data, T value)
{
    const T le = qToLittleEndian(value);
    data.append(reinterpret_cast<const char*>(&le), sizeof le);
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

CArchive::CArchive(QByteArray data) : m_data(std::move(data)), m_storing(false) {}

bool CArchive::take(void* out, qsizetype size)
{
    if (m_storing || m_status != Ok || size > m_data.size() - m_pos) {
        m_status = EndOfFile;
        std::memset(out, 0, size_t(size));
        return false;
    }
    std::memcpy(out, m_data.constData() + m_pos, size_t(size));
    m_pos += size;
    return true;
}

CArchive& CArchive::operator<<(quint8 value)
{
    m_data.append(char(value));
    return *this;
}

CArchive& CArchive::operator<<(quint16 value)
{
    appendLittleEndian(m_data, value);
    return *this;
}

CArchive& CArchive::operator<<(quint32 value)
{
    appendLittleEndian(m_data, value);
    return *this;
}

CArchive& CArchive::operator<<(qint32 value)
{
    appendLittleEndian(m_data, value);
    return *this;
}

CArchive& CArchive::operator<<(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    appendLittleEndian(m_data, bits);
    return *this;
}

void CArchive::writeStringLength(quint64 length)
{
    if (length < 0xFF) {
        *this << quint8(length);
    } else if (length < kUnicodeMarker) {
        *this << quint8(0xFF) << quint16(length);
    } else {
        *this << quint8(0xFF) << quint16(0xFFFF) << quint32(length);
    }
}

CArchive& CArchive::operator<<(const QString& value)
{
    if (isAscii(value)) {
        writeStringLength(quint64(value.size()));
        m_data.append(value.toLatin1());
        return *this;
    }
    *this << quint8(0xFF) << kUnicodeMarker;
    writeStringLength(quint64(value.size()));
    for (const QChar c : value)
        *this << quint16(c.unicode());
    return *this;
}

CArchive& CArchive::operator<<(const COleDateTime& value)
{
    return *this << qint32(value.GetStatus()) << value.m_dt;
}

CArchive& CArchive::operator>>(quint8& value)
{
    take(&value, sizeof value);
    return *this;
}

CArchive& CArchive::operator>>(quint16& value)
{
    if (take(&value, sizeof value))
        value = qFromLittleEndian(value);
    return *this;
}

CArchive& CArchive::operator>>(quint32& value)
{
    if (take(&value, sizeof value))
        value = qFromLittleEndian(value);
    return *this;
}

CArchive& CArchive::operator>>(qint32& value)
{
    if (take(&value, sizeof value))
        value = qFromLittleEndian(value);
    return *this;
}

CArchive& CArchive::operator>>(double& value)
{
    quint64 bits = 0;
    if (take(&bits, sizeof bits))
        bits = qFromLittleEndian(bits);
    std::memcpy(&value, &bits, sizeof value);
    return *this;
}

quint64 CArchive::readStringLength(bool& unicode)
{
    unicode = false;
    quint8 byte = 0;
    *this >> byte;
    if (byte < 0xFF)
        return byte;
    quint16 word = 0;
    *this >> word;
    if (word == kUnicodeMarker) {
        unicode = true;
        *this >> byte;
        if (byte < 0xFF)
            return byte;
        *this >> word;
    }
    if (word < 0xFFFF)
        return word;
    quint32 dword = 0;
    *this >> dword;
    return dword;
}

CArchive& CArchive::operator>>(QString& value)
{
    value.clear();
    bool unicode = false;
    const quint64 length = readStringLength(unicode);
    if (m_status != Ok)
        return *this;
    const quint64 unitSize = unicode ? 2 : 1;
    if (length > quint64(BytesLeft()) / unitSize) {
        m_status = EndOfFile;
        return *this;
    }
    const char* start = m_data.constData() + m_pos;
    m_pos += qsizetype(length * unitSize);
    if (unicode) {
        value.resize(qsizetype(length));
        for (quint64 i = 0; i < length; ++i)
            value[qsizetype(i)] = QChar(qFromLittleEndian<quint16>(start + 2 * i));
        return *this;
    }
    const QByteArray bytes(start, qsizetype(length));
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    m_legacyText = m_legacyText || !ascii;
    value = ascii ? QString::fromLatin1(bytes) : platform::FromLegacy(bytes);
    return *this;
}

CArchive& CArchive::operator>>(COleDateTime& value)
{
    qint32 status = 0;
    double dt = 0.0;
    *this >> status >> dt;
    value.m_dt = dt;
    value.SetStatus(status == COleDateTime::valid || status == COleDateTime::null
                        ? COleDateTime::DateTimeStatus(status)
                        : COleDateTime::invalid);
    return *this;
}

bool CArchive::ReadCount(qint32& count, int minItemBytes)
{
    *this >> count;
    const qsizetype perItem = minItemBytes > 0 ? minItemBytes : 1;
    if (m_status != Ok || count < 0 || count > BytesLeft() / perItem) {
        m_status = EndOfFile;
        count = 0;
        return false;
    }
    return true;
}
