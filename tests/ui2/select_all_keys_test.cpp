// Deskhand2's Select All boxes and the schedule dialog's repeat buttons answer every change of
// their state, not only a mouse click.
#include "organizer_fixture.h"

#include "phonesim/fault.h"
#include "support/toggle_checks.h"

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
    for (const auto& pane : panes) {
        frame->SelectTab(pane.tab);
        SCOPED_TRACE(pane.form->objectName().toStdString() + ' ' + std::to_string(pane.box));
        windowtest::ExpectSelectAllFollowsEveryToggle(*pane.form->CheckBox(pane.box), *pane.form->RecordList(pane.list),
                                                      windowtest::RowMark::Checked, *pane.form->GetDlgItem(pane.remove));
    }
}

// The phone side's Select All of every page is unticked while the page has no phone entries to
// select: before any read, after a read that failed and after a read of an empty list, or of a
// list holding only the other page's kind (a ticked box would say every entry is selected).
TEST_F(SelectAllKeys, ThePhoneSidesSelectAllIsUntickedWithNothingRead)
{
    const struct {
        int tab;
        CDataForm* form;
        int box;
        int list;
    } pages[] = {
        {0, form, IDC_MOBILE_SELECT_ALL, IDC_HANDSET_LIST},
        {1, schedules, IDC_ORGANIZER_MOBILE_SELECT_ALL, IDC_PHONE_LIST},
        {2, memos, IDC_ORGANIZER_MOBILE_SELECT_ALL, IDC_PHONE_LIST},
    };
    const auto expectUnticked = [&](const std::string& when, bool greyed) {
        for (const auto& page : pages) {
            frame->SelectTab(page.tab);
            SCOPED_TRACE(page.form->objectName().toStdString() + ' ' + when);
            EXPECT_EQ(page.form->RecordList(page.list)->GetItemCount(), 0);
            EXPECT_FALSE(page.form->CheckBox(page.box)->isChecked());
            if (greyed) {
                EXPECT_FALSE(page.form->CheckBox(page.box)->isEnabled());
            }
        }
    };
    expectUnticked("before any read", true);

    phone.injectFault("AT+CPBS=*", phonesim::Fault::error(), 1);
    Click(IDC_MOBILE_READ);
    phone.injectFault("AT+SSCR", phonesim::Fault::error(), 1);
    ClickOn(schedules, IDC_MOBILE_READ);
    phone.injectFault("AT+SSCR", phonesim::Fault::error(), 1);
    ClickOn(memos, IDC_MOBILE_READ);
    EXPECT_EQ(Boxes().size(), 3);
    expectUnticked("after a failed read", true);

    phoneState().handset.entries.clear();
    phoneState().organizer.clear();
    Click(IDC_MOBILE_READ);
    ClickOn(schedules, IDC_MOBILE_READ);
    EXPECT_EQ(Boxes().size(), 3);
    expectUnticked("after a read of no entries", false);

    // Only schedule entries on the phone: the memo page has none of its own.
    PutOnPhone(1, 0, "walk");
    ClickOn(memos, IDC_MOBILE_READ);
    frame->SelectTab(1);
    ASSERT_EQ(ListOn(schedules, IDC_PHONE_LIST)->GetItemCount(), 1);
    frame->SelectTab(2);
    EXPECT_EQ(ListOn(memos, IDC_PHONE_LIST)->GetItemCount(), 0);
    EXPECT_FALSE(memos->CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL)->isChecked());
    EXPECT_FALSE(memos->CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL)->isEnabled());
}

TEST(ScheduleDialogKeys, TheRepeatFollowsTheCheckedButton)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    windowtest::ExpectTheRepeatFollowsTheCheckedButton<CScheduleDlg, CScheduleEntry>();
}

} // namespace
