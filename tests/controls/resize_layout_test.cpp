#include "controls/resizable_form_view.h"
#include "controls/resize_layout.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>

#include <gmock/gmock.h>

#include <map>
#include <memory>

namespace {

// Counts the moves and resizes a control receives.
class GeometryCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            ++changes;
        return false;
    }
    int changes = 0;
};

// The layout over a plain window, whose whole rectangle is the layout rectangle.
class PlainLayout : public CResizeLayout {
public:
    explicit PlainLayout(QWidget* window) : m_window(window) {}
    QWidget* GetLayoutWnd() const override { return m_window; }

private:
    QWidget* m_window;
};

TEST(ResizeLayout, AnchorArithmeticInWholePixels)
{
    const struct {
        const char* what;
        Anchor topLeft, bottomRight;
        QRect design; // in a 400 x 300 window
        QSize size;   // the window afterwards
        QRect expected;
    } rows[] = {
        {"stretches with both corners", ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT, {10, 10, 100, 20}, {600, 500}, {10, 10, 300, 220}},
        {"moves with the bottom-right corner", ANCHOR_BOTTOMRIGHT, ANCHOR_NONE, {300, 250, 80, 30}, {600, 500}, {500, 450, 80, 30}},
        {"keeps its place at the top left", ANCHOR_TOPLEFT, ANCHOR_NONE, {20, 30, 50, 20}, {900, 700}, {20, 30, 50, 20}},
        {"half of an odd width truncates", ANCHOR_TOPCENTER, ANCHOR_NONE, {50, 50, 60, 20}, {603, 300}, {151, 50, 60, 20}},
        {"left pane to the middle", ANCHOR_TOPLEFT, ANCHOR_BOTTOMCENTER, {10, 40, 180, 200}, {601, 401}, {10, 40, 280, 301}},
        {"right pane from the middle", ANCHOR_TOPCENTER, ANCHOR_BOTTOMRIGHT, {210, 40, 180, 200}, {601, 401}, {310, 40, 281, 301}},
        {"centre stays centred", ANCHOR_MIDDLECENTER, ANCHOR_NONE, {150, 125, 100, 50}, {800, 600}, {350, 275, 100, 50}},
        {"middle right", ANCHOR_MIDDLERIGHT, ANCHOR_NONE, {350, 140, 40, 20}, {500, 400}, {450, 190, 40, 20}},
        {"middle left to bottom left", ANCHOR_MIDDLELEFT, ANCHOR_BOTTOMLEFT, {5, 150, 40, 100}, {400, 500}, {5, 250, 40, 200}},
        {"bottom centre", ANCHOR_BOTTOMCENTER, ANCHOR_NONE, {180, 270, 40, 20}, {500, 350}, {230, 320, 40, 20}},
        {"top right", ANCHOR_TOPRIGHT, ANCHOR_NONE, {350, 10, 40, 20}, {410, 300}, {360, 10, 40, 20}},
        {"shrinks too, without a floor", ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT, {10, 10, 380, 280}, {200, 100}, {10, 10, 180, 80}},
        {"never a negative size", ANCHOR_TOPRIGHT, ANCHOR_BOTTOMLEFT, {300, 10, 50, 20}, {600, 300}, {500, 10, 0, 20}},
    };
    for (const auto& row : rows) {
        QWidget window;
        window.resize(400, 300);
        auto* control = new QWidget(&window);
        control->setGeometry(row.design);
        PlainLayout layout(&window);
        layout.AddControl(control, row.topLeft, row.bottomRight);
        window.resize(row.size);
        layout.Arrange();
        EXPECT_EQ(control->geometry(), row.expected) << row.what;
    }
}

TEST(ResizeLayout, CallbackEntriesFollowTheControlsAndAreAskedEachTime)
{
    struct Asking : PlainLayout {
        using PlainLayout::PlainLayout;
        bool OnCallbackEntry(LayoutEntry& entry) override
        {
            asked.push_back(entry.callbackData);
            return true;
        }
        std::vector<int> asked;
    };
    QWidget window;
    window.resize(100, 100);
    auto* a = new QWidget(&window);
    Asking layout(&window);
    layout.AddCallbackEntry(7);
    layout.AddControl(a, ANCHOR_TOPLEFT);
    layout.AddControl(nullptr, ANCHOR_TOPLEFT);
    ASSERT_EQ(layout.GetEntries().size(), 3u);
    EXPECT_EQ(layout.GetControlCount(), 2);
    EXPECT_EQ(layout.GetEntries()[0].window, a);
    EXPECT_EQ(layout.GetEntries()[2].callbackData, 7);
    layout.Arrange();
    EXPECT_THAT(layout.asked, ::testing::ElementsAre(0, 7));
}

// A form of 400 x 300 with the panes the data forms use.
class FormTest : public ::testing::Test {
protected:
    enum { kPcList = 1009, kMobileList = 1014, kMobileRead = 1005, kPcNew = 1000, kStale = 1050, kMissing = 4242 };

    void SetUp() override
    {
        form = std::make_unique<CResizableFormView>(QSize(400, 300));
        add(kPcList, {10, 40, 180, 250});
        add(kMobileList, {210, 40, 180, 250});
        add(kMobileRead, {210, 10, 60, 24});
        add(kPcNew, {10, 10, 60, 24});
        add(kStale, {100, 10, 60, 24});
        for (int id : {kPcList, kMobileList, kMobileRead, kPcNew, kStale})
            design[id] = form->GetDlgItem(id)->geometry();
    }

    void add(int id, const QRect& rect) { form->AddDlgItem(id, new QWidget, rect); }

    void Initialise()
    {
        form->AnchorControl(kPcList, ANCHOR_TOPLEFT, ANCHOR_BOTTOMCENTER);
        form->AnchorControl(kMobileList, ANCHOR_TOPCENTER, ANCHOR_BOTTOMRIGHT);
        form->AnchorControl(kMobileRead, ANCHOR_TOPCENTER);
        form->AnchorControl(kMissing, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
        form->AnchorControl(kStale, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
        form->resize(400, 300);
        form->show();
        form->OnInitialUpdate();
    }

    QRect at(int id) const { return form->GetDlgItem(id)->geometry(); }

    // Scroll bars come and go at the next event-loop turn; the layout follows them there.
    void Resize(int w, int h)
    {
        form->resize(w, h);
        QApplication::processEvents();
    }

    std::unique_ptr<CResizableFormView> form;
    std::map<int, QRect> design;
};

TEST_F(FormTest, ControlsFollowTheirAnchorsAsTheFormGrows)
{
    Initialise();
    Resize(600, 500);
    EXPECT_EQ(form->GetFormSurface()->size(), QSize(600, 500));
    EXPECT_EQ(at(kPcList), QRect(10, 40, 280, 450));
    EXPECT_EQ(at(kMobileList), QRect(310, 40, 280, 450));
    EXPECT_EQ(at(kMobileRead), QRect(310, 10, 60, 24));
    EXPECT_EQ(at(kPcNew), design[kPcNew]) << "not anchored: stays at the top left";
}

TEST_F(FormTest, BelowTheDesignSizeTheFormScrollsInstead)
{
    Initialise();
    Resize(600, 500);
    Resize(300, 200);
    EXPECT_EQ(form->GetFormSurface()->size(), QSize(400, 300));
    for (const auto& [id, rect] : design)
        EXPECT_EQ(at(id), rect) << id;
    EXPECT_GT(form->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(form->verticalScrollBar()->maximum(), 0);

    // Narrower only: the height still follows, the width stays at the design.
    Resize(350, 500);
    const int visibleHeight = form->viewport()->height();
    EXPECT_EQ(form->GetFormSurface()->size(), QSize(400, visibleHeight));
    EXPECT_EQ(at(kPcList), QRect(10, 40, 180, 250 + visibleHeight - 300));

    Resize(600, 500);
    EXPECT_EQ(at(kMobileList), QRect(310, 40, 280, 450)) << "growing again restores the anchored places";
}

TEST_F(FormTest, NothingMovesWhenNothingChanges)
{
    Initialise();
    GeometryCounter pcNew, mobileRead, pcList;
    form->GetDlgItem(kPcNew)->installEventFilter(&pcNew);
    form->GetDlgItem(kMobileRead)->installEventFilter(&mobileRead);
    form->GetDlgItem(kPcList)->installEventFilter(&pcList);

    form->Arrange();
    Resize(400, 300);
    EXPECT_EQ(pcList.changes + mobileRead.changes, 0);

    Resize(400, 600); // taller only
    EXPECT_EQ(mobileRead.changes, 0) << "a top-anchored control keeps its place";
    EXPECT_EQ(pcList.changes, 1) << "a resize, no move";
    form->Arrange();
    EXPECT_EQ(pcList.changes, 1);
    EXPECT_EQ(pcNew.changes, 0);
}

TEST_F(FormTest, BeforeTheFirstUpdateResizingArrangesNothing)
{
    form->AnchorControl(kMobileList, ANCHOR_TOPCENTER, ANCHOR_BOTTOMRIGHT);
    form->show();
    Resize(700, 600);
    EXPECT_FALSE(form->IsInitialized());
    EXPECT_EQ(at(kMobileList), design[kMobileList]);
    EXPECT_EQ(form->GetFormSurface()->size(), QSize(400, 300));
    form->OnInitialUpdate();
    EXPECT_EQ(at(kMobileList), QRect(360, 40, 330, 550));
}

TEST_F(FormTest, EntriesWithoutAWindowAreSkipped)
{
    Initialise();
    EXPECT_EQ(form->GetDlgItem(kMissing), nullptr);
    EXPECT_EQ(form->GetControlCount(), 5);
    int without = 0;
    for (const LayoutEntry& entry : form->GetEntries())
        without += entry.window.isNull();
    EXPECT_EQ(without, 1);

    delete form->GetDlgItem(kStale); // a control that goes away is skipped too
    Resize(640, 480);
    EXPECT_EQ(at(kMobileList), QRect(330, 40, 300, 430));
}

TEST_F(FormTest, ControlsNestedInAGroupAreAnchoredInFormCoordinates)
{
    auto* group = form->AddDlgItem(2000, new QWidget, {200, 100, 150, 150});
    auto* inner = new QWidget(group);
    inner->setGeometry(10, 20, 30, 40); // at (210, 120) on the form
    form->AddControl(inner, ANCHOR_BOTTOMRIGHT);
    Initialise();
    Resize(500, 400);
    EXPECT_EQ(inner->geometry(), QRect(110, 120, 30, 40));
}

} // namespace
