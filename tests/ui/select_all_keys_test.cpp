// Deskhand's Select All boxes and the schedule dialog's repeat buttons answer every change of
// their state, not only a mouse click.
#include "organizer_fixture.h"

#include "phonesim/fault.h"
#include "support/toggle_checks.h"
#include "ui/schedule_dlg.h"

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
        SCOPED_TRACE(pane.form->objectName().toStdString() + ' ' + std::to_string(pane.box));
        windowtest::ExpectSelectAllFollowsEveryToggle(*pane.form->CheckBox(pane.box), *pane.form->RecordList(pane.list),
                                                      windowtest::RowMark::Selected, *pane.form->GetDlgItem(pane.remove));
    }
}

// The phone side's Select All of every page is unticked while the phone list has no entries to
// select: before any read, after a read that failed and after a read of an empty list (a ticked
// box would say every entry is selected).
TEST_F(SelectAllKeys, ThePhoneSidesSelectAllIsUntickedWithNothingRead)
{
    const struct {
        int page;
        CDataForm* form;
        int box;
        const char* read; // the command whose failure fails the page's read
    } pages[] = {
        {0, form, IDC_CONTACT_MOBILE_SELECT_ALL, "AT+CPBR=*"},
        {1, schedule, IDC_ORGANIZER_MOBILE_SELECT_ALL, "AT+CXDR=*"},
        {2, memo, IDC_ORGANIZER_MOBILE_SELECT_ALL, "AT+CMDR=*"},
    };
    const auto box = [](const auto& page) { return page.form->CheckBox(page.box); };
    for (const auto& page : pages) {
        ShowPage(page.page);
        SCOPED_TRACE(page.form->objectName().toStdString() + " before any read");
        EXPECT_FALSE(box(page)->isChecked());
        EXPECT_FALSE(box(page)->isEnabled());
    }
    for (const auto& page : pages) {
        ShowPage(page.page);
        SCOPED_TRACE(page.form->objectName().toStdString() + " after a failed read");
        phone.injectFault(page.read, phonesim::Fault::error(), 1);
        Press(page.form, IDC_MOBILE_READ);
        EXPECT_FALSE(box(page)->isChecked());
        EXPECT_FALSE(box(page)->isEnabled());
    }
    EXPECT_EQ(Boxes().size(), 3);
    phone.state().handset.entries.clear();
    phone.state().schedules.entries.clear();
    phone.state().memos.entries.clear();
    for (const auto& page : pages) {
        ShowPage(page.page);
        SCOPED_TRACE(page.form->objectName().toStdString() + " after a read of no entries");
        Press(page.form, IDC_MOBILE_READ);
        EXPECT_EQ(page.form->RecordList(page.page == 0 ? int(IDC_HANDSET_LIST) : int(IDC_PHONE_LIST))->GetItemCount(), 0);
        EXPECT_FALSE(box(page)->isChecked());
    }
    EXPECT_EQ(Boxes().size(), 3);
}

TEST(ScheduleDialogKeys, TheRepeatFollowsTheCheckedButton)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    windowtest::ExpectTheRepeatFollowsTheCheckedButton<CScheduleDlg, CScheduleEntry>();
}

} // namespace
