// Deskhand2's dialogs of fixed layout keep their size under any window manager; the main window
// and the pick lists stay resizable.
#include "main_window2_fixture.h"

#include "controls/work_progress_dlg.h"
#include "support/window_size_check.h"
#include "ui2/about_dlg.h"
#include "ui2/contact_dlg.h"
#include "ui2/memo_dlg.h"
#include "ui2/phonebook_list_dlg.h"
#include "ui2/schedule_dlg.h"
#include "ui2/select_schedule_dlg.h"
#include "ui2/sms_dlg.h"

namespace {

using namespace ui2test;

using DialogSizes2 = MainWindow2Test;

TEST_F(DialogSizes2, FixedLayoutsKeepTheirSizeAndListsStayResizable)
{
    CPhoneEntry entry;
    CScheduleEntry schedule;
    CScheduleEntry memo;
    memo.m_nKind = CScheduleEntry::KindMemo;
    const std::vector<CScheduleEntry*> records{&schedule};
    windowtest::ExpectSizes({
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeNew); }, true, 0},
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeEdit); }, true, 0},
        {[&] { return std::make_unique<CMemoDlg>(memo, CMemoDlg::ModeNew); }, true, 340},
        {[&] { return std::make_unique<CMemoDlg>(memo, CMemoDlg::ModeEdit); }, true, 340},
        {[&] { return std::make_unique<CScheduleDlg>(schedule, CScheduleDlg::ModeNew); }, true, 0},
        {[&] { return std::make_unique<CSMSDlg>(); }, true, 380},
        {[&] { return std::make_unique<CAboutDlg>(); }, true, 0},
        {[&] { return std::make_unique<CWorkProgressDlg>(CWorkProgressDlg::kDeskhand2, MakeProgressRequest()); }, true, 0},
        // A pick list shows more of itself in a larger window.
        {[&] { return std::make_unique<CSelectScheduleDlg>(records); }, false, 0},
        {[&] { return std::make_unique<CPhonebookListDlg>(*doc); }, false, 0},
    });
    windowtest::ExpectResizable(*frame);
}

// "New" on the phonebook page opens the contact dialog at its own size, however it is asked to
// grow.
TEST_F(DialogSizes2, TheNewContactDialogOfThePageKeepsItsSize)
{
    scripts.scripts.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "CContactDlg");
        windowtest::ExpectKeepsItsSize(dialog);
        dialog.reject();
        return int(QDialog::Rejected);
    });
    Click(IDC_PC_NEW);
    EXPECT_EQ(scripts.run, 1);
}

} // namespace
