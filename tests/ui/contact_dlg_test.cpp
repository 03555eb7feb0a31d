// The phonebook dialogs: limits, the GSM rule, the '+' cleanup, OK without a number.
#include "controls/limited_line_edit.h"
#include "controls/limited_text_edit.h"
#include "controls/phone_num_edit.h"
#include "controls/record_list_ctrl.h"
#include "document/mvsync_doc.h"
#include "link/capacities.h"
#include "platform/string_table.h"
#include "ui/contact_dlg.h"
#include "ui/phonebook_list_dlg.h"

#include <QComboBox>
#include <QTest>

#include <gmock/gmock.h>

using namespace dh1;

namespace {

const QStringList kGroups{"Family", "VIP", "Friends", "Colleague", "Group1", "Group2", "Others"};

class ContactDialogs : public ::testing::Test {
protected:
    // The document's constructor sets the phone's field lengths to their first values.
    CMVsyncDoc doc;
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
};

TEST_F(ContactDialogs, CleanPlusKeepsOneLeadingPlus)
{
    const struct {
        const char* in;
        const char* out;
    } rows[] = {{"+49+12", "+4912"}, {"12+3", "123"}, {"+", "+"}, {"++1", "+1"}, {"0301", "0301"}, {"", ""}};
    for (const auto& row : rows)
        EXPECT_EQ(CPhonebookEditDlg::CleanPlus(row.in), row.out) << row.in;
}

TEST_F(ContactDialogs, LimitsFollowTheGsmRuleWhileTyping)
{
    CPhoneEntry entry;
    CContactDlg dialog(entry, CContactDlg::ModeNew, kGroups);
    EXPECT_EQ(dialog.windowTitle(), "New");
    EXPECT_EQ(dialog.NameEdit()->GetLimitText(), 20);
    EXPECT_EQ(dialog.MobileEdit()->GetLimitText(), 40);
    EXPECT_EQ(dialog.EmailEdit()->GetLimitText(), 30);
    EXPECT_EQ(dialog.MemoEdit()->GetLimitText(), 50);
    EXPECT_EQ(dialog.GroupList()->currentText(), "Others");

    // A character outside the GSM alphabet costs the field two places; taking it out
    // restores them on the next change.
    const struct {
        QString text;
        int nameLimit;
    } rows[] = {{"Ann", 20}, {QStringLiteral("An\u4E00"), 18}, {"An", 20}};
    for (const auto& row : rows) {
        dialog.NameEdit()->setText(row.text);
        EXPECT_EQ(dialog.NameEdit()->GetLimitText(), row.nameLimit) << row.text.toStdString();
    }
    dialog.EmailEdit()->setText(QStringLiteral("\u00E9@x"));
    EXPECT_EQ(dialog.EmailEdit()->GetLimitText(), 30); // é is in the GSM alphabet
    dialog.MemoEdit()->setPlainText(QStringLiteral("\u20AC \u0416"));
    EXPECT_EQ(dialog.MemoEdit()->GetLimitText(), 48);

    // Typing stops at the limit; a phone number field takes only what can be dialled.
    dialog.NameEdit()->clear();
    QTest::keyClicks(dialog.NameEdit(), QString(25, u'x'));
    EXPECT_EQ(dialog.NameEdit()->text().size(), 20);
    QTest::keyClicks(dialog.MobileEdit(), "+49 (30) 12-p#*");
    EXPECT_EQ(dialog.MobileEdit()->text(), "+493012p#*");

    // SIM dialog: 12 until the first change, then the SIM name length.
    g_nSimNameLen = 14;
    CPhoneEntry simEntry;
    CSimContactDlg sim(simEntry, CSimContactDlg::ModeEdit, kGroups);
    EXPECT_EQ(sim.windowTitle(), "Edit");
    EXPECT_EQ(sim.NameEdit()->GetLimitText(), 12);
    EXPECT_EQ(sim.NumberEdit()->GetLimitText(), 40);
    sim.NameEdit()->setText("Bo");
    EXPECT_EQ(sim.NameEdit()->GetLimitText(), 14);
}

TEST_F(ContactDialogs, OkNeedsANumberAndChangesTheEntryOnlyThen)
{
    CPhoneEntry entry;
    entry.m_strName = "Old";
    entry.m_strMemo = "one\r\ntwo";
    {
        CContactDlg dialog(entry, CContactDlg::ModeEdit, kGroups);
        EXPECT_EQ(dialog.MemoEdit()->toPlainText(), "one\ntwo");
        dialog.NameEdit()->setText("New");
        dialog.accept(); // no number at all: stays open, nothing changes
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(entry.m_strName, "Old");
        dialog.HomeEdit()->setText("+030+1");
        dialog.GroupList()->setCurrentIndex(1);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(entry.m_strName, "New");
    EXPECT_EQ(entry.m_strHome, "+0301");
    EXPECT_EQ(entry.m_strMobile, "");
    EXPECT_EQ(entry.m_nGroup, 1);
    EXPECT_EQ(entry.m_strMemo, "one\r\ntwo");

    // Cancel keeps everything, the group included.
    CPhoneEntry simEntry;
    simEntry.m_nSimIndex = 4;
    simEntry.m_nGroup = 2;
    {
        CSimContactDlg sim(simEntry, CSimContactDlg::ModeEdit, kGroups);
        sim.GroupList()->setCurrentIndex(5);
        sim.NameEdit()->setText("X");
        sim.reject();
    }
    EXPECT_EQ(simEntry.m_nGroup, 2);
    EXPECT_EQ(simEntry.m_strName, "");
}

TEST_F(ContactDialogs, PhonebookListPicksAMobileNumber)
{
    for (const auto& [kind, name, mobile] : {std::tuple{CMVsyncDoc::ListPc, "Ann", "0170"},
                                             std::tuple{CMVsyncDoc::ListPc, "NoMobile", ""},
                                             std::tuple{CMVsyncDoc::ListOutlook, "Bob", "0171"}}) {
        CPhoneEntry entry;
        entry.m_strName = name;
        entry.m_strMobile = mobile;
        doc.StoreContact(kind, entry);
    }
    CPhonebookListDlg dialog(doc);
    ASSERT_EQ(dialog.List()->GetItemCount(), 2);
    EXPECT_EQ(dialog.List()->GetItemText(1, 1), "Bob");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.List()->SetSelected(1, true);
    dialog.OnClickList();
    EXPECT_EQ(dialog.NumberEdit()->text(), "0171");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strNumber, "0171");
}

} // namespace
