// The melody, picture and animation converters of enhanced messages, and the BMP files they
// write as Qt's own reader sees them.
#include "link2/ems_bitmap.h"
#include "link2/ems_element.h"
#include "link2/imelody.h"

#include <QFile>
#include <QList>
#include <QStringList>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace dh2;

QByteArray Normalised(const QByteArray& melody)
{
    return "BEGIN:IMELODY\r\nVERSION:1.2\r\nFORMAT:CLASS1.0\r\nMELODY:" + melody + "\r\nEND:IMELODY\r\n";
}

TEST(IMelody, NormalisesAndReadsItsFields)
{
    const QByteArray melody80 = QByteArray("c2d2e2f2").repeated(10);
    const struct {
        const char* name;
        QByteArray text;
        bool ok = true;
        QByteArray melody = "c2d2";
        int beat = 120;
        int style = 0;
        int volume = 7;
    } cases[] = {
        {"whole file", "BEGIN:IMELODY\r\nVERSION:1.2\r\nFORMAT:CLASS1.0\r\nMELODY:c2d2\r\nEND:IMELODY\r\n"},
        {"beat 1000", "BEAT:1000\r\nMELODY:c2d2"},
        {"beat 24 and 25", "BEAT:25\r\nBEAT:24\r\nMELODY:c2d2"},
        {"beat 900", "BEAT:900\r\nMELODY:c2d2", true, "c2d2", 900},
        {"style S3", "STYLE:S3\r\nMELODY:c2d2"},
        {"style S2", "STYLE:S2\r\nMELODY:c2d2", true, "c2d2", 120, 2},
        {"style without S", "style:1\r\nmelody:c2d2", true, "c2d2", 120, 1},
        {"V+ at 15", "VOLUME:V15\r\nVOLUME:V+\r\nMELODY:c2d2", true, "c2d2", 120, 0, 15},
        {"V- at 0", "VOLUME:V0\r\nVOLUME:V-\r\nMELODY:c2d2", true, "c2d2", 120, 0, 0},
        {"V+ from the default", "VOLUME:V+\r\nMELODY:c2d2", true, "c2d2", 120, 0, 8},
        {"two digits, held to 15", "VOLUME:V99\r\nMELODY:c2d2", true, "c2d2", 120, 0, 15},
        {"80-character melody", "MELODY:" + melody80, true, melody80.left(63)},
        {"bare line feeds and leading breaks", "\n\r\nBEAT:200\nMELODY:c2d2\n", true, "c2d2", 200},
        {"folded melody", "MELODY:c2d2\r\n e2f2\r\n\tg2", true, "c2d2e2f2g2"},
        {"empty lines are skipped", "BEAT:100\r\n\r\n\r\nMELODY:c2d2", true, "c2d2", 100},
        {"many bare line feeds", "BEAT:100" + QByteArray(300, '\n') + "MELODY:c2d2", true, "c2d2", 100},
        {"no separator: the melody", "c2d2", true, "c2d2"},
        {"line of 256 bytes", "NAME:" + QByteArray(251, 'n') + "\r\nMELODY:c2d2"},
        {"line of 257 bytes", "NAME:" + QByteArray(252, 'n') + "\r\nMELODY:c2d2", false, ""},
        {"beat without a number", "BEAT:fast\r\nMELODY:c2d2", false, ""},
        {"volume without a level", "VOLUME:loud\r\nMELODY:c2d2", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CIMelody melody;
        EXPECT_EQ(melody.Write(c.text), c.ok);
        EXPECT_EQ(melody.Text(), c.ok ? Normalised(c.melody) : QByteArray());
        if (!c.ok)
            continue;
        EXPECT_EQ(melody.Beat(), c.beat);
        EXPECT_EQ(melody.Style(), c.style);
        EXPECT_EQ(melody.Volume(), c.volume);
    }

    CIMelody melody;
    ASSERT_TRUE(melody.Write("NAME:Tune\r\nCOMPOSER:Ann\r\nMELODY:c2"));
    EXPECT_EQ(melody.Name(), QByteArray("Tune"));
    EXPECT_EQ(melody.Composer(), QByteArray("Ann"));
    // A second text starts afresh.
    ASSERT_TRUE(melody.Write("MELODY:d2"));
    EXPECT_TRUE(melody.Name().isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(melody.WriteFile(dir.filePath("tune.imy")));
    QFile file(dir.filePath("tune.imy"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Normalised("d2"));
    melody.Free();
    EXPECT_FALSE(melody.WriteFile(dir.filePath("empty.imy")));
}

// Pixels of a bitmap as text rows of '0' and '1'.
QStringList Rows(const QByteArray& pixels, int width)
{
    QStringList rows;
    for (qsizetype i = 0; i < pixels.size(); i += width) {
        QString row;
        for (qsizetype x = i; x < i + width; ++x)
            row += pixels[x] ? u'1' : u'0';
        rows << row;
    }
    return rows;
}

TEST(EmsPictureBitmap, ConvertsOneAndTwentyFourBitData)
{
    QByteArray frame16(32, '\0');
    frame16[0] = char(0x80);
    frame16[31] = char(0x01);
    const struct {
        const char* name;
        int width;
        int height;
        int bits;
        QByteArray data;
        QStringList rows; // empty: the conversion fails
    } cases[] = {
        {"16 x 16", 16, 16, 1, frame16,
            QStringList {"1000000000000000"} + QStringList(14, QString(16, u'0')) + QStringList {"0000000000000001"}},
        {"rows share bytes", 3, 3, 1, QByteArray::fromHex("A880"), {"101", "010", "001"}},
        {"24 bits: black where the middle byte is 0", 2, 2, 24, QByteArray::fromHex("FF00FF 00FF00 FFFFFF 000000"),
            {"10", "01"}},
        {"8 x 100", 8, 100, 1, QByteArray(100, '\x81'), QStringList(100, "10000001")},
        {"longer data is ignored", 8, 1, 1, QByteArray::fromHex("F0FFFF"), {"11110000"}},
        {"1-bit data one byte short", 16, 16, 1, QByteArray(31, '\0'), {}},
        {"24-bit data one byte short", 2, 2, 24, QByteArray(11, '\0'), {}},
        {"8 bits per pixel", 2, 2, 8, QByteArray(4, '\0'), {}},
        {"no width", 0, 8, 1, QByteArray(8, '\0'), {}},
        {"too large", 4096, 4096, 1, QByteArray(), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CEmsPictureBitmap picture;
        ASSERT_EQ(picture.Convert(c.width, c.height, c.bits, c.data), !c.rows.isEmpty());
        if (c.rows.isEmpty()) {
            EXPECT_TRUE(picture.Pixels().isEmpty());
            EXPECT_TRUE(picture.Text().isEmpty());
            continue;
        }
        EXPECT_EQ(Rows(picture.Pixels(), c.width), c.rows);
        QByteArray text = "P1\n" + QByteArray::number(c.width) + ' ' + QByteArray::number(c.height) + '\n';
        for (const QString& row : c.rows) {
            for (const QChar pixel : row)
                text += QByteArray(1, char(pixel.unicode())) + ' ';
            text += '\n';
        }
        EXPECT_EQ(picture.Text(), text);
    }
}

TEST(EmsAnimationBitmap, ConvertsItsFramesOneAfterAnother)
{
    QByteArray frames(32, '\0');
    frames[8] = char(0xFF); // the first row of the second frame
    CEmsAnimationBitmap animation;
    ASSERT_TRUE(animation.Convert(8, 8, 1, 4, frames));
    EXPECT_EQ(animation.Frames(), 4);
    const QStringList rows = Rows(animation.Pixels(), 8);
    ASSERT_EQ(rows.size(), 32);
    EXPECT_EQ(rows[8], QStringLiteral("11111111"));
    EXPECT_EQ(rows.count(QStringLiteral("00000000")), 31);
    EXPECT_TRUE(animation.Text().startsWith("A1\n8 8 4\n0 0 0 0 0 0 0 0 \n"));
    EXPECT_EQ(animation.Text().count('\n'), 2 + 32);

    EXPECT_FALSE(animation.Convert(8, 8, 1, 4, frames.left(31)));
    EXPECT_TRUE(animation.Text().isEmpty());
    EXPECT_FALSE(animation.Convert(8, 8, 1, 0, frames));
    EXPECT_TRUE(animation.Convert(2, 1, 24, 2, QByteArray::fromHex("FF00FF FFFFFF FFFFFF FF00FF")));
    EXPECT_EQ(Rows(animation.Pixels(), 2), QStringList({"10", "01"}));
}

QRgb Black()
{
    return qRgb(0, 0, 0);
}

QRgb White()
{
    return qRgb(255, 255, 255);
}

TEST(EmsPictureBitmap, WritesABmpThatQtReads)
{
    // A 16 x 16 picture with a black top-left pixel and a black bottom-right one.
    QByteArray data(32, '\0');
    data[0] = char(0x80);
    data[31] = char(0x01);
    CEmsPictureBitmap picture;
    ASSERT_TRUE(picture.Convert(16, 16, 1, data));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("picture.bmp");
    ASSERT_TRUE(picture.WriteBmp(path));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 54 + 16 * 16 * 3);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(bytes.mid(2, 4), QByteArray::fromHex("36030000")); // 822, low byte first
    EXPECT_EQ(bytes.mid(10, 8), QByteArray::fromHex("3600000028000000"));
    EXPECT_EQ(bytes.mid(18, 12), QByteArray::fromHex("10000000 10000000 0100 1800"));

    QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, Black() & 0xFFFFFF);
    EXPECT_EQ(image.pixel(15, 15) & 0xFFFFFF, Black() & 0xFFFFFF);
    EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, White() & 0xFFFFFF);
    EXPECT_EQ(image.pixel(0, 15) & 0xFFFFFF, White() & 0xFFFFFF);

    // Rows of 3 pixels take 9 bytes and are padded to 12.
    CEmsPictureBitmap narrow;
    ASSERT_TRUE(narrow.Convert(3, 2, 24, QByteArray::fromHex("000000 FFFFFF FF00FF FFFFFF FFFFFF FFFFFF")));
    const QByteArray padded = MakeBmpFile(3, 2, narrow.ToBgr());
    ASSERT_EQ(padded.size(), 54 + 2 * 12);
    QImage small;
    ASSERT_TRUE(small.loadFromData(padded, "BMP"));
    EXPECT_EQ(small.size(), QSize(3, 2));
    const QList<QRgb> top {small.pixel(0, 0) & 0xFFFFFF, small.pixel(1, 0) & 0xFFFFFF, small.pixel(2, 0) & 0xFFFFFF};
    EXPECT_EQ(top, QList<QRgb>({0, 0xFFFFFF, 0}));
    EXPECT_EQ(small.pixel(0, 1) & 0xFFFFFF, 0xFFFFFFu);

    EXPECT_TRUE(MakeBmpFile(3, 2, QByteArray(17, '\0')).isEmpty());
    EXPECT_FALSE(CEmsPictureBitmap().WriteBmp(dir.filePath("none.bmp")));

    // The picture element writes the same file.
    CEmsSmallPicture element;
    ASSERT_EQ(element.Decode(QByteArray::fromHex("1121") + QByteArray(1, '\0') + data), 35);
    ASSERT_TRUE(element.SaveToFile(dir.filePath("element.bmp")));
    QFile again(dir.filePath("element.bmp"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), bytes);
}

} // namespace
