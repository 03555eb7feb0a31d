// The message page of Deskhand2 (no window opens it; it is built on its own over the real
// document and the simulated phone): storing and sending, and sending only what was stored.
#include "main_window2_fixture.h"
#include "controls/detail_list_ctrl.h"
#include "controls/phone_num_edit.h"
#include "ui2/form_sms.h"
#include "ui2/organizer_resource.h"
#include "ui2/phonebook_list_dlg.h"
#include "ui2/sms_dlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using namespace ui2test;
using windowtest::DialogScripts;

class MessageForm : public MainWindow2Test {
protected:
    void SetUp() override
    {
        MainWindow2Test::SetUp();
        sms = std::make_unique<CForm_SMS>(*doc);
        sms->SetModalRunner([this](QDialog& dialog) { return scripts.Run(dialog); });
        sms->OnInitialUpdate();
        sms->resize(900, 600);
    }
    void TearDown() override
    {
        sms.reset();
        MainWindow2Test::TearDown();
    }

    // The message dialog answered with a text, a number and Save (send false) or Send.
    void Compose(const QString& text, const QString& number, bool send)
    {
        scripts.scripts.push_back([text, number, send](QDialog& dialog) {
            auto* dlg = qobject_cast<CSMSDlg*>(&dialog);
            EXPECT_NE(dlg, nullptr);
            if (!dlg)
                return int(QDialog::Rejected);
            dlg->NumberEdit()->setText(number);
            dlg->TextEdit()->setText(text);
            if (send)
                dlg->OnSend();
            else
                dlg->OnSave();
            return dlg->result();
        });
    }
    // A message made with New and Save, stored on the phone or only listed.
    void Make(const QString& text, bool stored)
    {
        ui.rec.boxAnswers.push_back(stored ? platform::IDYES : platform::IDNO);
        Compose(text, {}, false);
        sms->OnNew();
    }
    CRecordListCtrl* Rows() const { return sms->RecordList(IDC_PHONE_LIST); }

    std::unique_ptr<CForm_SMS> sms;
};

// New with Send: a message the user chose not to store, or that the phone did not store, is not
// sent (the phone would be told to send from no index); a stored one is sent to the number.
TEST_F(MessageForm, NewSendsOnlyAStoredMessage)
{
    const struct {
        int storeAnswer; // the answer to "Do you want to save message in Mobile phone?"
        bool storeFails;
        QStringList boxes;
        bool sent;
    } rows[] = {
        {platform::IDNO, false, {"Do you want to save message in Mobile phone?", "Failed to send message"}, false},
        {platform::IDYES, true,
         {"Do you want to save message in Mobile phone?", "Failed to write data", "Failed to send message"}, false},
        {platform::IDYES, false, {"Do you want to save message in Mobile phone?"}, true},
    };
    for (const auto& row : rows) {
        ui.rec.boxes.clear();
        phone.clearCommandLog();
        if (row.storeFails)
            phone.injectFault("AT+CMGW*", phonesim::Fault::error(), 1);
        ui.rec.boxAnswers.push_back(row.storeAnswer);
        Compose("hello", "0301234", true);
        sms->OnNew();
        EXPECT_EQ(Boxes(), row.boxes);
        EXPECT_EQ(Sent("AT+CMSS").size(), row.sent ? 1 : 0);
        const CSmsEntry* added = doc->m_arMessages.back().get();
        EXPECT_EQ(added->m_nStatus, row.sent ? CSmsEntry::StatusSent : CSmsEntry::StatusUnsent);
        EXPECT_EQ(added->m_strNumber, "0301234");
        if (row.sent) {
            EXPECT_TRUE(Sent("AT+CMSS").value(0).contains("\"0301234\""));
        }
        // The new row is the selected one.
        EXPECT_EQ(Rows()->GetSelectedIndex(), Rows()->GetItemCount() - 1);
    }
    EXPECT_EQ(Rows()->GetItemCount(), 3);
    ExpectIdle();
}

// Edit with Send and the text unchanged resends a stored message to the new number; one that
// was never stored is not sent.
TEST_F(MessageForm, EditResendsAStoredMessageOnly)
{
    Make("draft", false);
    Make("stored", true);
    ASSERT_EQ(Rows()->GetItemCount(), 2);
    ui.rec.boxes.clear();

    Rows()->SetSelected(0, true);
    Compose("draft", "0301", true);
    sms->OnEditMessage();
    EXPECT_EQ(Boxes(), QStringList{"Failed to send message"});
    EXPECT_TRUE(Sent("AT+CMSS").isEmpty());

    // The number comes from the contacts' list ("....").
    Rows()->clearSelection();
    Rows()->SetSelected(1, true);
    scripts.scripts.push_back([](QDialog& dialog) {
        auto* dlg = qobject_cast<CSMSDlg*>(&dialog);
        EXPECT_NE(dlg, nullptr);
        if (!dlg)
            return int(QDialog::Rejected);
        dlg->findChild<QPushButton*>("pick")->click();
        dlg->OnSend();
        return dlg->result();
    });
    scripts.scripts.push_back(DialogScripts::Fill<CPhonebookListDlg>([](CPhonebookListDlg& pick) { pick.NumberEdit()->setText("0302"); }));
    sms->OnEditMessage();
    ASSERT_EQ(Sent("AT+CMSS").size(), 1);
    EXPECT_TRUE(Sent("AT+CMSS")[0].contains("\"0302\""));
    EXPECT_EQ(doc->m_arMessages[1]->m_nStatus, CSmsEntry::StatusSent);
    EXPECT_EQ(Rows()->GetItemCount(), 2);
}

// Deleting messages never stored asks nothing more and never connects; No to the second
// question takes the messages off the list only.
TEST_F(MessageForm, DeleteAsksAboutThePhoneOnlyForStoredMessages)
{
    Make("draft", false);
    Make("stored", true);
    Make("draft 2", false);
    ASSERT_EQ(phone.state().simMessages.used(), 1);
    ui.rec.boxes.clear();
    phone.clearCommandLog();

    // Select All answers a toggle as the keyboard makes it; a row left out clears it alone.
    QCheckBox* all = sms->CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL);
    all->toggle();
    for (int row = 0; row < Rows()->GetItemCount(); ++row)
        EXPECT_TRUE(Rows()->GetCheck(row)) << row;
    EXPECT_TRUE(sms->GetDlgItem(IDC_MOBILE_DELETE)->isEnabled());
    Rows()->SetCheck(1, false);
    EXPECT_FALSE(all->isChecked());
    EXPECT_TRUE(Rows()->GetCheck(0));
    all->toggle();
    all->toggle();
    EXPECT_FALSE(Rows()->GetCheck(0));

    Check(Rows(), {0});
    sms->OnDelete();
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_TRUE(phone.commandLog().isEmpty());
    ASSERT_EQ(Rows()->GetItemCount(), 2);

    ui.rec.boxAnswers.push_back(platform::IDNO);
    Check(Rows(), {0});
    sms->OnDelete();
    EXPECT_EQ(Boxes(), QStringList{"Do you want to delete messges in Mobile phone?"});
    EXPECT_EQ(Rows()->GetItemCount(), 1);
    EXPECT_EQ(phone.state().simMessages.used(), 1);
    EXPECT_FALSE(sms->GetDlgItem(IDC_MOBILE_DELETE)->isEnabled());
    ExpectIdle();
}

// A store, send or delete whose answer never came: the box says what may have happened and to
// read the messages first; a send is not marked sent, a stored text keeps no index, a message
// perhaps deleted loses its index but stays in the list.
TEST_F(MessageForm, UnconfirmedOutcomesSayWhatMayHaveHappened)
{
    Make("stored", true);
    CSmsEntry* stored = doc->m_arMessages.back().get();
    ASSERT_GE(stored->m_nIndex, 1);
    const int index = stored->m_nIndex;
    phone.state().writeStorage = "SM";
    phone.state().readStorage = "SM";

    ui.rec.boxes.clear();
    phone.injectFault("AT+CMSS=*", phonesim::Fault::lost(), 1);
    Rows()->SetSelected(0, true);
    Compose("stored", "0301", true);
    sms->OnEditMessage();
    EXPECT_EQ(Boxes(), QStringList{"The phone did not confirm sending the message: it may have been sent. Read the messages "
                                   "again and look at its status before you send it again."});
    EXPECT_EQ(stored->m_nStatus, CSmsEntry::StatusUnsent);

    ui.rec.boxes.clear();
    phone.injectFault(">*", phonesim::Fault::lostThenClose(), 1);
    ui.rec.boxAnswers.push_back(platform::IDYES);
    Compose("again", {}, false);
    sms->OnNew();
    EXPECT_EQ(Boxes(), QStringList({"Do you want to save message in Mobile phone?",
                           "The phone did not confirm storing the message: it may have stored it. Read the messages "
                           "again before you store it again."}));
    EXPECT_EQ(doc->m_arMessages.back()->m_nIndex, -1);

    ui.rec.boxes.clear();
    phone.injectFault("AT+CMGD=*", phonesim::Fault::lost(), 1);
    ui.rec.boxAnswers.push_back(platform::IDYES);
    Check(Rows(), {0});
    sms->OnDelete();
    EXPECT_EQ(Boxes(), QStringList({"Do you want to delete messges in Mobile phone?",
                           QStringLiteral("The phone did not confirm deleting message %1: it may have been deleted. Read the "
                                          "messages again before you try again.").arg(index)}));
    EXPECT_EQ(stored->m_nIndex, -1);
    EXPECT_EQ(Rows()->GetItemCount(), 2);
    ExpectIdle();
}

TEST_F(MessageForm, AMessageOfThreeLinesFillsThreeDetailRows)
{
    Make("x", false);
    doc->m_arMessages[0]->m_strText = "first\r\nsecond\r\nthird";
    sms->RefreshList();
    Rows()->SetSelected(0, true);
    emit Rows()->listClicked();
    const QTreeWidget* detail = sms->DetailList(IDC_PC_DETAIL);
    ASSERT_EQ(detail->topLevelItemCount(), 6);
    EXPECT_EQ(detail->topLevelItem(3)->text(1), "first");
    EXPECT_EQ(detail->topLevelItem(4)->text(1), "second");
    EXPECT_EQ(detail->topLevelItem(5)->text(0), "");
    EXPECT_TRUE(sms->GetDlgItem(IDC_SMS_EDIT)->isEnabled());
}

} // namespace
