// Deskhand's dialogs of fixed layout keep their size under any window manager; the main window
// and the pick lists stay resizable.
#include "main_window_fixture.h"

#include "controls/work_progress_dlg.h"
#include "link/progress_view.h"
#include "support/window_size_check.h"
#include "ui/about_dlg.h"
#include "ui/contact_dlg.h"
#include "ui/debug_option_dlg.h"
#include "ui/ir_comm_option_dlg.h"
#include "ui/memo_dlg.h"
#include "ui/phonebook_list_dlg.h"
#include "ui/schedule_dlg.h"
#include "ui/sms_dlg.h"

namespace {

using namespace ids;
using uitest::MainWindowTest;

using DialogSizes = MainWindowTest;

TEST_F(DialogSizes, FixedLayoutsKeepTheirSizeAndListsStayResizable)
{
    CPhoneEntry entry;
    CMemoEntry memo;
    CScheduleEntry schedule;
    const std::vector<const CScheduleEntry*> candidates{&schedule};
    windowtest::ExpectSizes({
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeNew, doc->m_groupNames); }, true, 0},
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeEdit, doc->m_groupNames); }, true, 0},
        {[&] { return std::make_unique<CSimContactDlg>(entry, CSimContactDlg::ModeNew, doc->m_groupNames); }, true, 320},
        {[&] { return std::make_unique<CMemoDlg>(memo, CMemoDlg::ModeNew); }, true, 360},
        {[&] { return std::make_unique<CScheduleDlg>(schedule, CScheduleDlg::ModeNew); }, true, 0},
        {[&] { return std::make_unique<CScheduleDlg>(schedule, CScheduleDlg::ModeEdit); }, true, 0},
        {[&] { return std::make_unique<CSMSDlg>(*doc); }, true, 380},
        {[&] { return std::make_unique<CIrCommOptionDlg>(); }, true, 0},
        {[&] { return std::make_unique<CDebugOptionDlg>(); }, true, 0},
        {[&] { return std::make_unique<CAboutDlg>(); }, true, 0},
        {[&] { return std::make_unique<CWorkProgressDlg>(CWorkProgressDlg::kDeskhand, MakeProgressRequest()); }, true, 0},
        // A pick list shows more of itself in a larger window.
        {[&] { return std::make_unique<CSelectScheduleDlg>(candidates); }, false, 0},
        {[&] { return std::make_unique<CPhonebookListDlg>(*doc); }, false, 0},
    });
    windowtest::ExpectResizable(*frame);
}

// "New" on the phonebook page opens the contact dialog at its own size, however it is asked to
// grow.
TEST_F(DialogSizes, TheNewContactDialogOfThePageKeepsItsSize)
{
    dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "CContactDlg");
        windowtest::ExpectKeepsItsSize(dialog);
        dialog.reject();
        return int(QDialog::Rejected);
    });
    Click(IDC_PC_NEW);
    EXPECT_EQ(dialogsRun, 1);
}

} // namespace
