// The message form and its dialog, which no page of the window shows, against the simulated
// phone.
#include "main_window_fixture.h"

#include "phonesim/sms_pdu.h"
#include "ui/form_sms.h"
#include "ui/phonebook_list_dlg.h"
#include "ui/sms_dlg.h"

#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

using namespace dh1;

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::MainWindowTest;

class SmsForm : public MainWindowTest {
protected:
    SmsForm()
    {
        phonesim::StoredMessage message;
        message.stat = 1;
        message.alpha = QStringLiteral("Ann");
        message.pdu = phonesim::MakeDeliverPdu(QStringLiteral("+4917012345"), QStringLiteral("Hello"),
                                               QDateTime(QDate(2004, 3, 7), QTime(9, 5)));
        phone.state().simMessages.entries[3] = message;
        message.alpha.clear();
        phone.state().handsetMessages.entries[4] = message;
    }
    void SetUp() override
    {
        MainWindowTest::SetUp();
        sms = std::make_unique<CForm_SMS>(*doc);
        sms->SetModalRunner([this](QDialog& dialog) { return RunScripted(dialog); });
        sms->OnInitialUpdate();
        sms->resize(640, 480);
        sms->show();
    }
    void TearDown() override
    {
        sms.reset();
        MainWindowTest::TearDown();
    }

    std::unique_ptr<CForm_SMS> sms;
};

TEST_F(SmsForm, NewOnlyAfterAReadAndStoringAlwaysFails)
{
    EXPECT_FALSE(sms->Button(IDC_SMS_NEW)->isEnabled());
    sms->OnNew(); // no dialog is scripted: none may open
    EXPECT_EQ(sms->Detail()->GetLabel(0), "Status");
    EXPECT_EQ(sms->Detail()->GetLabel(3), "Message");

    sms->Button(IDC_SMS_READ)->click();
    EXPECT_EQ(sms->Status()->text(), " Done ");
    EXPECT_TRUE(sms->IsReadDone());
    ASSERT_EQ(sms->List()->GetItemCount(), 2);
    // SIM storage first; the images tell the storages apart.
    EXPECT_EQ(sms->List()->GetItemText(0, 1), "Read");
    EXPECT_EQ(sms->List()->GetItemText(0, 3), "Ann");
    EXPECT_EQ(sms->List()->GetItemImage(0), 2);
    EXPECT_EQ(sms->List()->GetItemImage(1), 1);
    EXPECT_TRUE(sms->Button(IDC_SMS_NEW)->isEnabled());
    sms->List()->setCurrentItem(sms->List()->topLevelItem(0));
    sms->OnClickList();
    EXPECT_EQ(sms->Detail()->GetValue(0), "Read");

    dialogs.push_back(Fill<CSMSDlg>([](CSMSDlg& dlg) {
        dlg.NumberEdit()->setText("0170");
        dlg.TextEdit()->setPlainText("See you");
    }));
    sms->Button(IDC_SMS_NEW)->click();
    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - Nothing was sent to the phone"));
    ASSERT_EQ(doc->m_messages.size(), 3u);
    EXPECT_TRUE(doc->m_messages.back()->IsDeleted());
    EXPECT_EQ(doc->m_messages.back()->m_strText, "See you");
    EXPECT_EQ(sms->List()->GetItemCount(), 2);
    ExpectIdle();

    // A double click on a row asks to send it, which does nothing.
    sms->List()->SetSelected(0, true);
    sms->OnDblClkList();
    EXPECT_EQ(dialogsRun, 1);
}

TEST_F(SmsForm, DeleteTakesTheCheckedRows)
{
    sms->Button(IDC_SMS_READ)->click();
    phone.clearCommandLog();
    sms->Button(IDC_SMS_DELETE)->click();
    EXPECT_EQ(sms->Status()->text(), "Deleting..");
    EXPECT_TRUE(phone.commandLog().isEmpty());

    sms->List()->SetCheck(1, true);
    sms->Button(IDC_SMS_DELETE)->click();
    EXPECT_THAT(Sent("AT+CMGD="), ElementsAre("AT+CMGD=4"));
    EXPECT_TRUE(phone.state().handsetMessages.entries.empty());
    EXPECT_EQ(sms->List()->GetItemCount(), 1);
    EXPECT_EQ(sms->Status()->text(), " Done ");
    ExpectIdle();

    // Select All checks every row, however the box is ticked; a phone that refuses stops with the box.
    sms->SelectAll()->toggle();
    EXPECT_TRUE(sms->List()->GetCheck(0));
    phone.injectFault("AT+CMGD=*", phonesim::Fault::error(), 1);
    sms->Button(IDC_SMS_DELETE)->click();
    EXPECT_THAT(Boxes(), ElementsAre("Failed to remove data. - The phone refused the command"));
    EXPECT_EQ(sms->List()->GetItemCount(), 1);
    ExpectIdle();
}

TEST_F(SmsForm, TheDialogsLimitsReferencesAndNumberPick)
{
    AddPcContact("Dora", "0172 555");
    CSMSDlg dlg(*doc);
    dlg.SetModalRunner([this](QDialog& dialog) { return RunScripted(dialog); });
    EXPECT_EQ(dlg.windowTitle(), "SMS");
    EXPECT_FALSE(dlg.SendButton()->isEnabled());
    EXPECT_EQ(dlg.NumberEdit()->GetLimitText(), 20);
    EXPECT_EQ(dlg.TextEdit()->GetLimitText(), 480);

    dlg.TextEdit()->setPlainText("Hello");
    EXPECT_EQ(dlg.LengthLabel()->text(), " 5 Characters in the message");
    dlg.TextEdit()->setPlainText(QStringLiteral("你好"));
    EXPECT_EQ(dlg.TextEdit()->GetLimitText(), 240);
    EXPECT_EQ(dlg.LengthLabel()->text(), " 4 Characters in the message");
    dlg.TextEdit()->setPlainText("");
    EXPECT_EQ(dlg.LengthLabel()->text(), "");
    EXPECT_EQ(dlg.TextEdit()->GetLimitText(), 480);

    dlg.NumberEdit()->setText("+49");
    EXPECT_TRUE(dlg.SendButton()->isEnabled());
    EXPECT_EQ(dlg.NumberEdit()->GetLimitText(), 21);
    dlg.NumberEdit()->setText("");
    EXPECT_FALSE(dlg.SendButton()->isEnabled());

    // "...." picks a number from the PC phonebook.
    dialogs.push_back([](QDialog& dialog) {
        auto& pick = static_cast<CPhonebookListDlg&>(dialog);
        pick.List()->SetSelected(0, true);
        pick.OnClickList();
        pick.accept();
        return pick.result();
    });
    dlg.findChild<QPushButton*>("pick")->click();
    EXPECT_EQ(dlg.NumberEdit()->text(), "0172 555");

    // No text: nothing. References outside 0 to 255 are refused.
    dlg.accept();
    EXPECT_EQ(dlg.result(), int(QDialog::Rejected));
    dlg.TextEdit()->setPlainText("Hi");
    for (const char* reference : {"256", "-1"}) {
        ui.rec.boxes.clear();
        dlg.ReferenceEdit()->setText(reference);
        dlg.SendButton()->click();
        EXPECT_THAT(Boxes(), ElementsAre("Invalid message reference")) << reference;
        EXPECT_EQ(dlg.result(), int(QDialog::Rejected));
        EXPECT_EQ(dlg.m_nSend, 0);
    }
    dlg.ReferenceEdit()->setText("255");
    dlg.SendButton()->click();
    EXPECT_EQ(dlg.result(), int(QDialog::Accepted));
    EXPECT_EQ(dlg.m_nSend, 1);
    EXPECT_EQ(dlg.m_strNumber, "0172 555");
    EXPECT_EQ(dlg.m_strReference, "255");

    // A text given before opening is only sent.
    CSMSDlg send(*doc, QStringLiteral("Ready"));
    EXPECT_EQ(send.windowTitle(), "Send SMS");
    EXPECT_FALSE(send.SaveButton()->isEnabled());
    EXPECT_FALSE(send.TextEdit()->isEnabled());
}

} // namespace
