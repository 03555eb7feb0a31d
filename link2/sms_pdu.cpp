#include "link2/sms_pdu.h"

#include "common/text_codec.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

namespace dh2 {

namespace {

using common::GsmDialect;

constexpr quint8 kTypeInternational = 0x91;
constexpr quint8 kTypeUnknown = 0x81;
constexpr quint8 kTypeNumberMask = 0x70;
constexpr quint8 kTypeNumberInternational = 0x10;
constexpr quint8 kTypeNumberAlphanumeric = 0x50;
constexpr quint8 kValidityMask = 0x18;
constexpr quint8 kValidityRelative = 0x10;
constexpr quint8 kValidityNone = 0x00;
constexpr int kTimeStampBytes = 7;
constexpr int kMaxSeptets = 160;
constexpr quint8 kConcatenation8 = 0;
constexpr quint8 kConcatenation16 = 8;
constexpr quint8 kTextFormatting = 10;

// Reads a PDU front to back; every read fails rather than run past the end.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool Byte(quint8& out)
    {
        if (m_pos >= m_bytes.size())
            return false;
        out = quint8(m_bytes[m_pos++]);
        return true;
    }

    bool Take(qsizetype count, QByteArrayView& out)
    {
        if (count < 0 || count > m_bytes.size() - m_pos)
            return false;
        out = m_bytes.sliced(m_pos, count);
        m_pos += count;
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// The characters of exactly `count` septets packed from bit 0 of the octets.
QString SeptetText(QByteArrayView octets, qsizetype count)
{
    QByteArray septets;
    common::UnpackSeptets(&septets, octets);
    septets.truncate(std::min(count, septets.size()));
    QString text;
    common::GsmSeptetsToUcs2(&text, septets, GsmDialect::Second);
    return text;
}

// A semi-octet of an address as a character; 0xF is filler and gives none.
std::optional<QChar> SemiOctetChar(int value)
{
    static constexpr char kChars[] = "0123456789*#abc";
    if (value < 0 || value >= 15)
        return std::nullopt;
    return QChar(kChars[value]);
}

std::optional<quint8> SemiOctetValue(QChar c)
{
    static constexpr char16_t kChars[] = u"0123456789*#abc";
    for (int value = 0; value < 15; ++value) {
        if (c == kChars[value])
            return quint8(value);
    }
    return std::nullopt;
}

// The header's elements, each checked to lie inside it; false when one runs past the end.
template <typename OnElement>
bool WalkHeader(const QByteArray& header, OnElement onElement)
{
    qsizetype pos = 1; // after the length octet
    while (pos < header.size()) {
        if (header.size() - pos < 2)
            return false;
        const qsizetype size = quint8(header[pos + 1]) + 2;
        if (size > header.size() - pos)
            return false;
        onElement(QByteArrayView(header).sliced(pos, size));
        pos += size;
    }
    return true;
}

std::unique_ptr<CEmsElement> MakeElement(quint8 identifier)
{
    switch (identifier) {
    case 11: return std::make_unique<CEmsPredefinedSound>();
    case 12: return std::make_unique<CEmsUserSound>();
    case 13: return std::make_unique<CEmsPredefinedAnimation>();
    case 14: return std::make_unique<CEmsLargeAnimation>();
    case 15: return std::make_unique<CEmsSmallAnimation>();
    case 16: return std::make_unique<CEmsLargePicture>();
    case 17: return std::make_unique<CEmsSmallPicture>();
    case 18: return std::make_unique<CEmsVariablePicture>();
    default: return nullptr;
    }
}

void ReportUnsupported(quint8 identifier)
{
    std::fprintf(stderr, "Not supported IE (type 0x%02X) Ignored\n", unsigned(identifier));
}

} // namespace

QString CSmsSegment::Text() const
{
    switch (m_nCoding) {
    case CodingUcs2: {
        QString text(m_message.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(quint8(m_message[2 * i]) << 8 | quint8(m_message[2 * i + 1])));
        return text;
    }
    case Coding8Bit: {
        QString text;
        common::BytesToUcs2(&text, m_message);
        return text;
    }
    case CodingGsm:
        return SeptetText(m_message, m_nMessageSeptets);
    default:
        return {};
    }
}

CSmsPdu::CSmsPdu()
{
    m_validityPeriod[0] = 167; // relative: one day
    SetAddress(u"");
    SetServiceCentre(u"");
}

bool CSmsPdu::Decode(QByteArrayView pdu)
{
    if (m_segments.size() >= size_t(kMaxSegments))
        return false;
    ByteReader reader(pdu);

    quint8 scLength = 0;
    QByteArrayView sc;
    if (!reader.Byte(scLength) || scLength > kMaxServiceCentreBytes || !reader.Take(scLength, sc))
        return false;
    m_serviceCentre.fill(0);
    m_serviceCentre[0] = scLength;
    std::copy(sc.begin(), sc.end(), m_serviceCentre.begin() + 1);

    if (!reader.Byte(m_nFirstOctet))
        return false;
    const int type = MessageTypeIndicator();
    if (type != TypeDeliver && type != TypeSubmit)
        return false;
    if (type == TypeSubmit && !reader.Byte(m_nMessageReference))
        return false;

    quint8 digits = 0;
    quint8 addressType = 0;
    QByteArrayView semiOctets;
    if (!reader.Byte(digits) || digits > kMaxAddressDigits || !reader.Byte(addressType)
        || !reader.Take((digits + 1) / 2, semiOctets))
        return false;
    m_address.fill(0);
    m_address[0] = digits;
    m_address[1] = addressType;
    std::copy(semiOctets.begin(), semiOctets.end(), m_address.begin() + 2);

    quint8 scheme = 0;
    if (!reader.Byte(m_nProtocolId) || !reader.Byte(scheme))
        return false;
    m_nCoding = scheme & 0x0C;

    QByteArrayView field;
    if (type == TypeDeliver) {
        if (!reader.Take(kTimeStampBytes, field))
            return false;
        std::copy(field.begin(), field.end(), m_timeStamp.begin());
    } else {
        const quint8 format = m_nFirstOctet & kValidityMask;
        const qsizetype length = format == kValidityNone ? 0 : format == kValidityRelative ? 1 : 7;
        if (!reader.Take(length, field))
            return false;
        m_validityPeriod.fill(0);
        std::copy(field.begin(), field.end(), m_validityPeriod.begin());
    }

    quint8 userDataLength = 0;
    if (!reader.Byte(userDataLength))
        return false;
    const bool septets = m_nCoding == CodingGsm;
    if (septets ? userDataLength > kMaxSeptets : userDataLength > CSmsSegment::kMaxMessageBytes)
        return false;
    const int userDataBytes = septets ? (userDataLength * 7 + 7) / 8 : userDataLength;
    QByteArrayView userData;
    if (!reader.Take(userDataBytes, userData))
        return false;

    auto segment = std::make_unique<CSmsSegment>();
    segment->m_nCoding = m_nCoding;
    segment->m_nUserDataSize = userDataLength;
    Concatenation concatenation = m_concatenation;
    if (m_nFirstOctet & kHeaderIndicator) {
        if (userData.isEmpty())
            return false;
        const int headerSize = quint8(userData[0]) + 1;
        if (headerSize > CSmsSegment::kMaxHeaderBytes || headerSize > userData.size())
            return false;
        segment->m_header = userData.first(headerSize).toByteArray();
        bool first = true;
        bool concatenationOk = true;
        const bool headerOk = WalkHeader(segment->m_header, [&](QByteArrayView element) {
            // Only the first element says whether this is one part of a longer message.
            if (!std::exchange(first, false))
                return;
            const quint8 id = quint8(element[0]);
            const QByteArrayView data = element.sliced(2);
            if (id == kConcatenation8) {
                concatenationOk = data.size() >= 3;
                if (concatenationOk)
                    concatenation = {quint8(data[0]), quint8(data[1]), quint8(data[2])};
            } else if (id == kConcatenation16) {
                concatenationOk = data.size() >= 4;
                if (concatenationOk)
                    concatenation = {quint8(data[0]), quint8(data[2]), quint8(data[3])};
            }
        });
        if (!headerOk || !concatenationOk)
            return false;
    }

    const int headerSize = segment->HeaderSize();
    if (!septets) {
        if (userDataLength < headerSize)
            return false;
        segment->m_message = userData.sliced(headerSize).toByteArray();
    } else {
        const int fill = (7 - headerSize * 8 % 7) % 7;
        segment->m_nHeaderSeptets = (headerSize * 8 + fill) / 7;
        if (userDataLength < segment->m_nHeaderSeptets)
            return false;
        segment->m_nMessageSeptets = userDataLength - segment->m_nHeaderSeptets;
        segment->m_nUserDataSize = userDataBytes;
        const int messageBytes = (segment->m_nMessageSeptets * 7 + 7) / 8;
        if (fill == 0) {
            segment->m_message = userData.sliced(headerSize, messageBytes).toByteArray();
        } else {
            // The first message septet starts `fill` bits into the octet after the header.
            segment->m_message.resize(messageBytes);
            for (int i = 0; i < messageBytes; ++i) {
                const qsizetype at = headerSize + i;
                const quint8 next = at + 1 < userData.size() ? quint8(userData[at + 1]) : 0;
                segment->m_message[i] = char(quint8(userData[at]) >> fill | quint8(next << (8 - fill)));
            }
        }
    }
    m_concatenation = concatenation;
    m_segments.push_back(std::move(segment));
    return true;
}

bool CSmsPdu::DecodeElements()
{
    m_elements.clear();
    for (const auto& segment : m_segments)
        DecodeSegmentElements(*segment);
    return true;
}

void CSmsPdu::DecodeSegmentElements(const CSmsSegment& segment)
{
    const QString text = segment.Text();
    if (segment.HeaderSize() == 0) {
        AddText(text, m_nCoding);
        return;
    }
    qsizetype cursor = 0;
    WalkHeader(segment.m_header, [&](QByteArrayView element) {
        const quint8 id = quint8(element[0]);
        if (id == kConcatenation8 || id == kConcatenation16)
            return;
        // The text up to the element's position goes first.
        if (element.size() > 2) {
            const qsizetype position = quint8(element[2]);
            if (cursor < text.size() && cursor < position) {
                const qsizetype end = std::min(position, text.size());
                AddText(QStringView(text).sliced(cursor, end - cursor), m_nCoding);
                cursor = end;
            }
        }
        if (id == kTextFormatting) {
            auto formatted = std::make_unique<CEmsText>();
            formatted->Decode(element);
            const qsizetype length = element.size() > 3 ? quint8(element[3]) : 0;
            const qsizetype count = std::min(length, text.size() - cursor);
            formatted->SetText(QStringView(text).sliced(cursor, count), m_nCoding);
            cursor += count;
            AddElement(std::move(formatted));
            return;
        }
        std::unique_ptr<CEmsElement> made = MakeElement(id);
        if (!made || made->Decode(element) == 0) {
            ReportUnsupported(id);
            return;
        }
        AddElement(std::move(made));
    });
    if (cursor < text.size())
        AddText(QStringView(text).sliced(cursor), m_nCoding);
}

void CSmsPdu::AddElement(std::unique_ptr<CEmsElement> element)
{
    if (m_elements.size() < size_t(kMaxElements))
        m_elements.push_back(std::move(element));
}

void CSmsPdu::AddText(QStringView text, int nCoding)
{
    auto run = std::make_unique<CEmsText>();
    run->SetText(text, nCoding);
    AddElement(std::move(run));
}

QString CSmsPdu::GetAddress() const
{
    const int digits = m_address[0];
    if (digits == 0)
        return {};
    const QByteArrayView semiOctets(reinterpret_cast<const char*>(m_address.data()) + 2, (digits + 1) / 2);
    const quint8 kind = m_address[1] & kTypeNumberMask;
    if (kind == kTypeNumberAlphanumeric)
        return SeptetText(semiOctets, digits * 4 / 7);
    QString address;
    if (kind == kTypeNumberInternational)
        address += u'+';
    for (int i = 0; i < digits; ++i) {
        const quint8 byte = quint8(semiOctets[i / 2]);
        if (const std::optional<QChar> c = SemiOctetChar(i % 2 == 0 ? byte & 0x0F : byte >> 4))
            address += *c;
    }
    return address;
}

bool CSmsPdu::GetTimeStamp(quint8& year, quint8& month, quint8& day, quint8& hour, quint8& minute, quint8& second,
    qint8& zone) const
{
    if (MessageTypeIndicator() != TypeDeliver)
        return false;
    DecodeTimeStamp(m_timeStamp, year, month, day, hour, minute, second, zone);
    return true;
}

int CSmsPdu::GetText(QString* text) const
{
    if (!text)
        return 0;
    qsizetype written = 0;
    for (const auto& segment : m_segments) {
        const QString part = segment->Text();
        text->append(part);
        written += part.size();
    }
    return int(written);
}

bool CSmsPdu::SetAddress(QStringView text)
{
    return EncodeAddress(m_address, text);
}

bool CSmsPdu::SetServiceCentre(QStringView text)
{
    if (!EncodeAddress(m_serviceCentre, text))
        return false;
    // The service centre counts octets, the type of address included.
    if (m_serviceCentre[0] != 0)
        m_serviceCentre[0] = quint8((m_serviceCentre[0] + 1) / 2 + 1);
    return true;
}

QByteArray CSmsPdu::ServiceCentre() const
{
    return QByteArray(reinterpret_cast<const char*>(m_serviceCentre.data()) + 1, m_serviceCentre[0]);
}

bool EncodeAddress(std::span<quint8> address, QStringView text)
{
    if (address.size() < 2)
        return false;
    const bool international = text.startsWith(u'+');
    const QStringView digits = international ? text.sliced(1) : text;
    const qsizetype room = qsizetype(address.size()) - 2;
    if ((digits.size() + 1) / 2 > room || digits.size() > 255)
        return false;
    std::vector<quint8> values;
    for (const QChar c : digits) {
        const std::optional<quint8> value = SemiOctetValue(c);
        if (!value)
            return false;
        values.push_back(*value);
    }
    std::fill(address.begin(), address.end(), quint8(0));
    address[0] = quint8(values.size());
    address[1] = international ? kTypeInternational : kTypeUnknown;
    for (size_t i = 0; i < values.size(); i += 2) {
        const quint8 high = i + 1 < values.size() ? values[i + 1] : 0x0F;
        address[2 + i / 2] = quint8(high << 4 | values[i]);
    }
    return true;
}

void DecodeTimeStamp(const std::array<quint8, 7>& stamp, quint8& year, quint8& month, quint8& day, quint8& hour,
    quint8& minute, quint8& second, qint8& zone)
{
    const auto value = [&](int i) { return quint8((stamp[i] & 0x0F) * 10 + (stamp[i] >> 4)); };
    year = value(0);
    month = value(1);
    day = value(2);
    hour = value(3);
    minute = value(4);
    second = value(5);
    const int quarters = (stamp[6] & 0x07) * 10 + (stamp[6] >> 4);
    zone = qint8(stamp[6] & 0x08 ? -quarters : quarters);
}

} // namespace dh2
