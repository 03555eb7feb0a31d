// Select All and the schedule dialog's repeat buttons answer every change of their state, not
// only a mouse click: the space bar on the focused box, and a toggle as assistive technology
// makes it (QCheckBox::toggle, setChecked).
#include "organizer_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace {

using namespace ui2test;

using SelectAllKeys = OrganizerTest;

TEST_F(SelectAllKeys, EveryToggleOfSelectAllChecksOrClearsTheRows)
{
    PutHandset(1, "Ann", "1");
    PutHandset(2, "Bob", "2");
    PutOnPhone(1, 0, "walk");
    PutOnPhone(1, 1, "swim");
    PutOnPhone(2, 2, "milk");
    PutOnPhone(2, 3, "bread");
    AddPcContact("Cy", "3");
    AddPcContact("Di", "4");
    for (COrganizerForm* page : {static_cast<COrganizerForm*>(schedules), static_cast<COrganizerForm*>(memos)}) {
        AddPc(page, "one");
        AddPc(page, "two");
    }
    Click(IDC_MOBILE_READ);
    ClickOn(schedules, IDC_MOBILE_READ);

    const struct {
        int tab;
        CDataForm* form;
        int box;
        int list;
        int remove; // the pane's Delete
    } panes[] = {
        {0, form, IDC_PC_SELECT_ALL, IDC_PC_LIST, IDC_PC_DELETE},
        {0, form, IDC_MOBILE_SELECT_ALL, IDC_HANDSET_LIST, IDC_MOBILE_DELETE},
        {1, schedules, IDC_ORGANIZER_PC_SELECT_ALL, IDC_PC_LIST, IDC_PC_DELETE},
        {1, schedules, IDC_ORGANIZER_MOBILE_SELECT_ALL, IDC_PHONE_LIST, IDC_MOBILE_DELETE},
        {2, memos, IDC_ORGANIZER_PC_SELECT_ALL, IDC_PC_LIST, IDC_PC_DELETE},
        {2, memos, IDC_ORGANIZER_MOBILE_SELECT_ALL, IDC_PHONE_LIST, IDC_MOBILE_DELETE},
    };
    const auto checked = [](const CRecordListCtrl* list) { return int(CDataForm::CheckedIds(*list).size()); };
    for (const auto& pane : panes) {
        frame->SelectTab(pane.tab);
        QCheckBox* box = pane.form->CheckBox(pane.box);
        CRecordListCtrl* list = pane.form->RecordList(pane.list);
        SCOPED_TRACE(pane.form->objectName().toStdString() + ' ' + std::to_string(pane.box));
        ASSERT_TRUE(box->isEnabled());
        ASSERT_EQ(list->GetItemCount(), 2);
        ASSERT_EQ(checked(list), 0);
        // The box shows the shown list's rows, whatever the pane's hidden list holds.
        EXPECT_FALSE(box->isChecked());

        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        EXPECT_TRUE(box->isChecked());
        EXPECT_EQ(checked(list), 2);
        EXPECT_TRUE(pane.form->GetDlgItem(pane.remove)->isEnabled());

        box->toggle();
        EXPECT_EQ(checked(list), 0);
        EXPECT_FALSE(pane.form->GetDlgItem(pane.remove)->isEnabled());

        box->setChecked(true);
        EXPECT_EQ(checked(list), 2);
        EXPECT_TRUE(pane.form->GetDlgItem(pane.remove)->isEnabled());

        // A row left out clears the box and keeps the other row checked.
        list->SetCheck(0, false);
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(checked(list), 1);
        EXPECT_TRUE(pane.form->GetDlgItem(pane.remove)->isEnabled());
        list->SetCheck(1, false);
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
