#include "common/text_codec.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace common;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int v : values)
        bytes.append(char(v));
    return bytes;
}

// The UTF-16 units a Base64 field carries, low byte first.
QByteArray FieldBytes(const QString& field)
{
    QByteArray bytes;
    CTextCodec().Base64Decode(bytes, field.toLatin1());
    return bytes;
}

TEST(EncodeBase64Text, SendsTheTerminatingZeroUnit)
{
    const CTextCodec codec;
    QString out = QStringLiteral("stale");
    EXPECT_EQ(codec.EncodeBase64Text(out, QStringLiteral("A"), 1024), 8);
    EXPECT_EQ(out, QStringLiteral("QQAAAA=="));
    EXPECT_EQ(FieldBytes(out), Bytes({0x41, 0, 0, 0}));

    EXPECT_EQ(codec.EncodeBase64Text(out, QStringLiteral("abc"), 100), 12);
    EXPECT_EQ(out, QStringLiteral("YQBiAGMAAAA="));

    EXPECT_EQ(codec.EncodeBase64Text(out, QString(), 1024), 0);
    EXPECT_TRUE(out.isEmpty());
}

TEST(EncodeBase64Text, HalvesTheLimitForTextOutsideTheGsmAlphabet)
{
    const CTextCodec codec;
    const struct {
        QString text;
        int limit;
        qsizetype units; // sent, terminator included
    } cases[] = {
        {QString(2000, u'a'), 1024, 1024},
        {QString(1023, u'a'), 1024, 1024},
        {QString(2000, u'\u4E2D'), 1024, 512},
        {QString(1000, u'a') + u'\u4E2D', 1024, 512},
        {QString(511, u'\u4E2D'), 1024, 512},
        {QString(2000, u'\u20AC'), 1024, 1024}, // the euro sign has an escape code
        {QStringLiteral("abc"), 0, 0},
        {QStringLiteral("abc"), -8, 0},
    };
    for (const auto& c : cases) {
        QString out;
        codec.EncodeBase64Text(out, c.text, c.limit);
        const QByteArray bytes = FieldBytes(out);
        ASSERT_EQ(bytes.size(), 2 * c.units) << c.text.size() << " units, limit " << c.limit;
        // The terminator goes only with a text that fits.
        if (c.units > 0) {
            EXPECT_EQ(bytes.endsWith(QByteArray(2, '\0')), c.units > c.text.size());
        }
    }
}

TEST(EncodeBase64Text, NeverSendsHalfASurrogatePair)
{
    // Outside the GSM alphabet a limit of 10 allows 5 units; the fifth would split the pair.
    const QString text = QStringLiteral("abcd") + QString::fromUcs4(U"\U0001F600");
    QString out;
    CTextCodec().EncodeBase64Text(out, text, 10);
    EXPECT_EQ(FieldBytes(out), QByteArray("a\0b\0c\0d\0", 8));
}

TEST(IsGsmEncodable, FollowsTheSeptetTables)
{
    const struct {
        const char16_t* text;
        bool encodable;
    } cases[] = {
        {u"", true},
        {u"Hello, world!", true},
        {u"Price 5\u20AC", true},        // euro sign
        {u"\u03A9\u0398\u0394", true},   // capital omega, theta, delta
        {u"\u0395", true},               // capital epsilon: in the Greek range, sent as a space
        {u"\u03C9", false},              // small omega
        {u"[^~]{|}\\", true},
        {u"\u00FF\u00CF\u00E9", true},
        {u"\u4E2D\u6587", false},
        {u"a\u0100", false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(IsGsmEncodable(text), c.encodable) << text.toStdString();
        EXPECT_EQ(IsGsmEncodableW(text), c.encodable) << text.toStdString();
    }
    EXPECT_FALSE(IsGsmEncodable(QString::fromUcs4(U"ok \U0001F600")));
}

TEST(DecodeBase64Text, ReadsUnitsUpToTheFirstZero)
{
    const CTextCodec codec;
    const struct {
        const char* field;
        const char16_t* text;
    } cases[] = {
        {"QQAAAA==", u"A"},
        {"QQ AA\r\nAA\t==", u"A"},
        {" \r\nYQBiAGMAAAA=\r\n", u"abc"},
        {"QQAAAEIA", u"A"},   // units after the terminator are ignored
        {"QQBCAEM", u"AB"},   // the last group is incomplete and dropped
        {"QUJD", u"\u4241C"},     // odd byte count: the last byte pairs with a zero
        {"", u""},
    };
    for (const auto& c : cases) {
        QString out = QStringLiteral("stale");
        bool ok = false;
        const int length = codec.DecodeBase64Text(out, QString::fromLatin1(c.field), &ok);
        EXPECT_TRUE(ok) << c.field;
        EXPECT_EQ(out, QString::fromUtf16(c.text)) << c.field;
        EXPECT_EQ(length, out.size()) << c.field;
    }
}

TEST(DecodeBase64Text, IgnoresBlanksAndLineBreaksBetweenCharacters)
{
    const CTextCodec codec;
    const QString text = QStringLiteral("Zentra \u4E2D\u6587 \u00E9\u20AC");
    QString field;
    codec.EncodeBase64Text(field, text, 1024);
    for (const QString& separator : {QStringLiteral(" "), QStringLiteral("\r\n"), QStringLiteral("\t \n")}) {
        QString spread;
        for (const QChar c : field)
            spread += separator + c;
        QString out;
        codec.DecodeBase64Text(out, spread);
        EXPECT_EQ(out, text);
    }
}

TEST(DecodeBase64Text, RoundTripsLongTextsAndRefusesOversizedOnes)
{
    const CTextCodec codec;
    const qsizetype maxUnits = CTextCodec::kMaxDecodedTextBytes / 2; // terminator included
    const struct {
        QString text;
        bool accepted;
    } cases[] = {
        {QString(300, u'\u4E2D'), true}, // far beyond 255 bytes in any code page
        {QString(5000, u'x'), true},
        {QString(maxUnits - 1, u'x'), true},
        {QString(maxUnits, u'x'), false},
        {QString(100000, u'\u00E9'), false},
    };
    for (const auto& c : cases) {
        QString field;
        codec.EncodeBase64Text(field, c.text, 1 << 20);
        QString out = QStringLiteral("stale");
        bool ok = !c.accepted;
        const int length = codec.DecodeBase64Text(out, field, &ok);
        EXPECT_EQ(ok, c.accepted) << c.text.size();
        if (c.accepted) {
            EXPECT_EQ(out, c.text);
            EXPECT_EQ(length, c.text.size());
        } else {
            EXPECT_TRUE(out.isEmpty());
            EXPECT_EQ(length, 0);
        }
    }
}

TEST(Base64Decode, IsLenient)
{
    const CTextCodec codec;
    const struct {
        QByteArray text;
        QByteArray bytes;
    } cases[] = {
        {"QUJD", "ABC"},
        {"QUJDRA", "ABC"},                // incomplete final group dropped
        {"QUJDRA=", "ABC"},
        {"QUJDREU=", "ABCDE"},
        {"QQ==", "A"},
        {"QQ=x", "A"},                    // a third "=" ends the group after one byte
        {"==AAQUJD", "ABC"},              // "=" first: the group is skipped
        {"Q=AAQUJD", "ABC"},              // "=" second: the group is skipped
        {" Q U\tJ\nD\r\v\f", "ABC"},
        {QByteArray("QUJD\0REVG", 9), "ABC"},
        {QByteArray("QU\0JD", 5), ""},
        {"Q!==", Bytes({0x4F})},          // a foreign character counts as 255
        {"\xC4QQ=", Bytes({0xFD, 0x04})}, // so does every byte from 0x80
        {"", ""},
    };
    for (const auto& c : cases) {
        QByteArray out = "stale";
        EXPECT_EQ(codec.Base64Decode(out, c.text), c.bytes.size()) << c.text.toStdString();
        EXPECT_EQ(out, c.bytes) << c.text.toStdString();
    }

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QByteArray text;
    QByteArray back;
    codec.Base64Encode(text, all);
    codec.Base64Decode(back, text);
    EXPECT_EQ(back, all);
}

TEST(CTextCodecTables, ConvertOneCharacterAtATime)
{
    const CTextCodec codec;
    EXPECT_EQ(codec.GsmCharToUcs2(0), u'@');
    EXPECT_EQ(codec.GsmCharToUcs2(27), u' ');
    EXPECT_EQ(codec.GsmCharToUcs2(96), u'\u00BF');
    EXPECT_EQ(codec.GsmCharToUcs2(127), u'\u00E0');
    EXPECT_EQ(codec.GsmCharToUcs2(128), std::nullopt);
    EXPECT_EQ(codec.GsmCharToUcs2(255), std::nullopt);

    const struct {
        char16_t ch;
        std::optional<quint8> code;
    } cases[] = {
        {u'@', 0},        {u'\n', 10},      {u'\r', 13},        {u' ', 32},
        {u'\u00CF', 96},  {u'\u00BF', 96},  {u'\u0398', 25},    {u'\u03A9', 21},
        {u'\u0393', 19},  {u'\u0394', 16},  {u'\u00E0', 127},   {u'\u001B', {}},
        {u'[', {}},       {u'^', {}},       {u'\u20AC', {}},    {u'\u0395', {}},
        {u'\u03C9', {}},  {u'\u00FF', {}},  {u'\u4E2D', {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codec.Ucs2CharToGsm(c.ch), c.code) << int(c.ch);

    for (int code = 0; code < 128; ++code) {
        if (code != 27) {
            EXPECT_EQ(codec.Ucs2CharToGsm(*codec.GsmCharToUcs2(quint8(code))), code);
        }
    }
}

TEST(CTextCodecTables, StopAtTheFirstUnconvertibleItem)
{
    const CTextCodec codec;
    QString text;
    EXPECT_EQ(codec.GsmToUcs2(text, Bytes({0x48, 27, 0x49, 0x80, 0x4A})), 3);
    EXPECT_EQ(text, QStringLiteral("H I"));

    QByteArray codes;
    EXPECT_EQ(codec.Ucs2ToGsm(codes, u"AB[C"), 2);
    EXPECT_EQ(codes, QByteArray("AB"));
    EXPECT_TRUE(codec.IsGsmText(u"\u00C4\u03A9 ok"));
    EXPECT_TRUE(codec.IsGsmText(u""));
    EXPECT_FALSE(codec.IsGsmText(u"5\u20AC"));
}

TEST(Ucs2ToGsmSeptets, EscapesSubstitutesOrRefuses)
{
    const struct {
        const char16_t* text;
        qsizetype count;
        QByteArray septets;
    } cases[] = {
        {u"[", 2, Bytes({27, 60})},
        {u"\\]{|}", 10, Bytes({27, 47, 27, 62, 27, 40, 27, 64, 27, 41})},
        {u"\u20AC", 2, Bytes({27, 101})},
        {u"^~`\u0001\u001B\u000C", 6, QByteArray(6, ' ')},
        {u"\u0398\u03A9\u0395", 3, Bytes({25, 21, 32})},
        {u"\u00CF\u00BF@", 3, Bytes({96, 96, 0})},
        {u"Hi\n", 3, QByteArray("Hi\n")},
        {u"a\u03C9", -1, {}},
        {u"ok\u4E2D", -1, {}},
        {u"", 0, {}},
    };
    for (const auto& c : cases) {
        const QStringView text(c.text);
        QByteArray out = "stale";
        EXPECT_EQ(Ucs2ToGsmSeptets(&out, text), c.count) << text.toString().toStdString();
        EXPECT_EQ(out, c.septets) << text.toString().toStdString();
        EXPECT_EQ(Ucs2ToGsmSeptets(nullptr, text), c.count);
    }
}

TEST(GsmSeptetsToUcs2, DecodesEscapes)
{
    const struct {
        QByteArray septets;
        const char16_t* text;
        qsizetype units;
    } cases[] = {
        {Bytes({27, 27, 65}), u" A", 2},
        {Bytes({27, 10, 27, 40, 27, 41, 27, 47}), u"\n{}\\", 4},
        {Bytes({27, 60, 27, 62, 27, 64, 27, 101}), u"[]|\u20AC", 4},
        {Bytes({65, 27, 20, 66}), u"A\0B", 3}, // unknown escapes give U+0000
        {Bytes({27, 61}), u"\0", 1},
        {Bytes({27, 99}), u"\0", 1},
        {Bytes({0, 16, 96, 127}), u"@\u0394\u00BF\u00E0", 4},
        {Bytes({65, 27}), u"A ", 2}, // an escape cut off at the end
        {{}, u"", 0},
    };
    for (const auto& c : cases) {
        QString out = QStringLiteral("stale");
        EXPECT_EQ(GsmSeptetsToUcs2(&out, c.septets), c.units);
        EXPECT_EQ(out, QString::fromUtf16(c.text, c.units));
        EXPECT_EQ(GsmSeptetsToUcs2(nullptr, c.septets), c.units);
    }
}

// The second family escapes "^" and "~" instead of sending blanks; everything else is coded as
// for the first.
TEST(Ucs2ToGsmSeptets, SecondFamilyEscapesCircumflexAndTilde)
{
    const struct {
        const char16_t* text;
        qsizetype count;
        QByteArray septets;
    } cases[] = {
        {u"^~", 4, Bytes({27, 20, 27, 61})},
        {u"[\u20AC", 4, Bytes({27, 60, 27, 101})},
        {u"\u0398`", 2, Bytes({25, 32})},
        {u"\u00CF", 1, Bytes({96})},
        {u"\u4E2D", -1, {}},
    };
    for (const auto& c : cases) {
        QByteArray out;
        EXPECT_EQ(Ucs2ToGsmSeptets(&out, c.text, GsmDialect::Second), c.count);
        EXPECT_EQ(out, c.septets);
    }
}

TEST(GsmSeptetsToUcs2, SecondFamilyReadsEveryEscapeWithinTheInput)
{
    const struct {
        QByteArray septets;
        const char16_t* text;
    } cases[] = {
        {Bytes({27, 40, 27, 62}), u"{]"},
        {Bytes({27, 20, 27, 61}), u"^~"},
        {Bytes({27, 27, 65, 66}), u" B"},    // the pair takes the code after it
        {Bytes({65, 27, 27}), u"A "},        // and nothing past the input
        {Bytes({27, 65, 27, 17}), u"A_"},    // unknown escapes: the code's own character
        {Bytes({65, 66, 27}), u"AB"},        // a lone escape at the end ends the text
        {Bytes({27, 10}), u"\n"},
    };
    for (const auto& c : cases) {
        QString out;
        const QString expected = QString::fromUtf16(c.text);
        EXPECT_EQ(GsmSeptetsToUcs2(&out, c.septets, GsmDialect::Second), expected.size());
        EXPECT_EQ(out, expected);
    }
}

// The codec's own decoder of the second family reads escapes at their own position: each pair
// is one character, 17 after an escape is a blank, and an unknown or lone escape ends the text.
TEST(CTextCodecTables, SecondFamilyDecodesEscapesOneCharacterAtATime)
{
    const CTextCodec first;
    const CTextCodec second(GsmDialect::Second);
    const struct {
        QByteArray codes;
        const char16_t* text;
    } cases[] = {
        {Bytes({27, 40, 65, 27, 62}), u"{A]"},
        {Bytes({27, 17, 66}), u" B"},
        {Bytes({65, 27, 99, 66}), u"A"},
        {Bytes({65, 27, 40, 27, 99, 66}), u"A{"},
        {Bytes({65, 27}), u"A"},
        {Bytes({65, 200, 66}), u"A"},
    };
    for (const auto& c : cases) {
        QString out;
        EXPECT_EQ(second.GsmToUcs2(out, c.codes), QString::fromUtf16(c.text).size());
        EXPECT_EQ(out, QString::fromUtf16(c.text));
    }
    QString out;
    first.GsmToUcs2(out, Bytes({27, 40, 65}));
    EXPECT_EQ(out, QStringLiteral(" (A"));
    EXPECT_TRUE(second.IsGsmEncodable(QStringLiteral("\u0398^ \u20AC")));
    EXPECT_FALSE(second.IsGsmEncodable(QStringLiteral("\u03C9")));
}

TEST(Septets, PackAndUnpack)
{
    // The standard example: "hellohello" in nine octets.
    const QByteArray packed = Bytes({0xE8, 0x32, 0x9B, 0xFD, 0x46, 0x97, 0xD9, 0xEC, 0x37});
    QByteArray out;
    EXPECT_EQ(PackSeptets(&out, "hellohello"), 9);
    EXPECT_EQ(out, packed);
    EXPECT_EQ(UnpackSeptets(&out, packed), 10);
    EXPECT_EQ(out, QByteArray("hellohello"));

    const std::pair<int, int> counts[] = {{0, 0}, {1, 1}, {7, 7}, {8, 7}, {9, 8}, {16, 14}};
    for (const auto& [septets, octets] : counts)
        EXPECT_EQ(PackSeptets(nullptr, QByteArray(septets, 'x')), octets);

    // A whole number of 7-octet groups holds exactly eight septets per group: the last is the
    // top seven bits of the last octet, zero or not, and nothing follows it.
    QByteArray full;
    PackSeptets(&full, "ABCDEFGH");
    ASSERT_EQ(full.size(), 7);
    EXPECT_EQ(UnpackSeptets(&out, full), 8);
    EXPECT_EQ(out, QByteArray("ABCDEFGH"));
    QByteArray padded;
    PackSeptets(&padded, "ABCDEFG");
    ASSERT_EQ(padded.size(), 7);
    EXPECT_EQ(UnpackSeptets(&out, padded), 8);
    EXPECT_EQ(out, QByteArray("ABCDEFG\0", 8));
    for (const qsizetype n : {0, 1, 6, 7, 8, 13, 14, 15, 2000})
        EXPECT_EQ(UnpackSeptets(nullptr, QByteArray(n, '\xFF')), n * 8 / 7);

    EXPECT_EQ(PackSeptets(&out, Bytes({0xFF})), 1); // only seven bits of a septet count
    EXPECT_EQ(out, Bytes({0x7F}));
}

TEST(Septets, RoundTripAnyLength)
{
    QRandomGenerator random(7);
    for (const int length : {0, 1, 7, 8, 15, 16, 23, 1023, 1024, 1025, 5000}) {
        QByteArray septets;
        for (int i = 0; i < length; ++i)
            septets.append(char(random.bounded(128)));
        QByteArray octets;
        QByteArray back;
        ASSERT_EQ(PackSeptets(&octets, septets), (length * 7 + 7) / 8);
        UnpackSeptets(&back, octets);
        // Seven septets leave seven spare bits, which read back as one more (zero) septet.
        ASSERT_EQ(back.size(), length + (length % 8 == 7 ? 1 : 0)) << length;
        EXPECT_TRUE(back.startsWith(septets)) << length;
    }
}

TEST(PackedGsm, ConvertsTextBothWays)
{
    QByteArray octets;
    EXPECT_EQ(Ucs2ToPackedGsm(&octets, u"hellohello"), 9);
    EXPECT_EQ(Ucs2ToPackedGsm(nullptr, u"hellohello"), 9);
    QString text;
    EXPECT_EQ(PackedGsmToUcs2(&text, octets), 10);
    EXPECT_EQ(text, QStringLiteral("hellohello"));
    EXPECT_EQ(PackedGsmToUcs2(nullptr, octets), 10);

    // Escaped characters take two septets on the way in and give one unit on the way out;
    // 6008 septets fill whole octets, so no spare bits read back as an extra "@".
    const QString long_text = QString(3000, u'{') + QStringLiteral("\u20AC\u0398 ends");
    EXPECT_EQ(Ucs2ToPackedGsm(nullptr, long_text), ((3000 * 2 + 2 + 6) * 7 + 7) / 8);
    ASSERT_EQ(Ucs2ToPackedGsm(&octets, long_text), ((3000 * 2 + 2 + 6) * 7 + 7) / 8);
    PackedGsmToUcs2(&text, octets);
    EXPECT_EQ(text, long_text);

    octets = "stale";
    EXPECT_EQ(Ucs2ToPackedGsm(&octets, u"\u03C9"), -1);
    EXPECT_TRUE(octets.isEmpty());
    EXPECT_EQ(Ucs2ToPackedGsm(nullptr, u"\u03C9"), -1);
}

TEST(Ucs2Bytes, NarrowAndWiden)
{
    QByteArray bytes;
    EXPECT_EQ(Ucs2ToBytes(&bytes, u"A\u00E9\u4E2D"), 3);
    EXPECT_EQ(bytes, Bytes({0x41, 0xE9, 0x2D}));
    EXPECT_EQ(Ucs2ToBytes(nullptr, QString(4000, u'x')), 4000);

    QString text;
    EXPECT_EQ(BytesToUcs2(&text, Bytes({0, 0xFF, 0x41})), 3);
    EXPECT_EQ(text, QString::fromUtf16(u"\0\u00FFA", 3));
    EXPECT_EQ(BytesToUcs2(nullptr, QByteArray(4000, 'x')), 4000);
}

} // namespace
