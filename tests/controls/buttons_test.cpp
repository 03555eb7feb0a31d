#include "controls/form_button.h"
#include "controls/image_button.h"
#include "platform/string_table.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kBlue = 0xFF0000;
constexpr QRgb kCanvas = 0xFF123456;

QRgb rgbOf(COLORREF c)
{
    return platform::toQColor(c).rgb();
}

// The button alone, over a canvas of a known colour (parts it does not paint keep it).
QImage render(QWidget& w)
{
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(kCanvas);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

void move(QWidget& w, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent event(QEvent::MouseMove, pos, w.mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

void leave(QWidget& w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&w, &event);
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 200);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <class B>
    B* add(const QString& text = QString())
    {
        auto* b = new B(text, &window);
        b->setGeometry(10, 10 + 40 * int(window.children().size()), 80, 30);
        b->show();
        return b;
    }

    QWidget window;
};

TEST_F(ButtonTest, SettersCheckTheirArguments)
{
    auto* b = add<CImageButton>("Go");
    COLORREF c = 1;
    EXPECT_EQ(b->GetStateColor(CImageButton::BTNST_COLOR_BK_OUT, c), 0);
    EXPECT_EQ(platform::toQColor(c).rgb(), b->palette().color(QPalette::Button).rgb());
    EXPECT_EQ(b->SetStateColor(6, kRed), 3);
    EXPECT_EQ(b->GetStateColor(6, c), 3);
    EXPECT_EQ(b->SetStateColor(CImageButton::BTNST_COLOR_FG_FOCUS, kRed), 0);
    EXPECT_EQ(b->GetStateColor(CImageButton::BTNST_COLOR_FG_FOCUS, c), 0);
    EXPECT_EQ(c, kRed);
    b->ResetColors();
    b->GetStateColor(CImageButton::BTNST_COLOR_FG_FOCUS, c);
    EXPECT_EQ(platform::toQColor(c).rgb(), b->palette().color(QPalette::ButtonText).rgb());
    EXPECT_EQ(b->SetImageAlign(3), 4);
    EXPECT_EQ(b->SetImageAlign(2), 0);
    EXPECT_EQ(b->SetCursorResource(":/no/such/cursor.png"), 1);
    EXPECT_EQ(b->LoadIcons(":/no/such/icon.png"), 1);
    EXPECT_EQ(b->LoadBitmaps(":/no/such/bitmap.bmp", 0xFF00FF), 1);
    EXPECT_EQ(b->LoadBitmaps(":/images/record_list.bmp", 0xFF00FF), 0);
    EXPECT_EQ(b->SetBitmapHandles(QImage(), 0), 0);

    // Only a button in check-box mode takes a check state.
    b->SetCheck(1);
    EXPECT_EQ(b->GetCheck(), 0);
    b->SetCheckBoxMode(true);
    b->SetCheck(5);
    EXPECT_EQ(b->GetCheck(), 1);
}

TEST_F(ButtonTest, FlatButtonLightsOnlyWhileTheMouseIsOver)
{
    auto* b = add<CImageButton>("Go");
    move(*b, {5, 5});
    EXPECT_TRUE(b->IsHovered());
    // Moves from outside arrive while the button holds the mouse.
    move(*b, {-5, 5}, Qt::LeftButton);
    EXPECT_FALSE(b->IsHovered());
    // With the button down, the light does not come on.
    move(*b, {5, 5}, Qt::LeftButton);
    EXPECT_FALSE(b->IsHovered());
    move(*b, {5, 5});
    EXPECT_TRUE(b->IsHovered());
    leave(*b);
    EXPECT_FALSE(b->IsHovered());

    auto* raised = add<CImageButton>("Up");
    raised->SetFlat(false);
    move(*raised, {5, 5});
    EXPECT_FALSE(raised->IsHovered());
}

TEST_F(ButtonTest, FaceColourFollowsTheState)
{
    auto* b = add<CImageButton>();
    b->SetStateColor(CImageButton::BTNST_COLOR_BK_IN, kRed);
    b->SetStateColor(CImageButton::BTNST_COLOR_BK_OUT, kGreen);
    b->SetStateColor(CImageButton::BTNST_COLOR_BK_FOCUS, kBlue);
    const QPoint inside(10, 10);

    EXPECT_EQ(render(*b).pixel(inside), rgbOf(kGreen));
    move(*b, {5, 5});
    QImage lit = render(*b);
    EXPECT_EQ(lit.pixel(inside), rgbOf(kRed));
    // The hover edge: light on top, shadow at the bottom.
    EXPECT_EQ(lit.pixel(10, 0), b->palette().color(QPalette::Light).rgb());
    EXPECT_EQ(lit.pixel(10, b->height() - 1), b->palette().color(QPalette::Dark).rgb());
    leave(*b);

    QApplication::setActiveWindow(&window);
    b->setFocus();
    ASSERT_TRUE(b->hasFocus());
    EXPECT_EQ(render(*b).pixel(inside), rgbOf(kBlue));
    b->setDown(true);
    EXPECT_EQ(render(*b).pixel(inside), rgbOf(kRed));
    b->setDown(false);

    // Without the edge, hover changes only the face.
    b->SetBorderVisible(false);
    move(*b, {5, 5});
    EXPECT_EQ(render(*b).pixel(10, 0), rgbOf(kRed));
}

TEST_F(ButtonTest, CheckBoxModeTogglesAndStaysPressedWithoutShifting)
{
    auto* b = add<CImageButton>("Outlook");
    b->SetCheckBoxMode(true);
    b->SetStateColor(CImageButton::BTNST_COLOR_BK_IN, kRed);
    b->SetStateColor(CImageButton::BTNST_COLOR_BK_OUT, kGreen);
    b->SetStateColor(CImageButton::BTNST_COLOR_BK_FOCUS, kBlue);
    QSignalSpy clicks(b, &QAbstractButton::clicked);

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b->GetCheck(), 1);
    EXPECT_EQ(clicks.count(), 1); // the parent still hears the click
    leave(*b);
    EXPECT_TRUE(b->IsPressedLook());
    QImage checked = render(*b);
    EXPECT_EQ(checked.pixel(10, 10), rgbOf(kRed));
    EXPECT_EQ(checked.pixel(0, 0), b->palette().color(QPalette::Dark).rgb()); // sunken edge

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    leave(*b);
    EXPECT_EQ(b->GetCheck(), 0);
    EXPECT_EQ(render(*b).pixel(10, 10), rgbOf(b->hasFocus() ? kBlue : kGreen));

    // Same colours in and out and no edge: checked and unchecked look the same, so the
    // caption has not moved; a plain button held down shifts its caption.
    for (int i = 0; i < 6; i += 2) {
        b->SetStateColor(i, 0xFFFFFF);
        b->SetStateColor(i + 1, 0);
    }
    b->SetBorderVisible(false);
    const QImage up = render(*b);
    b->SetCheck(1);
    EXPECT_EQ(render(*b), up);
    b->SetCheck(0);
    b->SetCheckBoxMode(false);
    b->setDown(true);
    EXPECT_NE(render(*b), up);
    b->setDown(false);
}

TEST_F(ButtonTest, DoubleClickPressesTwice)
{
    auto* b = add<CFormButton>("New");
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    const QPoint at(5, 5);
    const auto send = [&](QEvent::Type type) {
        QMouseEvent event(type, at, b->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(b, &event);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ButtonTest, DisablingHandsTheFocusOn)
{
    auto* first = add<CFormButton>("Edit");
    auto* second = add<CFormButton>("Delete");
    QApplication::setActiveWindow(&window);
    first->setFocus();
    ASSERT_TRUE(first->hasFocus());
    move(*first, {5, 5});
    first->setEnabled(false);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_FALSE(first->IsHovered());
}

TEST_F(ButtonTest, FormButtonHasARoundedFaceInTheInColour)
{
    auto* b = add<CFormButton>();
    b->SetBkColors(kRed, kGreen, kBlue);
    const int w = b->width();
    const int h = b->height();

    QImage image = render(*b);
    EXPECT_EQ(image.pixel(w / 2, h / 2), rgbOf(kRed));
    EXPECT_EQ(image.pixel(w / 2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(w / 2, h - 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 0), kCanvas); // outside the rounded corner

    // Hover and focus do not change the face.
    move(*b, {5, 5});
    EXPECT_EQ(render(*b).pixel(w / 2, h / 2), rgbOf(kRed));
    leave(*b);

    b->SetRounded(false);
    image = render(*b);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(w - 1, h - 1), qRgb(0, 0, 0));
}

TEST_F(ButtonTest, CaptionColourShowsHover)
{
    auto* b = add<CFormButton>("MMMM");
    b->SetBkColors(0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
    b->SetFgColors(kRed, kBlue, kGreen);
    const auto has = [](const QImage& image, QRgb colour) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == colour)
                    return true;
        return false;
    };
    QImage out = render(*b);
    EXPECT_TRUE(has(out, rgbOf(kBlue)));
    EXPECT_FALSE(has(out, rgbOf(kRed)));
    move(*b, {5, 5});
    QImage in = render(*b);
    EXPECT_TRUE(has(in, rgbOf(kRed)));
    EXPECT_FALSE(has(in, rgbOf(kBlue)));
}

TEST_F(ButtonTest, ImagePlacementByAlignment)
{
    QImage square(8, 8, QImage::Format_RGB32);
    square.fill(qRgb(0, 0, 255));
    square.setPixel(0, 0, qRgb(255, 0, 255)); // the transparent colour
    struct Case {
        quint8 align;
        QPoint inside;  // a pixel of the image
        QPoint outside; // the transparent corner pixel
    };
    auto* b = add<CImageButton>("A");
    b->SetStateColor(CImageButton::BTNST_COLOR_BK_OUT, 0xFFFFFF);
    ASSERT_EQ(b->SetBitmapHandles(square, 0xFF00FF), 0);
    const int w = b->width();
    const int h = b->height();
    const Case cases[] = {
        {CImageButton::ST_ALIGN_HORIZ, {3 + 4, (h - 8) / 2 + 4}, {3, (h - 8) / 2}},
        {CImageButton::ST_ALIGN_VERT, {(w - 8) / 2 + 4, 3 + 4}, {(w - 8) / 2, 3}},
        {CImageButton::ST_ALIGN_HORIZ_RIGHT, {w - 8 - 3 + 4, (h - 8) / 2 + 4}, {w - 8 - 3, (h - 8) / 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.align));
        b->SetImageAlign(c.align);
        const QImage image = render(*b);
        EXPECT_EQ(image.pixel(c.inside), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(c.outside), qRgb(255, 255, 255));
    }
    // Held down, the image moves by one pixel.
    b->SetImageAlign(CImageButton::ST_ALIGN_HORIZ);
    b->setDown(true);
    const QImage down = render(*b);
    EXPECT_EQ(down.pixel(3 + 1, (h - 8) / 2 + 1), b->palette().color(QPalette::Button).rgb());
    EXPECT_EQ(down.pixel(3 + 8, (h - 8) / 2 + 4), qRgb(0, 0, 255));
}

TEST_F(ButtonTest, Tooltips)
{
    platform::ScopedLanguage english(platform::LANG_ENGLISH_US);
    auto* b = add<CImageButton>("Go");
    b->SetTipText("Read the phone", true);
    EXPECT_EQ(b->toolTip(), "Read the phone");
    b->ActivateTip(false);
    EXPECT_TRUE(b->toolTip().isEmpty());
    b->ActivateTip(true);
    EXPECT_EQ(b->toolTip(), "Read the phone");
    b->SetTipTextId(61453);
    EXPECT_EQ(b->toolTip(), "Sun");
    b->SetTipTextId(1); // no such string: ignored
    EXPECT_EQ(b->toolTip(), "Sun");

    auto* f = add<CFormButton>();
    f->SetText("Delete");
    EXPECT_EQ(f->text(), "Delete");
    EXPECT_EQ(f->toolTip(), "Delete");
}

TEST_F(ButtonTest, RaisedButtonFramesWhenFocusedOrDefault)
{
    auto* b = add<CImageButton>("OK");
    b->SetFlat(false);
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_NE(render(*b).pixel(0, 0), black);
    b->setDefault(true);
    EXPECT_EQ(render(*b).pixel(0, 0), black);
}

} // namespace
