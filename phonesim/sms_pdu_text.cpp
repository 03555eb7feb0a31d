#include "phonesim/sms_pdu_text.h"

#include "phonesim/gsm_alphabet.h"

namespace phonesim {

namespace {

// Reads octets in order and notices when a field runs past the end.
class OctetReader {
public:
    explicit OctetReader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    int next()
    {
        if (m_at >= m_bytes.size()) {
            m_ok = false;
            return 0;
        }
        return quint8(m_bytes[m_at++]);
    }
    QByteArray take(qsizetype count)
    {
        if (count < 0 || count > m_bytes.size() - m_at) {
            m_ok = false;
            return {};
        }
        m_at += count;
        return m_bytes.mid(m_at - count, count);
    }
    void skip(qsizetype count) { take(count); }

private:
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

int OctetAt(const QByteArray& bytes, qsizetype at)
{
    return at < bytes.size() ? quint8(bytes[at]) : 0;
}

// The septets of packed 7-bit user data, the first one at bit 0.
QByteArray Unpack(const QByteArray& octets, int septets)
{
    QByteArray out;
    for (int k = 0; k < septets; ++k) {
        const int bit = k * 7;
        const int low = OctetAt(octets, bit / 8);
        const int high = OctetAt(octets, bit / 8 + 1);
        out += char(((low | high << 8) >> (bit % 8)) & 0x7F);
    }
    return out;
}

int SemiOctets(int octet)
{
    return (octet & 0x0F) * 10 + (octet >> 4);
}

QString Address(OctetReader& reader)
{
    const int digits = reader.next();
    const int type = reader.next();
    const QByteArray octets = reader.take((digits + 1) / 2);
    if (!reader.ok())
        return {};
    if ((type & 0x70) == 0x50) // alphanumeric: packed 7-bit text in the semi-octets
        return FromGsmCodes(Unpack(octets, digits * 4 / 7)).value_or(QString());
    QString number = (type & 0x70) == 0x10 ? QStringLiteral("+") : QString();
    for (int i = 0; i < digits; ++i) {
        const int nibble = i % 2 == 0 ? quint8(octets[i / 2]) & 0x0F : quint8(octets[i / 2]) >> 4;
        number += nibble < 10 ? QChar(u'0' + nibble) : QChar(u"*#abc?"[std::min(nibble - 10, 5)]);
    }
    return number;
}

} // namespace

std::optional<PduContent> ReadPdu(const QByteArray& pduHex)
{
    const QByteArray bytes = QByteArray::fromHex(pduHex);
    OctetReader reader(bytes);
    reader.skip(reader.next()); // service centre
    const int first = reader.next();
    PduContent content;
    content.received = (first & 0x03) == 0;
    if ((first & 0x03) > 1)
        return std::nullopt;
    if (!content.received)
        reader.next(); // message reference
    content.number = Address(reader);
    reader.next(); // protocol identifier
    const int scheme = reader.next();
    if (content.received) {
        const QByteArray stamp = reader.take(7);
        if (reader.ok()) {
            content.time = QDateTime(QDate(2000 + SemiOctets(quint8(stamp[0])), SemiOctets(quint8(stamp[1])),
                                         SemiOctets(quint8(stamp[2]))),
                QTime(SemiOctets(quint8(stamp[3])), SemiOctets(quint8(stamp[4])), SemiOctets(quint8(stamp[5]))));
            const int zone = quint8(stamp[6]);
            content.zoneQuarters = ((zone & 0x07) * 10 + (zone >> 4)) * (zone & 0x08 ? -1 : 1);
        }
    } else {
        const int validity = first & 0x18;
        reader.skip(validity == 0x10 ? 1 : validity == 0 ? 0 : 7);
    }
    const int length = reader.next();
    const int coding = (scheme >> 2) & 0x03;
    content.alphabet = coding == 0 ? PduContent::Gsm : coding == 2 ? PduContent::Ucs2 : PduContent::Data;
    const QByteArray userData = reader.take(coding == 0 ? (length * 7 + 7) / 8 : length);
    if (!reader.ok())
        return std::nullopt;
    const int header = first & 0x40 ? OctetAt(userData, 0) + 1 : 0;
    if (header > userData.size())
        return std::nullopt;
    if (coding == 0) {
        const int skipped = (header * 8 + 6) / 7;
        content.text = FromGsmCodes(Unpack(userData, length).mid(skipped)).value_or(QString());
    } else if (coding == 2) {
        const QByteArray units = userData.mid(header);
        for (qsizetype i = 0; i + 1 < units.size(); i += 2)
            content.text += QChar(char16_t(quint8(units[i]) << 8 | quint8(units[i + 1])));
    } else {
        content.data = userData.mid(header);
    }
    return content;
}

} // namespace phonesim
