// Failures leave the window usable, the port free and the records as they were; rows never
// reach records the document has freed; the window does not close under a running command.
#include "main_window_fixture.h"

#include "ui/contact_dlg.h"

#include <QFile>
#include <QSignalBlocker>

#include <gmock/gmock.h>

using namespace dh1;

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::MainWindowTest;

using Mends = MainWindowTest;

TEST_F(Mends, AFailedBookSelectionClosesTheSession)
{
    Click(IDC_MOBILE_READ);
    AddPcContact("Dora", "0172");
    Select(List(IDC_PC_LIST), {0});
    phone.injectFault("AT+CPBS=\"ME\"", phonesim::Fault::error());

    // ">>": the connect step failed after the session opened.
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to connect to mobile. - The phone refused the command"));
    EXPECT_TRUE(Sent("AT+SYNCSTOP").size() >= 2);
    ExpectIdle();

    // Mobile Delete: the info text is cleared, no box.
    ui.rec.boxes.clear();
    Select(List(IDC_HANDSET_LIST), {0});
    Click(IDC_MOBILE_DELETE);
    EXPECT_THAT(Boxes(), ElementsAre("Are you sure?"));
    EXPECT_EQ(Text(IDC_INFO), "");
    EXPECT_EQ(phone.state().handset.used(), 2);
    ExpectIdle();

    // Mobile Edit and New: nothing changes, the window stays usable.
    ui.rec.boxes.clear();
    ClickRow(List(IDC_HANDSET_LIST), 0);
    dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) { dlg.NameEdit()->setText("Anna"); }));
    Click(IDC_MOBILE_EDIT);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to connect to mobile. - The phone refused the command"));
    EXPECT_EQ(doc->m_handsetContacts[0]->m_strName, "Ann");
    ExpectIdle();
}

TEST_F(Mends, AFailedMobileEditChangesNothing)
{
    Click(IDC_MOBILE_READ);
    ClickRow(List(IDC_HANDSET_LIST), 0);
    phone.injectFault("AT+CPBW=*", phonesim::Fault::cmeError(20), 1);
    dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) {
        dlg.NameEdit()->setText("Anna");
        dlg.MobileEdit()->setText("0999");
    }));
    Click(IDC_MOBILE_EDIT);

    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - Memory is full"));
    const CPhoneEntry& ann = *doc->m_handsetContacts[0];
    EXPECT_EQ(ann.m_strName, "Ann");
    EXPECT_EQ(ann.m_strMobile, "+4930123");
    EXPECT_EQ(ann.m_nIndex, 3);
    EXPECT_EQ(List(IDC_HANDSET_LIST)->GetItemText(0, 1), "Ann");
    EXPECT_EQ(phone.state().handset.entries[3].name, "Ann");
    ExpectIdle();
}

TEST_F(Mends, RowsWhoseRecordsAreGoneDoNothing)
{
    Click(IDC_MOBILE_READ);
    AddPcContact("Dora", "0172");
    ClickRow(List(IDC_PC_LIST), 0);
    ClickRow(List(IDC_HANDSET_LIST), 0);
    {
        // The document frees the records without telling the views (as a stale row would see).
        const QSignalBlocker quiet(doc.get());
        doc->m_pcContacts.clear();
        doc->m_handsetContacts.clear();
    }
    ASSERT_EQ(List(IDC_PC_LIST)->GetItemCount(), 1);
    phone.clearCommandLog();
    Click(IDC_PC_EDIT);                // no dialog is scripted: none may open
    Click(IDC_MOBILE_EDIT);
    Click(IDC_PC_DELETE);              // asks, then finds nothing to mark
    Click(IDC_COPY_TO_PC);
    Q_EMIT List(IDC_PC_LIST)->listClicked();
    EXPECT_TRUE(doc->m_pcContacts.empty());
    EXPECT_EQ(form->DetailList(IDC_PC_DETAIL)->GetValue(0), "");
    EXPECT_EQ(dialogsRun, 0);

    // Whenever the document replaces a list, the rows follow at once.
    const QString csv = dataDir.filePath("in.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Name,Mobile,Home,Office,Email,Memo,Group\r\nZoe,1,,,,,VIP\r\n");
    file.close();
    ui.rec.fileAnswers.push_back(csv);
    frame->FindAction(ID_LOAD_CSV)->trigger();
    EXPECT_THAT(Names(List(IDC_PC_LIST)), ElementsAre("Zoe"));
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemText(0, 6), "VIP");
}

TEST_F(Mends, TheWindowDoesNotCloseWhileACommandRuns)
{
    AddPcContact("Dora", "0172");
    int refusedWhileBusy = 0;
    ui.rec.onPump = [&](int) {
        if (doc->IsBusy() && !frame->close())
            ++refusedWhileBusy;
    };
    Click(IDC_MOBILE_READ);
    EXPECT_GT(refusedWhileBusy, 0);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob"));
    ui.rec.onPump = nullptr;

    // Once idle, Exit closes the window and the PC list is saved.
    frame->FindAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(frame->isVisible());
    CMVsyncDoc reloaded;
    reloaded.SetDataDir(dataDir.path());
    reloaded.LoadLocalData();
    ASSERT_EQ(reloaded.m_pcContacts.size(), 1u);
    EXPECT_EQ(reloaded.m_pcContacts[0]->m_strName, "Dora");
}

} // namespace
