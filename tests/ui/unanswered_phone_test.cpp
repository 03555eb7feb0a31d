// The window on a phone's bad day: unsolicited lines before an answer, answers that never come.
// The PC entries link only to indices the phone named, and every box says why and, when the
// phone may have acted all the same, what to do first.
#include "main_window_fixture.h"

#include "ui/contact_dlg.h"

#include <gmock/gmock.h>

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::MainWindowTest;
using phonesim::Fault;

using UnansweredPhone = MainWindowTest;

const QString kMayHaveDoneIt =
    QStringLiteral("\nThe phone may have done it before its answer was lost: read the list again before you try again.");

TEST_F(UnansweredPhone, AContactLinksOnlyToTheIndexThePhoneNamed)
{
    Click(IDC_MOBILE_READ);
    CPhoneEntry* dora = AddPcContact("Dora", "0172");
    CPhoneEntry* eve = AddPcContact("Eve", "0173");

    // "+CREG: 5" before the answer names no entry: Dora goes to 1, as the phone says.
    phone.injectFault("AT+CPBW=*", Fault::before("\r\n+CREG: 5\r\n"), 1);
    Select(List(IDC_PC_LIST), {0});
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_EQ(dora->m_nIndex, 1);
    EXPECT_EQ(phone.state().handset.entries[1].name, "Dora");
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob", "Dora"));

    // The phone stores Eve and falls silent: no link, and the box says what may have happened.
    phone.injectFault("AT+CPBW=*", Fault::lost(), 1);
    Select(List(IDC_PC_LIST), {1});
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - Timeout" + kMayHaveDoneIt));
    EXPECT_EQ(eve->m_nIndex, -1);
    EXPECT_EQ(phone.state().handset.entries[2].name, "Eve");
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob", "Dora"));
    ExpectIdle();
}

// A phone that takes a new entry without naming where: no row stands for it, the box says so.
TEST_F(UnansweredPhone, ANewEntryWithoutAnIndexGetsNoRow)
{
    Click(IDC_MOBILE_READ);
    CPhoneEntry* dora = AddPcContact("Dora", "0172");
    phone.injectFault("AT+CPBW=*", Fault::reply("\r\nOK\r\n"), 1);
    Select(List(IDC_PC_LIST), {0});
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - The phone named no index for the new entry"));
    EXPECT_EQ(dora->m_nIndex, -1);
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob"));
    ExpectIdle();
}

TEST_F(UnansweredPhone, EveryFailedWriteAndDeleteBoxNamesItsReason)
{
    Click(IDC_MOBILE_READ);
    AddPcContact("Dora", "0172");
    const struct {
        const char* what;
        Fault fault;
        int button;   // pressed with the first row of its list selected
        QString box;
    } cases[] = {
        {"a write whose line dies", Fault::lostThenClose(), IDC_COPY_TO_MOBILE,
            "Failed to write data. - The line to the phone was lost" + kMayHaveDoneIt},
        {"a write the phone refuses", Fault::error(), IDC_COPY_TO_MOBILE,
            QStringLiteral("Failed to write data. - The phone refused the command")},
        {"a delete past the time limit", Fault::delay(15000), IDC_MOBILE_DELETE, "Failed to remove data. - Timeout" + kMayHaveDoneIt},
        {"a delete with a call and a late answer", Fault::lateFinal(3000), IDC_MOBILE_DELETE,
            "Failed to remove data. - Calling" + kMayHaveDoneIt},
        {"a delete the phone refuses with a code", Fault::cmeError(100), IDC_MOBILE_DELETE,
            QStringLiteral("Failed to remove data. - The phone reported an error")},
    };
    for (const auto& c : cases) {
        Click(IDC_MOBILE_READ);
        ui.rec.boxes.clear();
        Select(List(c.button == IDC_COPY_TO_MOBILE ? int(IDC_PC_LIST) : int(IDC_HANDSET_LIST)), {0});
        phone.injectFault("AT+CPBW=*", c.fault, 1);
        Click(c.button);
        EXPECT_EQ(Boxes().value(Boxes().size() - 1), c.box) << c.what;
        EXPECT_EQ(doc->m_pcContacts[0]->m_nIndex, -1) << c.what;
        ExpectIdle();
    }
}

TEST_F(UnansweredPhone, AnEditWhoseAnswerNeverCameKeepsTheEntryAsItWas)
{
    Click(IDC_MOBILE_READ);
    ClickRow(List(IDC_HANDSET_LIST), 0);
    phone.injectFault("AT+CPBW=*", Fault::lost(), 1);
    dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) { dlg.NameEdit()->setText("Anna"); }));
    Click(IDC_MOBILE_EDIT);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - Timeout" + kMayHaveDoneIt));
    EXPECT_EQ(doc->m_handsetContacts[0]->m_strName, "Ann");
    EXPECT_EQ(doc->m_handsetContacts[0]->m_nIndex, 3);
    EXPECT_EQ(phone.state().handset.entries[3].name, "Anna");
    ExpectIdle();
}

} // namespace
