#include "controls/bitmap_file.h"
#include "controls/startup_splash.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtEndian>

#include <gmock/gmock.h>

#include <functional>
#include <vector>

namespace {

// Writes bitmap files field by field, so that each test states the layout it means.
struct BmpSpec {
    int width = 2;
    int height = 2; // negative: rows top-down
    int bitCount = 24;
    quint32 compression = 0;
    quint32 infoSize = 40;
    std::vector<QRgb> table; // written as the colour table
    quint32 colorsUsed = 0;
    std::vector<quint32> masks; // written after a 40-byte header, or into a longer one
    int gap = 0;                // bytes between the table and the pixels, announced in bfOffBits
    // The value of pixel (x, y) as stored: a table index or the raw 16/24/32-bit value.
    std::function<quint32(int x, int y)> pixel = [](int, int) { return 0u; };
};

void Put(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray BuildBmp(const BmpSpec& spec)
{
    QByteArray info;
    Put(info, spec.infoSize, 4);
    Put(info, quint32(spec.width), 4);
    Put(info, quint32(spec.height), 4);
    Put(info, 1, 2);
    Put(info, quint32(spec.bitCount), 2);
    Put(info, spec.compression, 4);
    Put(info, 0, 4); // image size
    Put(info, 2835, 4);
    Put(info, 2835, 4);
    Put(info, spec.colorsUsed, 4);
    Put(info, 0, 4);
    if (spec.infoSize > 40) {
        for (quint32 mask : spec.masks)
            Put(info, mask, 4);
        info.append(QByteArray(int(spec.infoSize) - info.size(), '\0'));
    } else {
        for (quint32 mask : spec.masks)
            Put(info, mask, 4);
    }
    for (QRgb c : spec.table)
        Put(info, quint32(qBlue(c)) | (quint32(qGreen(c)) << 8) | (quint32(qRed(c)) << 16), 4);
    info.append(QByteArray(spec.gap, '\x5A'));

    const int rows = std::abs(spec.height);
    const int stride = (spec.width * spec.bitCount + 31) / 32 * 4;
    QByteArray pixels;
    for (int r = 0; r < rows; ++r) {
        const int y = spec.height < 0 ? r : rows - 1 - r;
        QByteArray row(stride, '\0');
        for (int x = 0; x < spec.width; ++x) {
            const quint32 v = spec.pixel(x, y);
            if (spec.bitCount < 8) {
                const int perByte = 8 / spec.bitCount;
                const int shift = 8 - spec.bitCount * (x % perByte + 1);
                row[x / perByte] = char(uchar(row[x / perByte]) | (v << shift));
            } else {
                const int bytes = spec.bitCount / 8;
                for (int b = 0; b < bytes; ++b)
                    row[x * bytes + b] = char((v >> (8 * b)) & 0xFF);
            }
        }
        pixels.append(row);
    }

    QByteArray file;
    Put(file, 0x4D42, 2);
    Put(file, quint32(14 + info.size() + pixels.size()), 4);
    Put(file, 0, 4);
    Put(file, quint32(14 + info.size()), 4);
    return file + info + pixels;
}

QImage Decode(const QByteArray& bytes)
{
    QImage image;
    EXPECT_TRUE(DecodeBitmapFile(bytes, image));
    return image;
}

quint32 Bgr(QRgb c)
{
    return quint32(qBlue(c)) | (quint32(qGreen(c)) << 8) | (quint32(qRed(c)) << 16);
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// The picture every decode test expects: a diagonal of colours on a 5 x 3 grid.
QRgb Expected(int x, int y)
{
    static const QRgb colours[] = {kRed, kGreen, kBlue, kWhite};
    return colours[(x + 2 * y) % 4];
}

int IndexOf(int x, int y)
{
    return (x + 2 * y) % 4;
}

void ExpectPicture(const QImage& image, const char* what)
{
    ASSERT_EQ(image.size(), QSize(5, 3)) << what;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(image.pixel(x, y), Expected(x, y)) << what << " at " << x << "," << y;
}

TEST(BitmapFile, DecodesEveryDepthAndRowOrder)
{
    const std::vector<QRgb> table = {kRed, kGreen, kBlue, kWhite};
    auto indexed = [&](int bits, int height) {
        BmpSpec spec;
        spec.width = 5;
        spec.height = height;
        spec.bitCount = bits;
        spec.table = table;
        spec.table.resize(size_t(1) << bits, kBlack);
        spec.pixel = [](int x, int y) { return quint32(IndexOf(x, y)); };
        return spec;
    };
    auto direct = [](int bits, int height, std::function<quint32(QRgb)> encode) {
        BmpSpec spec;
        spec.width = 5;
        spec.height = height;
        spec.bitCount = bits;
        spec.pixel = [encode](int x, int y) { return encode(Expected(x, y)); };
        return spec;
    };
    auto rgb555 = [](QRgb c) { return quint32(((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3)); };
    auto rgb565 = [](QRgb c) { return quint32(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) | (qBlue(c) >> 3)); };
    // Red in the low byte, blue in the third: a layout only the masks can explain.
    auto rgbx = [](QRgb c) { return quint32(qRed(c)) | (quint32(qGreen(c)) << 8) | (quint32(qBlue(c)) << 16); };

    struct Case {
        const char* what;
        BmpSpec spec;
    };
    std::vector<Case> cases = {
        {"1 bit", indexed(1, 3)},
        {"4 bits", indexed(4, 3)},
        {"8 bits", indexed(8, 3)},
        {"8 bits top-down", indexed(8, -3)},
        {"24 bits", direct(24, 3, Bgr)},
        {"24 bits top-down", direct(24, -3, Bgr)},
        {"32 bits", direct(32, 3, Bgr)},
        {"16 bits 5-5-5", direct(16, 3, rgb555)},
    };
    // One bit per pixel only has two colours: use a black and white picture there.
    cases[0].spec.table = {kRed, kGreen};
    cases[0].spec.pixel = [](int x, int y) { return quint32(IndexOf(x, y) & 1); };

    BmpSpec short8 = indexed(8, 3);
    short8.table = table;
    short8.colorsUsed = 4;
    cases.push_back({"8 bits with a short table", short8});

    BmpSpec fields32 = direct(32, 3, rgbx);
    fields32.compression = 3;
    fields32.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    cases.push_back({"32 bits with bit fields", fields32});

    BmpSpec fields16 = direct(16, -3, rgb565);
    fields16.compression = 3;
    fields16.masks = {0xF800, 0x07E0, 0x001F};
    cases.push_back({"16 bits 5-6-5 top-down", fields16});

    BmpSpec v5 = direct(32, 3, rgbx);
    v5.infoSize = 124;
    v5.compression = 3;
    v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0};
    cases.push_back({"longer header with its masks inside", v5});

    BmpSpec padded = indexed(4, 3);
    padded.gap = 6;
    cases.push_back({"a gap announced by the file header", padded});

    BmpSpec skipped = direct(24, 3, Bgr);
    skipped.table = {kBlack, kBlack};
    skipped.colorsUsed = 2;
    cases.push_back({"24 bits with an optimisation table", skipped});

    for (const Case& c : cases) {
        QImage image = Decode(BuildBmp(c.spec));
        if (c.spec.bitCount == 1) {
            ASSERT_EQ(image.size(), QSize(5, 3));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x)
                    EXPECT_EQ(image.pixel(x, y), IndexOf(x, y) & 1 ? kGreen : kRed) << x << "," << y;
            continue;
        }
        ExpectPicture(image, c.what);
    }
}

TEST(BitmapFile, IndicesBeyondAShortTableShowBlack)
{
    BmpSpec spec;
    spec.width = 3;
    spec.height = 1;
    spec.bitCount = 8;
    spec.table = {kRed, kGreen};
    spec.colorsUsed = 2;
    spec.pixel = [](int x, int) { return quint32(x * 100); };
    const QImage image = Decode(BuildBmp(spec));
    EXPECT_EQ(image.pixel(0, 0), kRed);
    EXPECT_EQ(image.pixel(1, 0), kBlack);
    EXPECT_EQ(image.pixel(2, 0), kBlack);
}

TEST(BitmapFile, RefusesWhatItCannotReadSafely)
{
    BmpSpec good;
    good.width = 4;
    good.height = 2;
    const QByteArray valid = BuildBmp(good);
    auto patched = [&](int offset, quint32 value, int bytes) {
        QByteArray copy = valid;
        for (int i = 0; i < bytes; ++i)
            copy[offset + i] = char((value >> (8 * i)) & 0xFF);
        return copy;
    };

    BmpSpec rle;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.table = {kRed};
    BmpSpec noMasks;
    noMasks.bitCount = 32;
    noMasks.compression = 3;
    noMasks.width = 0x10;
    noMasks.height = 1;

    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"file header only", valid.left(14)},
        {"not BM", patched(0, 0x4142, 2)},
        {"header shorter than BITMAPINFOHEADER", patched(14, 12, 4)},
        {"header longer than the file", patched(14, 4000, 4)},
        {"zero width", patched(18, 0, 4)},
        {"negative width", patched(18, quint32(-4), 4)},
        {"zero height", patched(22, 0, 4)},
        {"two bits per pixel", patched(28, 2, 2)},
        {"RLE compression", BuildBmp(rle)},
        {"bit fields on 24 bits", patched(30, 3, 4)},
        {"colour count beyond the file", patched(46, 0x40000000, 4)},
        {"rows beyond the file", patched(22, 1000, 4)},
        {"pixels beyond any sensible picture", patched(22, 0x7FFFFFFF, 4)},
        {"most negative height", patched(22, 0x80000000, 4)},
        {"wider than the file", patched(18, 0x7FFFFFFF, 4)},
        {"bit fields cut off", BuildBmp(noMasks).left(14 + 40 + 6)},
    };
    for (const auto& c : cases) {
        QImage image(1, 1, QImage::Format_RGB32);
        EXPECT_FALSE(DecodeBitmapFile(c.bytes, image)) << c.what;
        EXPECT_EQ(image.size(), QSize(1, 1)) << c.what << ": a failed read leaves the picture alone";
    }
}

TEST(BitmapFile, EveryTruncationFailsWithoutReadingPastTheEnd)
{
    BmpSpec spec;
    spec.width = 7;
    spec.height = 3;
    spec.bitCount = 8;
    spec.table.assign(256, kBlue);
    const QByteArray whole = BuildBmp(spec);
    QImage image;
    ASSERT_TRUE(DecodeBitmapFile(whole, image));
    for (qsizetype n = 0; n < whole.size(); ++n) {
        // A copy of exactly n bytes, so that the sanitizers see any read beyond it.
        const QByteArray prefix(whole.constData(), n);
        EXPECT_FALSE(DecodeBitmapFile(prefix, image)) << n;
    }
}

TEST(BitmapFile, AFileOffsetPointingNowhereIsIgnored)
{
    BmpSpec spec;
    spec.width = 5;
    spec.height = 3;
    spec.pixel = [](int x, int y) { return Bgr(Expected(x, y)); };
    QByteArray bytes = BuildBmp(spec);
    for (quint32 offset : {0u, 20u, 0xFFFFFFF0u}) {
        for (int i = 0; i < 4; ++i)
            bytes[10 + i] = char((offset >> (8 * i)) & 0xFF);
        ExpectPicture(Decode(bytes), "offset");
    }
}

// A file of the source tree, which the build names for every test.
QString SourceFile(const QString& relative)
{
    return QDir::cleanPath(QStringLiteral(DESKHAND_SOURCE_DIR) + u'/' + relative);
}

TEST(BitmapFile, LoadsTheShippedSplashPicture)
{
    const QString path = SourceFile("res/splash.bmp");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24) << "24 bits per pixel";
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 46), 0u) << "no colour table";

    QImage picture;
    ASSERT_TRUE(LoadBitmapFile(path, picture));
    EXPECT_EQ(picture.size(), QSize(480, 280));
    EXPECT_EQ(picture.pixel(240, 275), qRgb(43, 40, 128)) << "the band along the bottom";
    QImage unchanged(2, 2, QImage::Format_RGB32);
    EXPECT_FALSE(LoadBitmapFile(SourceFile("res/no-such-picture.bmp"), unchanged));
    EXPECT_EQ(unchanged.size(), QSize(2, 2));
}

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CStartupSplash::EnableSplash(true);
        style.picturePath = SourceFile("res/splash.bmp");
        owner.resize(640, 480);
    }

    void TearDown() override
    {
        if (CStartupSplash* splash = CStartupSplash::Instance())
            splash->HideSplash();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CStartupSplash::EnableSplash(false);
    }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    SplashStyle style;
    QWidget owner;
    QTemporaryDir dir;
};

TEST_F(SplashTest, MissingOrBrokenPicturesMeanNoSplash)
{
    QFile real(style.picturePath);
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray bytes = real.readAll();
    const QString paths[] = {
        dir.filePath("splash.bmp"),
        WriteFile("truncated.bmp", bytes.left(bytes.size() - 1)),
        WriteFile("header-only.bmp", bytes.left(30)),
        WriteFile("not-a-bitmap.bmp", "GIF89a"),
    };
    for (const QString& path : paths) {
        style.picturePath = path;
        CStartupSplash::ShowSplash(&owner, style);
        EXPECT_EQ(CStartupSplash::Instance(), nullptr) << path.toStdString();
    }
}

TEST_F(SplashTest, ShowsThePictureCentredOverItsOwner)
{
    CStartupSplash::ShowSplash(&owner, style);
    CStartupSplash* splash = CStartupSplash::Instance();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->isWindow());
    EXPECT_EQ(splash->parentWidget(), &owner);
    EXPECT_EQ(splash->size(), QSize(480, 280));
    EXPECT_EQ(splash->TimerPeriod(), 1000);
    const QRect screen = owner.screen()->availableGeometry();
    EXPECT_LE((splash->geometry().center() - screen.center()).manhattanLength(), 1);

    const QImage shown = splash->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, splash->Picture());

    CStartupSplash::ShowSplash(&owner, style);
    EXPECT_EQ(CStartupSplash::Instance(), splash) << "one splash at a time";
}

// The owner is still being built when the splash comes, and a window manager stacks it over the
// splash once it is shown: the splash is a frameless splash window that stays on top, and the
// window system knows it as the owner's transient.
TEST_F(SplashTest, StaysAboveItsOwnerShownAfterIt)
{
    CStartupSplash::ShowSplash(&owner, style);
    CStartupSplash* splash = CStartupSplash::Instance();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->windowType(), Qt::SplashScreen);
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(owner.isVisible()) << "the splash does not show its owner";

    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    EXPECT_TRUE(splash->isVisible());
    ASSERT_NE(splash->windowHandle(), nullptr);
    EXPECT_EQ(splash->windowHandle()->transientParent(), owner.windowHandle());
    EXPECT_TRUE(splash->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(SplashTest, DisabledMeansNoSplash)
{
    CStartupSplash::EnableSplash(false);
    CStartupSplash::ShowSplash(&owner, style);
    EXPECT_EQ(CStartupSplash::Instance(), nullptr);
}

TEST_F(SplashTest, InputDoesNotCloseItTheTimerDoes)
{
    CStartupSplash::ShowSplash(&owner, style);
    QPointer<CStartupSplash> splash = CStartupSplash::Instance();
    ASSERT_TRUE(splash);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(splash, &press);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(splash, &key);
    QApplication::processEvents();
    EXPECT_TRUE(splash);
    EXPECT_EQ(CStartupSplash::Instance(), splash.data());
    EXPECT_TRUE(splash->isVisible());

    splash->OnTimer();
    EXPECT_EQ(CStartupSplash::Instance(), nullptr);
    EXPECT_FALSE(splash->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(splash) << "the splash deletes itself";

    CStartupSplash::ShowSplash(&owner, style);
    EXPECT_NE(CStartupSplash::Instance(), nullptr) << "a new one may be shown after";
}

TEST_F(SplashTest, TheTimerEndsItByItself)
{
    style.timerPeriodMs = 20;
    CStartupSplash::ShowSplash(&owner, style);
    // On a busy machine the timer may already have run out while the window was shown; the
    // splash is then hidden but not yet deleted.
    ASSERT_NE(owner.findChild<CStartupSplash*>(), nullptr);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!CStartupSplash::Instance())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(CStartupSplash::Instance(), nullptr);
}

TEST_F(SplashTest, AFilteredPressEndsASplashWhoseTimerDoesNot)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(CStartupSplash::FilterInput(&key)) << "no splash, nothing eaten";

    style.timerPeriodMs = 750;
    style.hideOnTimer = false;
    CStartupSplash::ShowSplash(&owner, style);
    CStartupSplash* splash = CStartupSplash::Instance();
    ASSERT_NE(splash, nullptr);
    splash->OnTimer();
    EXPECT_EQ(CStartupSplash::Instance(), splash);

    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_FALSE(CStartupSplash::FilterInput(&release));
    EXPECT_FALSE(CStartupSplash::FilterInput(&move));
    EXPECT_EQ(CStartupSplash::Instance(), splash);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    EXPECT_TRUE(CStartupSplash::FilterInput(&press));
    EXPECT_EQ(CStartupSplash::Instance(), nullptr);
    EXPECT_FALSE(CStartupSplash::FilterInput(&key));
}

} // namespace
