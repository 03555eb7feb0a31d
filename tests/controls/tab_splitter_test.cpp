#include "controls/splitter_tab_wnd.h"
#include "controls/wnd_tab.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>

#include <gmock/gmock.h>

#include <memory>
#include <vector>

namespace {

using ::testing::ElementsAre;

struct RecordingFrame : ITabFrame {
    void SelectTab(int n) override { selected.push_back(n); }
    std::vector<int> selected;
};

CSplitterTabWnd::ViewFactory MakeView(const QString& name)
{
    return [name] {
        auto view = std::make_unique<QWidget>();
        view->setObjectName(name);
        return view;
    };
}

CSplitterTabWnd::ViewFactory FailingView()
{
    return [] { return std::unique_ptr<QWidget>(); };
}

void LeftClick(QWidget* widget, int x, int y = 12)
{
    const QPointF pos(x, y);
    QMouseEvent press(QEvent::MouseButtonPress, pos, widget->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

QRgb Rgb(COLORREF c)
{
    return platform::toQColor(c).rgb();
}

class TabSplitterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        splitter.resize(600, 400);
        ASSERT_EQ(splitter.AddView(MakeView("phonebook"), "Phonebook"), 0);
        ASSERT_EQ(splitter.AddView(MakeView("schedule"), "Schedule"), 1);
        ASSERT_EQ(splitter.AddView(MakeView("memo"), "Memo"), 2);
        splitter.show();
        ASSERT_EQ(splitter.CreateTabWindow(&frame), 1);
        strip = splitter.GetTabWnd();
        ASSERT_NE(strip, nullptr);
    }

    QImage RenderStrip()
    {
        QImage image(strip->size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        strip->render(&image);
        return image;
    }

    QWidget* Shown() const
    {
        for (int i = 0; i < splitter.GetViewCount(); ++i) {
            if (QWidget* view = splitter.GetView(i); view && view->isVisible())
                return view;
        }
        return nullptr;
    }

    RecordingFrame frame;
    CSplitterTabWnd splitter;
    CWndTab* strip = nullptr;
};

TEST_F(TabSplitterTest, ViewsAboveTheStripWithoutABar)
{
    EXPECT_EQ(strip->geometry(), QRect(0, 400 - 23, 600, 23));
    ASSERT_EQ(Shown(), splitter.GetView(0));
    EXPECT_EQ(Shown()->geometry(), QRect(0, 0, 600, 377));
    EXPECT_THAT(frame.selected, ElementsAre(0));

    splitter.resize(800, 600);
    EXPECT_EQ(strip->geometry(), QRect(0, 577, 800, 23));
    EXPECT_EQ(Shown()->geometry(), QRect(0, 0, 800, 577));
}

TEST(TabSplitterAddView, TheLastViewAddedIsShownUntilTheStripExists)
{
    CSplitterTabWnd splitter;
    splitter.resize(300, 200);
    splitter.show();
    splitter.AddView(MakeView("a"), "A");
    splitter.AddView(MakeView("b"), "B");
    EXPECT_FALSE(splitter.GetView(0)->isVisible());
    EXPECT_TRUE(splitter.GetView(1)->isVisible());
    splitter.CreateTabWindow(nullptr);
    EXPECT_TRUE(splitter.GetView(0)->isVisible());
    EXPECT_FALSE(splitter.GetView(1)->isVisible());
}

TEST(TabSplitterAddView, AFailedViewKeepsItsTabAndShiftsNoOtherView)
{
    RecordingFrame frame;
    CSplitterTabWnd splitter;
    splitter.resize(500, 300);
    splitter.show();
    EXPECT_EQ(splitter.AddView(MakeView("a"), "A"), 0);
    EXPECT_EQ(splitter.AddView(FailingView(), "Broken"), -1);
    EXPECT_TRUE(splitter.GetView(0)->isVisible()) << "the hidden view comes back";
    EXPECT_EQ(splitter.AddView(MakeView("c"), "C"), 2);
    splitter.CreateTabWindow(&frame);
    CWndTab* strip = splitter.GetTabWnd();
    ASSERT_EQ(strip->GetTabCount(), 3);

    // The broken page's tab: the index is stored and the frame told, no view changes.
    LeftClick(strip, strip->TabLeft(1) + 11 + strip->TabWidth(1) / 2);
    EXPECT_EQ(splitter.GetCurrentView(), 1);
    EXPECT_THAT(frame.selected, ElementsAre(0, 1));
    EXPECT_TRUE(splitter.GetView(0)->isVisible());

    // The third tab shows the third view, not its neighbour's.
    LeftClick(strip, strip->TabLeft(2) + 11 + strip->TabWidth(2) / 2);
    EXPECT_EQ(splitter.GetCurrentView(), 2);
    EXPECT_EQ(splitter.GetView(2)->objectName(), "c");
    EXPECT_TRUE(splitter.GetView(2)->isVisible());
    EXPECT_FALSE(splitter.GetView(0)->isVisible());
}

TEST_F(TabSplitterTest, TabsOverlapByHalfASlant)
{
    const QFontMetrics metrics(strip->TabFont());
    EXPECT_LE(metrics.height(), 21);
    EXPECT_GE(metrics.height(), 17);

    const QStringList titles = {"Phonebook", "Schedule", "Memo"};
    int left = 20;
    for (int i = 0; i < 3; ++i) {
        const int w = metrics.horizontalAdvance(titles[i]) + 3;
        EXPECT_EQ(strip->TabWidth(i), w);
        EXPECT_EQ(strip->TabLeft(i), left);
        EXPECT_EQ(strip->TabOutline(i),
                  QPolygon({QPoint(left, 0), QPoint(left + 11, 22), QPoint(left + 11 + w, 22), QPoint(left + 22 + w, 0)}));
        left += 11 + w;
    }
}

TEST_F(TabSplitterTest, OnlyTheBottomEdgeSpanOnePixelWiderTakesAClick)
{
    for (int i = 0; i < 3; ++i) {
        const int start = strip->TabLeft(i) + 11; // bottom edge from here ...
        const int end = start + strip->TabWidth(i); // ... to here
        SCOPED_TRACE(i);
        EXPECT_EQ(strip->TabFromX(start - 1), i);
        EXPECT_EQ(strip->TabFromX(end + 1), i);
        EXPECT_EQ(strip->TabFromX(start - 2), -1) << "left slant";
        EXPECT_EQ(strip->TabFromX(end + 2), -1) << "right slant";
    }
    // Where two tabs overlap, between the bottom edges, nothing is hit.
    const int overlapStart = strip->TabLeft(0) + 11 + strip->TabWidth(0) + 2;
    for (int x = overlapStart; x < strip->TabLeft(1) + 11 - 1; ++x)
        EXPECT_EQ(strip->TabFromX(x), -1) << x;
    EXPECT_EQ(strip->TabFromX(0), -1);
    EXPECT_EQ(strip->TabFromX(strip->TabLeft(2) + 22 + strip->TabWidth(2)), -1);
}

TEST_F(TabSplitterTest, AClickSelectsTheViewRecoloursTheTabAndTellsTheFrame)
{
    const int mid1 = strip->TabLeft(1) + 11 + strip->TabWidth(1) / 2;
    LeftClick(strip, mid1, 3); // the y position is not looked at
    EXPECT_EQ(splitter.GetCurrentView(), 1);
    EXPECT_EQ(Shown(), splitter.GetView(1));
    EXPECT_EQ(Shown()->geometry(), QRect(0, 0, 600, 377));
    EXPECT_THAT(frame.selected, ElementsAre(0, 1));
    EXPECT_EQ(strip->GetSelectedFillColor(), 0x4C9476u);
    EXPECT_EQ(strip->GetSelectedTextColor(), 0xD9F0E6u);

    // Outside every tab, and with another button: nothing changes.
    LeftClick(strip, 5);
    LeftClick(strip, strip->TabLeft(1) + 3);
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(strip->TabLeft(2) + 15, 12), QPointF(), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &right);
    EXPECT_EQ(splitter.GetCurrentView(), 1);
    EXPECT_THAT(frame.selected, ElementsAre(0, 1));
    EXPECT_EQ(strip->GetSelectedFillColor(), 0x4C9476u);

    LeftClick(strip, strip->TabLeft(2) + 11);
    EXPECT_EQ(splitter.GetCurrentView(), 2);
    EXPECT_EQ(strip->GetSelectedFillColor(), 0x84ACACu);
    EXPECT_EQ(strip->GetSelectedTextColor(), 0xFFFFFFu);
}

TEST_F(TabSplitterTest, PaintsOutlinesThenTheSelectedTabOnTop)
{
    const QImage image = RenderStrip();
    const QRgb back = Rgb(0xD7D7D7);
    const QRgb fill0 = Rgb(0x80282B);
    const QRgb black = qRgb(0, 0, 0);

    EXPECT_EQ(image.pixel(5, 0), black) << "line along the top";
    EXPECT_EQ(image.pixel(5, 10), back);
    for (int i = 0; i < 3; ++i) {
        const int left = strip->TabLeft(i);
        const int w = strip->TabWidth(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(image.pixel(left + 11 + w / 2, 22), black) << "bottom edge";
        EXPECT_EQ(image.pixel(left + 11, 20), i == 0 ? fill0 : back) << "inside, left of the title";
    }

    // The selected title in its colour; the others on opaque white.
    auto count = [&](int from, int to, QRgb colour) {
        int n = 0;
        for (int x = from; x < to; ++x)
            for (int y = 1; y < 22; ++y)
                n += image.pixel(x, y) == colour;
        return n;
    };
    const int title0 = strip->TabLeft(0) + 14;
    const int title1 = strip->TabLeft(1) + 14;
    EXPECT_GT(count(title0, title0 + strip->TabWidth(0) - 3, Rgb(0xE7D7D7)), 0);
    EXPECT_EQ(count(title0, title0 + strip->TabWidth(0) - 3, qRgb(255, 255, 255)), 0);
    EXPECT_GT(count(title1, title1 + strip->TabWidth(1) - 3, qRgb(255, 255, 255)), 20);

    // The overlap of tabs 0 and 1: near the top both cover it and the selected one wins;
    // below the point where the slants cross lies the notch between them.
    const int join = strip->TabLeft(1);
    EXPECT_EQ(image.pixel(join + 5, 3), fill0);
    EXPECT_EQ(image.pixel(join + 5, 16), back);
}

TEST_F(TabSplitterTest, TheSelectedTabCoversItsLeftNeighbourInTheOverlap)
{
    LeftClick(strip, strip->TabLeft(1) + 20);
    const QImage image = RenderStrip();
    const QRgb fill1 = Rgb(0x4C9476);
    const int join = strip->TabLeft(1);
    EXPECT_EQ(image.pixel(join + 5, 3), fill1);
    EXPECT_EQ(image.pixel(join + 5, 16), Rgb(0xD7D7D7));
    EXPECT_EQ(image.pixel(strip->TabLeft(0) + 11, 20), Rgb(0xD7D7D7)) << "tab 0 is no longer filled";
    EXPECT_EQ(image.pixel(join + 11, 20), fill1);
}

TEST_F(TabSplitterTest, ADoubleClickIsOneClick)
{
    const QPointF pos(strip->TabLeft(2) + 15, 12);
    LeftClick(strip, int(pos.x()));
    QMouseEvent twice(QEvent::MouseButtonDblClick, pos, strip->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(strip, &twice);
    EXPECT_THAT(frame.selected, ElementsAre(0, 2));
}

TEST_F(TabSplitterTest, TitlesAddedLaterAreMeasuredBeforeTheNextClick)
{
    splitter.AddView(MakeView("sms"), "Short Message Service");
    const int mid = strip->TabLeft(3) + 11 + strip->TabWidth(3) / 2;
    EXPECT_GT(strip->TabWidth(3), strip->TabWidth(2));
    LeftClick(strip, mid);
    EXPECT_EQ(splitter.GetCurrentView(), 3);
    EXPECT_EQ(frame.selected.back(), 3);
}

} // namespace
