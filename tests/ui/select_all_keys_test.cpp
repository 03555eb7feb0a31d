// Deskhand's Select All boxes and the schedule dialog's repeat buttons answer every change of
// their state, not only a mouse click.
#include "organizer_fixture.h"

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

TEST(ScheduleDialogKeys, TheRepeatFollowsTheCheckedButton)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    windowtest::ExpectTheRepeatFollowsTheCheckedButton<CScheduleDlg, CScheduleEntry>();
}

} // namespace
