// The memo page and its dialog against the simulated phone.
#include "organizer_fixture.h"

#include "controls/limited_text_edit.h"
#include "support/memo_return_check.h"
#include "ui/contact_dlg.h"
#include "ui/memo_dlg.h"

#include <QPushButton>

#include <gmock/gmock.h>

using namespace dh1;

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::OrganizerTest;

using MemoForm = OrganizerTest;

TEST_F(MemoForm, CopyWithNothingSelectedOnlyConnectsAndDeletesGoBottomUp)
{
    ShowPage(2);
    EXPECT_EQ(frame->GetCaptionBar()->GetText(), "Memo");
    EXPECT_FALSE(IsOn(memo, IDC_COPY_TO_MOBILE));
    CRecordListCtrl* phoneList = memo->RecordList(IDC_PHONE_LIST);
    Press(memo, IDC_MOBILE_READ);
    EXPECT_THAT(Firsts(phoneList), ElementsAre("Buy milk", "Call Bob", "Pay bills"));
    EXPECT_EQ(memo->Static(IDC_INFO)->text(), " 3/20");
    EXPECT_TRUE(IsOn(memo, IDC_COPY_TO_MOBILE));
    EXPECT_EQ(g_nProgressRange, 10); // the memo read sets no range
    ClickRow(phoneList, 1);
    EXPECT_EQ(memo->DetailList(IDC_MOBILE_DETAIL)->GetValue(0), "Call Bob");

    // ">>" with no row selected: the session opens and closes, nothing is written.
    AddMemo("Ring the plumber\r\nbefore noon");
    phone.clearCommandLog();
    Press(memo, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Sent("AT+SYNCSTART").size(), 1);
    EXPECT_EQ(Sent("AT+SYNCSTOP").size(), 1);
    EXPECT_TRUE(Sent("AT+CMDW").isEmpty());
    EXPECT_EQ(g_nProgressRange, 10);
    ExpectIdle();

    // With one: written with a single line feed, linked, shown with its link.
    Select(memo->RecordList(IDC_PC_LIST), {0});
    Press(memo, IDC_COPY_TO_MOBILE);
    CMemoEntry* plumber = doc->m_pcMemos[0].get();
    ASSERT_NE(plumber->m_nIndex, -1);
    EXPECT_EQ(phone.state().memos.entries[plumber->m_nIndex], "Ring the plumber\nbefore noon");
    EXPECT_EQ(memo->RecordList(IDC_PC_LIST)->GetItemImage(0), 1);
    EXPECT_EQ(memo->RecordList(IDC_PC_LIST)->GetItemText(0, 1), "Ring the plumber");
    EXPECT_EQ(memo->Static(IDC_INFO)->text(), " 4/20");

    // Deletions run from the last selected row up.
    phone.clearCommandLog();
    Select(phoneList, {0, 2});
    Press(memo, IDC_MOBILE_DELETE);
    EXPECT_THAT(Sent("AT+CMDW="), ElementsAre("AT+CMDW=3", "AT+CMDW=1"));
    EXPECT_THAT(Firsts(phoneList), ElementsAre("Call Bob", "Ring the plumber"));
    ExpectIdle();
}

TEST_F(MemoForm, AFullPhoneSaysSoAndEditsTakeEffectOnlyWhenTaken)
{
    phone.state().memos.last = 4;
    ShowPage(2);
    Press(memo, IDC_MOBILE_READ);
    EXPECT_EQ(memo->Static(IDC_INFO)->text(), " 3/4");
    AddMemo("One");
    AddMemo("Two");
    memo->CheckBox(IDC_ORGANIZER_PC_SELECT_ALL)->click();
    Press(memo, IDC_COPY_TO_MOBILE);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - Memory is full"));
    EXPECT_NE(doc->m_pcMemos[0]->m_nIndex, -1);
    EXPECT_EQ(doc->m_pcMemos[1]->m_nIndex, -1);
    ExpectIdle();

    // Mobile New and Edit go through the dialog; an empty text is not taken.
    ui.rec.boxes.clear();
    ClickRow(memo->RecordList(IDC_PHONE_LIST), 0);
    dialogs.push_back([](QDialog& dialog) {
        auto& dlg = static_cast<CMemoDlg&>(dialog);
        EXPECT_EQ(dlg.windowTitle(), "Edit");
        EXPECT_EQ(dlg.TextEdit()->toPlainText(), "Buy milk");
        dlg.TextEdit()->setPlainText("");
        dlg.accept();
        EXPECT_EQ(dlg.result(), int(QDialog::Rejected));
        dlg.TextEdit()->setPlainText("Buy oat milk");
        dlg.accept();
        return dlg.result();
    });
    Press(memo, IDC_MOBILE_EDIT);
    EXPECT_EQ(phone.state().memos.entries[1], "Buy oat milk");
    EXPECT_EQ(doc->m_phoneMemos[0]->m_strText, "Buy oat milk");
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST(MemoDialog, FortyUnitsEndTheTyping)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    g_nMemoTextLen = 40;
    const struct {
        QString before; // in the memo when the dialog opens
        QString typed;
        QString after;
    } rows[] = {
        // Forty characters of any kind take nothing more.
        {QString(40, u'a'), QStringLiteral("b"), QString(40, u'a')},
        {QString(40, u'中'), QStringLiteral("b"), QString(40, u'中')},
        {QString(39, u'a'), QStringLiteral("bc"), QString(39, u'a') + QStringLiteral("b")},
        // Below forty units the field takes up to 80 bytes, until the text holds 40 units.
        {{}, QString(39, u'a') + QStringLiteral("日本"), QString(39, u'a') + QStringLiteral("日")},
        {{}, QString(39, u'中') + QStringLiteral("日本"), QString(39, u'中') + QStringLiteral("日")},
        // A line break counts as CR LF.
        {{}, QString(38, u'a') + QStringLiteral("\nb"), QString(38, u'a') + QStringLiteral("\n")},
    };
    for (const auto& row : rows) {
        CMemoEntry memo;
        memo.m_strText = row.before;
        CMemoDlg dlg(memo, CMemoDlg::ModeNew);
        EXPECT_EQ(dlg.windowTitle(), "New");
        CLimitedTextEdit* text = dlg.TextEdit();
        EXPECT_EQ(text->GetLimitText(), 40);
        text->moveCursor(QTextCursor::End);
        for (const QChar ch : row.typed) {
            if (ch == u'\n') // Return is the dialog's; Ctrl+Return breaks the line
                QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
            else
                uitest::Type(text, QString(ch));
        }
        EXPECT_EQ(text->toPlainText(), row.after) << row.typed.toStdString();
        dlg.accept();
        EXPECT_EQ(memo.m_strText, QString(row.after).replace(u'\n', QStringLiteral("\r\n")));
    }
}

// Return in the memo dialog confirms it through its "Ok" button: the edit leaves Return to the
// dialog, and Ctrl+Return breaks the line. Only the contact dialog's memo takes Return as a new
// line.
TEST(MemoDialog, ReturnConfirmsAndOnlyTheContactMemoTakesItAsANewLine)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    g_nMemoTextLen = 40;
    windowtest::ExpectReturnConfirmsTheMemo<CMemoDlg>(CMemoEntry{}, &CMemoEntry::m_strText);

    CMVsyncDoc doc; // the phone's field lengths
    CPhoneEntry entry;
    entry.m_strMobile = QStringLiteral("0170");
    CContactDlg contact(entry, CContactDlg::ModeEdit, {QStringLiteral("Family")});
    contact.show();
    contact.MemoEdit()->setFocus();
    QTest::keyClicks(contact.MemoEdit(), QStringLiteral("Gate"));
    QTest::keyClick(contact.MemoEdit(), Qt::Key_Return);
    QTest::keyClicks(contact.MemoEdit(), QStringLiteral("1234"));
    EXPECT_EQ(contact.MemoEdit()->toPlainText(), "Gate\n1234");
    EXPECT_TRUE(contact.isVisible());
}

} // namespace
