#include "controls/caption_bar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPalette>
#include <QVBoxLayout>

#include <gmock/gmock.h>

namespace {

QImage Render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

int CountNear(const QImage& image, const QRect& area, QRgb colour)
{
    int n = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

TEST(CaptionBar, BeforeAnyTextReadsDefaultInWhiteOnTheShadowColour)
{
    CCaptionBar bar;
    bar.resize(400, bar.heightForWidth(400));
    EXPECT_EQ(bar.GetText(), "default");
    const QRgb shadow = QApplication::palette().color(QPalette::Dark).rgb();
    EXPECT_EQ(platform::toQColor(bar.GetBackColor()).rgb(), shadow);
    EXPECT_EQ(platform::toQColor(bar.GetBorderColor()).rgb(), shadow);
    EXPECT_EQ(bar.GetTextColor(), 0xFFFFFFu);

    const QImage image = Render(bar);
    EXPECT_EQ(image.pixel(399, bar.height() - 1), shadow);
    const int textWidth = QFontMetrics(bar.GetTitleFont()).horizontalAdvance("default");
    EXPECT_GT(CountNear(image, QRect(4, 0, textWidth, bar.height()), qRgb(255, 255, 255)), 20);
}

TEST(CaptionBar, TheSameTextTwiceRepaintsOnce)
{
    CCaptionBar bar;
    bar.resize(300, bar.heightForWidth(300));
    bar.show();
    QApplication::processEvents();
    PaintCounter counter;
    bar.installEventFilter(&counter);

    bar.SetText("Phonebook");
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    bar.SetText("Phonebook");
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(bar.GetText(), "Phonebook");
}

TEST(CaptionBar, TheHeightFollowsTheWrappedText)
{
    CCaptionBar bar;
    bar.SetText("Short Message Service");
    const int line = QFontMetrics(bar.GetTitleFont()).height();
    EXPECT_EQ(bar.heightForWidth(2000), line + 2) << "one line plus the top and bottom borders";

    const int wordWidth = QFontMetrics(bar.GetTitleFont()).horizontalAdvance("Message");
    EXPECT_EQ(bar.heightForWidth(wordWidth + 8 + 4), 3 * line + 2) << "one word a line";

    bar.resize(2000, 50);
    bar.show(); // the wrap width is the width of the last layout pass
    EXPECT_EQ(bar.CalcFixedLayout(true, true), QSize(32767, line + 2));
    bar.resize(wordWidth + 12, 50);
    EXPECT_EQ(bar.CalcFixedLayout(true, true), QSize(32767, 3 * line + 2));
}

TEST(CaptionBar, TheBarTakesItsHeightInAColumnLayout)
{
    QWidget frame;
    auto* column = new QVBoxLayout(&frame);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new CCaptionBar;
    column->addWidget(bar);
    column->addWidget(new QWidget, 1);
    bar->SetText("Short Message Service");
    frame.resize(800, 600);
    frame.show();
    QApplication::processEvents();
    EXPECT_EQ(bar->width(), 800);
    EXPECT_EQ(bar->height(), QFontMetrics(bar->GetTitleFont()).height() + 2);
}

TEST(CaptionBar, WrapsAtWordsBreaksLongWordsAndEndsInAnEllipsis)
{
    QFont font;
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    const int line = metrics.height();
    const int width = metrics.horizontalAdvance("Schedule entries") + 2;

    EXPECT_THAT(CCaptionBar::WrapCaption("Memo", font, 500, line), ::testing::ElementsAre("Memo"));
    EXPECT_THAT(CCaptionBar::WrapCaption("Schedule entries of today", font, width, 3 * line),
                ::testing::ElementsAre("Schedule entries", "of today"));

    const QStringList cut = CCaptionBar::WrapCaption("Schedule entries of today and tomorrow", font,
                                                     metrics.horizontalAdvance("Schedule") + 2, line + line / 2);
    ASSERT_EQ(cut.size(), 1);
    EXPECT_TRUE(cut[0].endsWith(QChar(0x2026))) << cut[0].toStdString();

    const QStringList broken = CCaptionBar::WrapCaption("Abcdefghijklmnopqrstuvwxyz", font,
                                                        metrics.horizontalAdvance("Abcdefgh"), 10 * line);
    EXPECT_GT(broken.size(), 2);
    EXPECT_EQ(broken.join(QString()), "Abcdefghijklmnopqrstuvwxyz");
}

TEST(CaptionBar, TheTabShapeSlantsOutwardsToTheBottom)
{
    CCaptionBar bar;
    bar.SetText("Phonebook");
    bar.SetBackColor(0xA05E60);
    bar.SetBorderColor(0x80282B);
    bar.SetTextColor(0xE7D7D7);
    bar.resize(600, bar.heightForWidth(600));
    const QImage image = Render(bar);
    const QRgb back = platform::toQColor(0xA05E60).rgb();
    const QRgb shape = platform::toQColor(0x80282B).rgb();
    const int cx = QFontMetrics(bar.GetTitleFont()).horizontalAdvance("Phonebook");
    const int bottom = bar.height() - 1;

    EXPECT_EQ(image.pixel(cx + 15, 1), back) << "past the top edge of the shape";
    EXPECT_EQ(image.pixel(cx + 15, bottom), shape) << "the slant reaches further at the bottom";
    EXPECT_EQ(image.pixel(cx + 30, bottom), back);
    EXPECT_EQ(image.pixel(1, 1), shape);
    EXPECT_EQ(image.pixel(599, 1), back);
    EXPECT_GT(CountNear(image, QRect(4, 0, cx, bar.height()), platform::toQColor(0xE7D7D7).rgb()), 20);
}

} // namespace
