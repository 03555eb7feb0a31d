// Deskhand2's Select All boxes and the schedule dialog's repeat buttons answer every change of
// their state, not only a mouse click.
#include "organizer_fixture.h"

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

TEST(ScheduleDialogKeys, TheRepeatFollowsTheCheckedButton)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    windowtest::ExpectTheRepeatFollowsTheCheckedButton<CScheduleDlg, CScheduleEntry>();
}

} // namespace
