// The message decoder over hand-built PDUs: both layouts, the three alphabets, user-data
// headers with the 7-bit re-alignment, concatenated parts, every element kind, addresses,
// time stamps and validity periods, and PDUs whose lengths do not hold.
#include "link2/sms_pdu.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace dh2;

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// GSM codes of a text of letters, digits and blanks, which keep their ASCII values.
QByteArray Septets(const QByteArray& text)
{
    return text;
}

// 7-bit user data as a sender packs it: the header octets, zero fill bits up to a septet
// boundary, then the septets, all least significant bit first.
struct UserData {
    int length = 0; // in septets
    QByteArray bytes;
};

UserData Packed7(const QByteArray& header, const QByteArray& septets)
{
    std::vector<bool> bits;
    for (const char octet : header) {
        for (int b = 0; b < 8; ++b)
            bits.push_back((quint8(octet) >> b) & 1);
    }
    while (bits.size() % 7)
        bits.push_back(false);
    for (const char septet : septets) {
        for (int b = 0; b < 7; ++b)
            bits.push_back((quint8(septet) >> b) & 1);
    }
    UserData data;
    data.length = int(bits.size() / 7);
    data.bytes = QByteArray(int((bits.size() + 7) / 8), '\0');
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i])
            data.bytes[int(i / 8)] = char(quint8(data.bytes[int(i / 8)]) | 1 << (i % 8));
    }
    return data;
}

const QByteArray kSender = Hex("0B916407281553F8"); // +46708251358
// 04-03-07 09:05:30, one hour ahead of GMT.
const QByteArray kStamp = Hex("40307090500340");

// An SMS-DELIVER with an empty service-centre address.
QByteArray Deliver(quint8 first, quint8 scheme, int length, const QByteArray& userData,
    const QByteArray& sender = kSender, const QByteArray& stamp = kStamp)
{
    return QByteArray(1, '\0') + char(first) + sender + '\0' + char(scheme) + stamp + char(length) + userData;
}

QByteArray Deliver7(const QByteArray& header, const QByteArray& septets)
{
    const UserData data = Packed7(header, septets);
    return Deliver(header.isEmpty() ? 0x04 : 0x44, 0x00, data.length, data.bytes);
}

QByteArray Deliver8(const QByteArray& header, const QByteArray& message, quint8 scheme = 0x04)
{
    return Deliver(header.isEmpty() ? 0x04 : 0x44, scheme, int(header.size() + message.size()), header + message);
}

// An SMS-SUBMIT to +46708251358, message reference 7.
QByteArray Submit(quint8 first, const QByteArray& validity, const UserData& data)
{
    return QByteArray(1, '\0') + char(first) + char(7) + kSender + '\0' + '\0' + validity + char(data.length)
        + data.bytes;
}

// The header of one element after its length octet.
QByteArray Header(const QByteArray& elements)
{
    return char(elements.size()) + elements;
}

QByteArray Element(quint8 id, const QByteArray& data)
{
    return char(id) + QByteArray(1, char(data.size())) + data;
}

QString TypeNames(const CSmsPdu& pdu)
{
    QStringList names;
    for (const auto& element : pdu.Elements())
        names << element->GetTypeName();
    return names.join(u',');
}

QString Text(const CSmsPdu& pdu)
{
    QString text;
    pdu.GetText(&text);
    return text;
}

// 32 bytes of a 16 x 16 picture: a frame of black pixels.
QByteArray Frame16()
{
    QByteArray data(32, '\0');
    data[0] = data[1] = data[30] = data[31] = char(0xFF);
    for (int row = 1; row < 15; ++row) {
        data[2 * row] = char(0x80);
        data[2 * row + 1] = char(0x01);
    }
    return data;
}

TEST(SmsPdu, DecodesTextOfEachAlphabetAndLayout)
{
    const QByteArray concat8 = Header(Element(0, Hex("2A0201")));
    const QByteArray concat16 = Header(Element(8, Hex("12340301")));
    const struct {
        const char* name;
        QByteArray pdu;
        QString text;
        int headerSeptets = 0;
        int total = 0;
    } cases[] = {
        {"7-bit, 7 septets", Deliver7({}, Septets("Deskhan")), "Deskhan"},
        {"7-bit, 160 septets", Deliver7({}, QByteArray(160, 'x')), QString(160, u'x')},
        {"7-bit, 8 septets fill a whole octet run", Deliver7({}, Septets("Deskhand")), "Deskhand"},
        {"7-bit escapes", Deliver7({}, Hex("1B28611B1B41")), "{a "},
        {"7-bit, 6-byte header: fill 1, 7 header septets", Deliver7(concat8, Septets("Hello")), "Hello", 7, 2},
        {"7-bit, 7-byte header: fill 0, 8 header septets", Deliver7(concat16, Septets("Hi there")), "Hi there", 8, 3},
        {"7-bit, header and no text", Deliver7(concat8, {}), "", 7, 2},
        {"8-bit", Deliver8({}, Hex("4142FF")), "AB\u00FF"},
        {"8-bit by a message-class scheme", Deliver8({}, Hex("41"), 0xF4), "A"},
        {"8-bit with a header", Deliver8(concat8, Hex("4142")), "AB", 0, 2},
        {"UCS-2", Deliver(0x04, 0x08, 4, Hex("0048041F")), "H\u041F"},
        {"UCS-2 with a header", Deliver(0x44, 0x08, 8, concat8 + Hex("041F")), "\u041F", 0, 2},
        {"reserved coding gives no text", Deliver(0x04, 0x0C, 2, Hex("4142")), ""},
        {"no user data", Deliver(0x04, 0x00, 0, {}), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSmsPdu pdu;
        ASSERT_TRUE(pdu.Decode(c.pdu));
        ASSERT_TRUE(pdu.DecodeElements());
        EXPECT_EQ(Text(pdu), c.text);
        ASSERT_EQ(pdu.Segments().size(), 1u);
        EXPECT_EQ(pdu.Segments()[0]->m_nHeaderSeptets, c.headerSeptets);
        EXPECT_EQ(pdu.ConcatenationRecord().total, c.total);
        EXPECT_EQ(pdu.GetAddress(), QStringLiteral("+46708251358"));
        // Text runs only; a header without text leaves no element.
        for (const auto& element : pdu.Elements())
            EXPECT_EQ(element->GetTypeName(), QStringLiteral("text"));
        EXPECT_EQ(pdu.Elements().empty(), c.text.isEmpty() && c.total != 0);
    }
}

TEST(SmsPdu, KeepsTheFieldsOfADeliverAndASubmit)
{
    CSmsPdu deliver;
    ASSERT_TRUE(deliver.Decode(Hex("07916407058099F9") + Deliver7({}, Septets("Hi")).mid(1)));
    EXPECT_EQ(deliver.ServiceCentreLength(), 7);
    EXPECT_EQ(deliver.ServiceCentre(), Hex("916407058099F9"));
    EXPECT_EQ(deliver.MessageTypeIndicator(), CSmsPdu::TypeDeliver);
    quint8 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    qint8 zone = 0;
    ASSERT_TRUE(deliver.GetTimeStamp(year, month, day, hour, minute, second, zone));
    EXPECT_EQ(QList<int>({year, month, day, hour, minute, second, zone}), QList<int>({4, 3, 7, 9, 5, 30, 4}));

    const struct {
        const char* name;
        quint8 first;
        QByteArray validity;
    } submits[] = {
        {"no validity period", 0x01, {}},
        {"relative", 0x11, Hex("AA")},
        {"enhanced", 0x09, Hex("01020304050607")},
        {"absolute", 0x19, Hex("40307090500340")},
    };
    for (const auto& c : submits) {
        SCOPED_TRACE(c.name);
        CSmsPdu pdu;
        ASSERT_TRUE(pdu.Decode(Submit(c.first, c.validity, Packed7({}, Septets("Hi")))));
        EXPECT_EQ(pdu.MessageTypeIndicator(), CSmsPdu::TypeSubmit);
        EXPECT_EQ(pdu.MessageReference(), 7);
        EXPECT_EQ(Text(pdu), QStringLiteral("Hi"));
        QByteArray validity(7, '\0');
        std::copy(pdu.ValidityPeriod().begin(), pdu.ValidityPeriod().end(), validity.begin());
        EXPECT_EQ(validity, c.validity.leftJustified(7, '\0'));
        EXPECT_FALSE(pdu.GetTimeStamp(year, month, day, hour, minute, second, zone));
    }

    const CSmsPdu fresh;
    EXPECT_EQ(fresh.FirstOctet(), 0x04);
    EXPECT_EQ(fresh.AddressType(), 0x81);
    EXPECT_EQ(fresh.CodingScheme(), CodingUcs2);
    EXPECT_EQ(fresh.ValidityPeriod()[0], 167);
    EXPECT_EQ(fresh.ServiceCentreLength(), 0);
}

TEST(SmsPdu, ReadsEveryKindOfAddressAndZone)
{
    const struct {
        const char* name;
        QByteArray sender;
        QString address;
    } cases[] = {
        {"international", kSender, "+46708251358"},
        {"national, odd count", Hex("0B813010325476F8"), "03012345678"},
        {"unknown type shows its digits", Hex("04A11234"), "2143"},
        {"star, hash and a to c", Hex("0581BADCFE"), "*#abc"},
        {"alphanumeric", Hex("0ED0") + Packed7({}, Septets("Deskhand")).bytes, "Deskhand"},
        {"alphanumeric, odd septets", Hex("07D0") + Packed7({}, Septets("Bank")).bytes, "Bank"},
        {"empty", Hex("0081"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSmsPdu pdu;
        ASSERT_TRUE(pdu.Decode(Deliver(0x04, 0x00, 0, {}, c.sender)));
        EXPECT_EQ(pdu.GetAddress(), c.address);
    }

    const struct {
        quint8 zoneByte;
        int zone;
    } zones[] = {{0x00, 0}, {0x40, 4}, {0x88, -8}, {0x23, 32}, {0x0A, -20}};
    for (const auto& c : zones) {
        CSmsPdu pdu;
        ASSERT_TRUE(pdu.Decode(Deliver(0x04, 0x00, 0, {}, kSender, kStamp.left(6) + char(c.zoneByte))));
        quint8 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        qint8 zone = 0;
        ASSERT_TRUE(pdu.GetTimeStamp(year, month, day, hour, minute, second, zone));
        EXPECT_EQ(zone, c.zone) << c.zoneByte;
    }
}

TEST(SmsPdu, EncodesAddressesThatFitTheirField)
{
    const struct {
        const char* text;
        bool ok;
        QByteArray address; // count, type, semi-octets
    } cases[] = {
        {"", true, Hex("0081")},
        {"+123", true, Hex("039121F3")},
        {"1234", true, Hex("04812143")},
        {"*#abc", true, Hex("0581BADCFE")},
        {"12345678901234567890", true, Hex("1481") + Hex("21436587092143658709")},
        {"123456789012345678901", false, {}},
        {"12x", false, {}},
    };
    for (const auto& c : cases) {
        std::array<quint8, 12> address {};
        address[0] = 0xEE;
        EXPECT_EQ(EncodeAddress(address, QString::fromLatin1(c.text)), c.ok) << c.text;
        if (c.ok) {
            const QByteArray bytes(reinterpret_cast<const char*>(address.data()), c.address.size());
            EXPECT_EQ(bytes.toHex(), c.address.toHex()) << c.text;
        } else {
            EXPECT_EQ(address[0], 0xEE) << c.text; // untouched
        }
    }
    CSmsPdu pdu;
    ASSERT_TRUE(pdu.SetServiceCentre(u"+8613800"));
    EXPECT_EQ(pdu.ServiceCentreLength(), 5);
    EXPECT_EQ(pdu.ServiceCentre(), Hex("91683108F0"));
    ASSERT_TRUE(pdu.SetAddress(u"+46708251358"));
    EXPECT_EQ(pdu.GetAddress(), QStringLiteral("+46708251358"));
}

TEST(SmsPdu, SplitsTextAroundTheElementsOfTheHeader)
{
    const QByteArray hello = Septets("Hello");
    QByteArray largeAnimation(128, '\0');
    largeAnimation[0] = char(0x81);
    QByteArray variable(100, '\0');
    variable[99] = char(0x18);
    const QByteArray melody = "BEGIN:IMELODY\r\nMELODY:c2d2e2\r\nEND:IMELODY\r\n";
    const struct {
        const char* name;
        QByteArray pdu;
        QString types;
        QStringList texts; // of the text elements, in order
        int number = -1;   // of the first non-text element
    } cases[] = {
        {"predefined sound at 2", Deliver7(Header(Element(11, Hex("0205"))), hello), "text,sound,text", {"He", "llo"}, 5},
        {"formatting at 0 for 3", Deliver7(Header(Element(10, Hex("000310"))), hello), "text,text", {"Hel", "lo"}},
        {"formatting past the end", Deliver7(Header(Element(10, Hex("030910"))), hello), "text,text", {"Hel", "lo"}},
        {"predefined animation at the end", Deliver7(Header(Element(13, Hex("0503"))), hello), "text,animation", {"Hello"}, 3},
        {"user sound at 0", Deliver8(Header(Element(12, '\0' + melody)), "Hi"), "sound,text", {"Hi"}},
        {"large animation", Deliver7(Header(Element(14, '\1' + largeAnimation)), hello), "text,animation,text", {"H", "ello"}},
        {"small animation", Deliver7(Header(Element(15, '\1' + QByteArray(32, '\x0F'))), hello), "text,animation,text", {"H", "ello"}},
        {"large picture", Deliver8(Header(Element(16, '\2' + QByteArray(128, '\x55'))), "Hi"), "text,picture", {"Hi"}},
        {"small picture", Deliver7(Header(Element(17, '\0' + Frame16())), hello), "picture,text", {"Hello"}},
        {"variable picture 8 x 100", Deliver8(Header(Element(18, Hex("050164") + variable)), "Hello"), "text,picture", {"Hello"}},
        {"two elements at one place", Deliver7(Header(Element(11, Hex("0201")) + Element(13, Hex("0202"))), hello),
            "text,sound,animation,text", {"He", "llo"}, 1},
        {"concatenation first, then a sound", Deliver7(Header(Element(0, Hex("010201")) + Element(11, Hex("0307"))), hello),
            "text,sound,text", {"Hel", "lo"}, 7},
        {"unsupported element still splits", Deliver7(Header(Element(0x24, Hex("01"))), hello), "text,text", {"H", "ello"}},
        {"short picture data is unsupported", Deliver7(Header(Element(17, '\0' + QByteArray(31, '\0'))), hello), "text", {"Hello"}},
        {"variable picture without its sizes", Deliver7(Header(Element(18, Hex("0001"))), hello), "text", {"Hello"}},
        {"sound without its number", Deliver7(Header(Element(11, Hex("02"))), hello), "text,sound,text", {"He", "llo"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSmsPdu pdu;
        ASSERT_TRUE(pdu.Decode(c.pdu));
        pdu.DecodeElements();
        EXPECT_EQ(TypeNames(pdu), c.types);
        QStringList texts;
        int number = -1;
        bool seen = false;
        for (const auto& element : pdu.Elements()) {
            if (element->GetTypeName() == u"text")
                texts << element->Text();
            else if (!std::exchange(seen, true))
                number = element->GetNumber();
        }
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(number, c.number);
    }
}

TEST(SmsPdu, ElementsCarryTheirContent)
{
    const QByteArray melody = "BEGIN:IMELODY\r\nBEAT:200\r\nMELODY:c2d2e2\r\nEND:IMELODY\r\n";
    QByteArray variable(100, '\0');
    variable[0] = char(0x80);
    const QByteArray header = Header(Element(12, '\0' + melody)) ;
    CSmsPdu pdu;
    ASSERT_TRUE(pdu.Decode(Deliver8(header, "Hi")));
    pdu.DecodeElements();
    ASSERT_EQ(pdu.Elements().size(), 2u);
    auto* sound = dynamic_cast<CEmsUserSound*>(pdu.Elements()[0].get());
    ASSERT_NE(sound, nullptr);
    QByteArray data;
    EXPECT_EQ(sound->GetData(&data), melody.size());
    EXPECT_EQ(data, melody);
    EXPECT_EQ(sound->NormalisedMelody(),
        QByteArray("BEGIN:IMELODY\r\nVERSION:1.2\r\nFORMAT:CLASS1.0\r\nMELODY:c2d2e2\r\nEND:IMELODY\r\n"));

    CSmsPdu pictures;
    ASSERT_TRUE(pictures.Decode(Deliver8(Header(Element(18, Hex("000164") + variable)), {})));
    pictures.DecodeElements();
    ASSERT_EQ(pictures.Elements().size(), 1u);
    auto* picture = dynamic_cast<CEmsPictureElement*>(pictures.Elements()[0].get());
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->Bitmap(), nullptr);
    EXPECT_EQ(picture->Bitmap()->Width(), 8);
    EXPECT_EQ(picture->Bitmap()->Height(), 100);
    const int size = picture->GetData(&data);
    EXPECT_EQ(size, data.size());
    EXPECT_TRUE(data.startsWith("P1\n8 100\n1 0 0 0 0 0 0 0 \n0 0 0 0 0 0 0 0 \n"));
    EXPECT_EQ(data.count('\n'), 102);
}

TEST(SmsPdu, RefusesLengthsThatDoNotHold)
{
    const QByteArray hello = Septets("Hello");
    const struct {
        const char* name;
        QByteArray pdu;
    } cases[] = {
        {"nothing", {}},
        {"service centre of 13 octets", Hex("0D") + QByteArray(13, '\x11') + Deliver7({}, hello).mid(1)},
        {"service centre past the end", Hex("0791640705")},
        {"status report or command (type 2)", Hex("0002") + Deliver7({}, hello).mid(2)},
        {"reserved type 3", Hex("0003") + Deliver7({}, hello).mid(2)},
        {"21 address digits", Deliver(0x04, 0x00, 0, {}, Hex("1591") + QByteArray(11, '\x11'))},
        {"address past the end", Hex("00040B91640728")},
        {"time stamp cut", Deliver7({}, hello).left(16)},
        {"no user-data length", Deliver7({}, hello).left(19)},
        {"user data past the end", Deliver7({}, hello).chopped(1)},
        {"161 septets", Deliver(0x04, 0x00, 161, QByteArray(141, '\0'))},
        {"141 octets", Deliver(0x04, 0x04, 141, QByteArray(141, '\0'))},
        {"header indicator without user data", Deliver(0x44, 0x04, 0, {})},
        {"header longer than the user data", Deliver(0x44, 0x04, 3, Hex("050003"))},
        {"header length over 144", Deliver(0x44, 0x00, 160, Hex("91") + QByteArray(139, '\0'))},
        {"7-bit length shorter than the header septets", Deliver(0x44, 0x00, 6, Hex("0500032A0201"))},
        {"element past the header", Deliver8(Hex("030B0500"), "Hi")},
        {"element identifier alone", Deliver8(Hex("010B"), "Hi")},
        {"concatenation too short", Deliver8(Hex("0300012A"), "Hi")},
        {"16-bit concatenation too short", Deliver8(Hex("040802ABCD"), "Hi")},
        {"submit validity period cut", Submit(0x19, Hex("403070"), Packed7({}, Septets("Hi")))},
        {"submit relative validity missing", QByteArray(1, '\0') + "\x11\x07" + kSender + QByteArray(2, '\0')},
    };
    for (const auto& c : cases) {
        CSmsPdu pdu;
        EXPECT_FALSE(pdu.Decode(c.pdu)) << c.name;
        EXPECT_TRUE(pdu.Segments().empty()) << c.name;
        pdu.DecodeElements();
        EXPECT_TRUE(pdu.Elements().empty()) << c.name;
    }
}

TEST(SmsPdu, BoundsItsSegmentsAndElements)
{
    // 68 empty formatting elements fill a header; two such parts make more than 128 elements.
    QByteArray elements;
    for (int i = 0; i < 68; ++i)
        elements += Hex("0A00");
    const QByteArray part = Deliver8(Header(elements), "Hi");
    CSmsPdu pdu;
    for (int i = 0; i < CSmsPdu::kMaxSegments; ++i)
        ASSERT_TRUE(pdu.Decode(part)) << i;
    EXPECT_FALSE(pdu.Decode(part));
    EXPECT_EQ(pdu.Segments().size(), size_t(CSmsPdu::kMaxSegments));
    pdu.DecodeElements();
    EXPECT_EQ(pdu.Elements().size(), size_t(CSmsPdu::kMaxElements));
    EXPECT_EQ(Text(pdu), QStringLiteral("Hi").repeated(CSmsPdu::kMaxSegments));
}

TEST(SmsPdu, TextElementsEncodeInEachCoding)
{
    CEmsText text;
    EXPECT_EQ(text.SetText(u"Hi\u00E9", CodingUcs2), 3);
    EXPECT_EQ(text.SetText(u"ignored", CodingReserved), 0);
    EXPECT_EQ(text.Text(), QStringLiteral("Hi\u00E9"));
    const struct {
        int coding;
        QByteArray bytes;
    } cases[] = {
        {CodingUcs2, Hex("0048006900E9")},
        {Coding8Bit, Hex("4869E9")},
        {CodingGsm, Packed7({}, Hex("486905")).bytes},
        {CodingReserved, {}},
    };
    for (const auto& c : cases) {
        QByteArray bytes;
        EXPECT_EQ(text.EncodeText(&bytes, c.coding), c.bytes.size()) << c.coding;
        EXPECT_EQ(bytes.toHex(), c.bytes.toHex()) << c.coding;
        EXPECT_EQ(text.GetEncodedSize(c.coding), c.bytes.size()) << c.coding;
    }

    CEmsText formatted;
    ASSERT_EQ(formatted.Decode(Element(10, Hex("000310"))), 5);
    formatted.SetPosition(4, 2);
    EXPECT_EQ(formatted.Element(), Hex("0A03040210"));
    EXPECT_EQ(formatted.GetEncodedSize(CodingUcs2), 5);
    EXPECT_EQ(formatted.Decode(Hex("0A0300")), 0); // data past the bytes given
}

} // namespace
