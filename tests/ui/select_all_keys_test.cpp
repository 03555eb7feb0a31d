// Select All and the schedule dialog's repeat buttons answer every change of their state, not
// only a mouse click: the space bar on the focused box, and a toggle as assistive technology
// makes it (QCheckBox::toggle, setChecked).
#include "organizer_fixture.h"

#include "ui/schedule_dlg.h"

#include <QCheckBox>
#include <QRadioButton>

#include <functional>

using namespace dh1;

namespace {

using namespace ids;
using uitest::OrganizerTest;

using SelectAllKeys = OrganizerTest;

TEST_F(SelectAllKeys, EveryToggleOfSelectAllSelectsOrClearsTheRows)
{
    AddPcContact("Cy", "3");
    AddPcContact("Di", "4");
    AddSchedule("walk", Today());
    AddSchedule("swim", Today());
    AddMemo("milk");
    AddMemo("bread");
    Click(IDC_MOBILE_READ); // Ann and Bob
    ASSERT_EQ(List(IDC_HANDSET_LIST)->GetItemCount(), 2);

    const struct {
        int page;
        CDataForm* form;
        int box;
        int list;
        int remove; // the pane's Delete
    } panes[] = {
        {0, form, IDC_CONTACT_PC_SELECT_ALL, IDC_PC_LIST, IDC_PC_DELETE},
        {0, form, IDC_CONTACT_MOBILE_SELECT_ALL, IDC_HANDSET_LIST, IDC_MOBILE_DELETE},
        {1, schedule, IDC_ORGANIZER_PC_SELECT_ALL, IDC_PC_LIST, IDC_PC_DELETE},
        {2, memo, IDC_ORGANIZER_PC_SELECT_ALL, IDC_PC_LIST, IDC_PC_DELETE},
    };
    for (const auto& pane : panes) {
        ShowPage(pane.page);
        QCheckBox* box = pane.form->CheckBox(pane.box);
        CRecordListCtrl* list = pane.form->RecordList(pane.list);
        SCOPED_TRACE(pane.form->objectName().toStdString() + ' ' + std::to_string(pane.box));
        ASSERT_TRUE(box->isEnabled());
        ASSERT_EQ(list->GetSelectedCount(), 0);

        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        EXPECT_TRUE(box->isChecked());
        EXPECT_EQ(list->GetSelectedCount(), 2);
        EXPECT_TRUE(IsOn(pane.form, pane.remove));

        box->toggle();
        EXPECT_EQ(list->GetSelectedCount(), 0);
        EXPECT_FALSE(IsOn(pane.form, pane.remove));

        box->setChecked(true);
        EXPECT_EQ(list->GetSelectedCount(), 2);
        EXPECT_TRUE(IsOn(pane.form, pane.remove));

        // A row left out clears the box and leaves the other row selected.
        list->SetSelected(0, false);
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(list->GetSelectedCount(), 1);
        EXPECT_TRUE(IsOn(pane.form, pane.remove));
        list->clearSelection();
    }
}

TEST(ScheduleDialogKeys, TheRepeatFollowsTheCheckedButton)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    const struct {
        const char* how;
        std::function<void(CScheduleDlg&)> change;
        int repeat;
    } cases[] = {
        {"setChecked", [](CScheduleDlg& dlg) { dlg.RepeatButton(2)->setChecked(true); }, 2},
        {"toggle", [](CScheduleDlg& dlg) { dlg.RepeatButton(4)->toggle(); }, 4},
        {"arrow key",
         [](CScheduleDlg& dlg) {
             dlg.RepeatButton(3)->setFocus();
             QTest::keyClick(dlg.RepeatButton(3), Qt::Key_Right);
         },
         4},
        {"back to once", [](CScheduleDlg& dlg) { dlg.RepeatButton(0)->setChecked(true); }, 0},
    };
    for (const auto& c : cases) {
        CScheduleEntry entry;
        entry.m_dtStart = COleDateTime(2004, 3, 7, 9, 0, 0);
        entry.m_nRepeat = 3;
        CScheduleDlg dlg(entry, CScheduleDlg::ModeEdit);
        dlg.show();
        QApplication::setActiveWindow(&dlg); // the arrow keys move within the focused window
        c.change(dlg);
        dlg.accept();
        EXPECT_EQ(entry.m_nRepeat, c.repeat) << c.how;
    }
}

} // namespace
