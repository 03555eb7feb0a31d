#include "platform/archive.h"
#include "platform/ole_date_time.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QByteArray stored(const QString& text)
{
    CArchive ar;
    ar << text;
    return ar.Data();
}

QString loaded(const QByteArray& bytes, bool* ok = nullptr)
{
    CArchive ar(bytes);
    QString text;
    ar >> text;
    if (ok)
        *ok = ar.ok();
    return text;
}

TEST(Archive, IntegersAreLittleEndian)
{
    CArchive ar;
    ar << qint32(-2) << qint32(0x01020304) << quint16(0xABCD) << quint8(7);
    EXPECT_EQ(ar.Data(), hex("feffffff04030201cdab07"));

    CArchive in(ar.Data());
    qint32 a = 0, b = 0;
    quint16 c = 0;
    quint8 d = 0;
    in >> a >> b >> c >> d;
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 0x01020304);
    EXPECT_EQ(c, 0xABCD);
    EXPECT_EQ(d, 7);
}

TEST(Archive, StringLengthPrefixesAtEveryBoundary)
{
    struct Case {
        int length;
        QByteArray prefix;
    };
    const Case cases[] = {
        {0, hex("00")},
        {254, hex("fe")},
        {255, hex("ffff00")},
        {65533, hex("fffdff")},
        {65534, hex("ffffffFEFF0000")},
    };
    for (const Case& c : cases) {
        const QString text(c.length, u'x');
        const QByteArray bytes = stored(text);
        EXPECT_EQ(bytes.left(c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        bool ok = false;
        EXPECT_EQ(loaded(bytes, &ok), text) << c.length;
        EXPECT_TRUE(ok);
    }
}

TEST(Archive, NonAsciiTextIsWrittenAsUcs2AndReadBack)
{
    const QString text = QStringLiteral("Zoë 张三 \U0001F600");
    const QByteArray bytes = stored(text);
    // 0xFF, the 0xFFFE marker, then the unit count and the little-endian units.
    EXPECT_EQ(bytes.left(4), hex("fffeff") + QByteArray(1, char(text.size())));
    EXPECT_EQ(bytes.size(), 4 + 2 * text.size());
    EXPECT_EQ(loaded(bytes), text);
}

TEST(Archive, Ucs2FormWithLongLength)
{
    const QString text(300, QChar(0x4E2D));
    const QByteArray bytes = stored(text);
    EXPECT_EQ(bytes.left(6), hex("fffeffff2c01"));
    EXPECT_EQ(loaded(bytes), text);
}

TEST(Archive, LegacyBytesAreDecodedWithTheLegacyCodePage)
{
    qputenv("DESKHAND_CODEPAGE", "CP1252");
    EXPECT_EQ(loaded(hex("03") + QByteArray("caf\xe9", 4).left(3)), QStringLiteral("caf"));
    EXPECT_EQ(loaded(hex("04") + QByteArray("caf\xe9", 4)), QStringLiteral("café"));
    EXPECT_EQ(loaded(hex("01") + QByteArray("\x80", 1)), QStringLiteral("€"));
    qputenv("DESKHAND_CODEPAGE", "GBK");
    EXPECT_EQ(loaded(hex("02d6d0")), QStringLiteral("中"));
    qunsetenv("DESKHAND_CODEPAGE");
}

TEST(Archive, DatesKeepStatusAndValue)
{
    COleDateTime validDate(2004, 12, 31, 23, 59, 0);
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    COleDateTime invalidDate;
    invalidDate.SetStatus(COleDateTime::invalid);

    CArchive ar;
    ar << validDate << nullDate << invalidDate;
    ASSERT_EQ(ar.Data().size(), 36);
    EXPECT_EQ(ar.Data().mid(12, 4), hex("02000000"));
    EXPECT_EQ(ar.Data().mid(24, 4), hex("01000000"));

    CArchive in(ar.Data());
    COleDateTime a, b, c;
    in >> a >> b >> c;
    ASSERT_TRUE(in.ok());
    EXPECT_EQ(a, validDate);
    EXPECT_EQ(b.GetStatus(), COleDateTime::null);
    EXPECT_EQ(c.GetStatus(), COleDateTime::invalid);

    // An unknown status reads as invalid.
    CArchive odd(hex("07000000") + QByteArray(8, '\0'));
    COleDateTime d;
    odd >> d;
    EXPECT_EQ(d.GetStatus(), COleDateTime::invalid);
}

TEST(Archive, ReadingPastTheEndFailsAndYieldsEmptyValues)
{
    CArchive ar(hex("0100"));
    qint32 value = 99;
    ar >> value;
    EXPECT_FALSE(ar.ok());
    EXPECT_EQ(value, 0);
    QString text = QStringLiteral("old");
    ar >> text;
    EXPECT_TRUE(text.isEmpty());
}

TEST(Archive, LengthsBeyondTheDataFailWithoutAllocating)
{
    for (const char* bytes : {"ffffffffffffff7f", "fffeffffffffffff7f", "ff1000", "05abcd", "fffeff"}) {
        bool ok = true;
        EXPECT_TRUE(loaded(hex(bytes), &ok).isEmpty()) << bytes;
        EXPECT_FALSE(ok) << bytes;
    }
}

TEST(Archive, CountsAreBoundedByTheBytesLeft)
{
    CArchive ar(hex("03000000") + QByteArray(11, 'x'));
    qint32 count = -1;
    EXPECT_FALSE(ar.ReadCount(count, 4));
    EXPECT_EQ(count, 0);

    CArchive fits(hex("03000000") + QByteArray(12, 'x'));
    EXPECT_TRUE(fits.ReadCount(count, 4));
    EXPECT_EQ(count, 3);

    CArchive negative(hex("ffffffff"));
    EXPECT_FALSE(negative.ReadCount(count, 1));
}

// Truncations and bit flips of a valid archive never crash and never read beyond the input.
TEST(Archive, DamagedInputIsHandled)
{
    CArchive ar;
    ar << qint32(3) << QStringLiteral("name") << QString(300, u'z') << QStringLiteral("张三")
       << COleDateTime(2020, 2, 29, 8, 0, 0) << qint32(2);
    const QByteArray good = ar.Data();

    auto readAll = [](const QByteArray& bytes) {
        CArchive in(bytes);
        qint32 count = 0;
        in.ReadCount(count, 1);
        QString a, b, c;
        COleDateTime date;
        qint32 tail = 0;
        in >> a >> b >> c >> date >> tail;
        EXPECT_LE(a.size() + b.size() + c.size(), bytes.size());
        return in.ok();
    };
    EXPECT_TRUE(readAll(good));
    for (qsizetype cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(readAll(good.left(cut))) << cut;

    std::mt19937 random(42);
    for (int round = 0; round < 2000; ++round) {
        QByteArray damaged = good;
        const int flips = 1 + int(random() % 4);
        for (int f = 0; f < flips; ++f)
            damaged[qsizetype(random() % damaged.size())] ^= char(1u << (random() % 8));
        readAll(damaged);
    }
}

} // namespace
