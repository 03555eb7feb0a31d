// The schedule, memo and message dialogs of Deskhand2: the typing limit of texts, what OK
// gives the record, and the rules of Save and Send.
#include "controls/limited_line_edit.h"
#include "controls/limited_text_edit.h"
#include "controls/phone_num_edit.h"
#include "platform/string_table.h"
#include "support/memo_return_check.h"
#include "ui2/memo_dlg.h"
#include "ui2/schedule_dlg.h"
#include "ui2/sms_dlg.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace {

using namespace dh2;

class OrganizerDialogs : public ::testing::Test {
protected:
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
};

// 28 bytes while the text is shorter than 28 UTF-16 units; from then on what it takes.
TEST_F(OrganizerDialogs, TextLimitStopsGrowthAtTwentyEightUnits)
{
    const struct {
        QString text;
        int limit;
    } rows[] = {
        {"", 28},
        {QString(27, u'a'), 28},
        {QString(28, u'a'), 28},
        {QString(30, u'a'), 30},
        {QString(10, QChar(0x4E00)), 28},     // 20 bytes, 10 units
        {QString(28, QChar(0x4E00)), 56},     // what the text takes, in bytes
        {QString(13, u'a') + "\n" + QString(13, u'b'), 28}, // 26 + CR LF = 28 units: 28 bytes taken
    };
    for (const auto& row : rows)
        EXPECT_EQ(OrganizerTextLimit(row.text), row.limit) << row.text.toStdString();
}

TEST_F(OrganizerDialogs, MemoTakesOneMoreCharacterUpToTheLimitAndALongerOneShrinksOnly)
{
    CScheduleEntry memo;
    memo.m_nKind = CScheduleEntry::KindMemo;
    memo.m_strSubject = QString(27, u'a');
    CMemoDlg dialog(memo, CMemoDlg::ModeEdit);
    EXPECT_EQ(dialog.windowTitle(), "Edit");
    dialog.TextEdit()->moveCursor(QTextCursor::End);
    QTest::keyClicks(dialog.TextEdit(), "bc");
    EXPECT_EQ(dialog.TextEdit()->toPlainText(), QString(27, u'a') + "b");

    // A 30-unit memo from the phone: typing is refused, deleting works.
    CScheduleEntry longMemo;
    longMemo.m_strSubject = QString(30, u'x');
    CMemoDlg longDialog(longMemo, CMemoDlg::ModeEdit);
    longDialog.TextEdit()->moveCursor(QTextCursor::End);
    QTest::keyClicks(longDialog.TextEdit(), "y");
    EXPECT_EQ(longDialog.TextEdit()->toPlainText(), QString(30, u'x'));
    QTest::keyClick(longDialog.TextEdit(), Qt::Key_Backspace);
    EXPECT_EQ(longDialog.TextEdit()->toPlainText(), QString(29, u'x'));

    // OK: an empty text keeps the dialog open; a text goes to the memo with CR LF line ends.
    longDialog.TextEdit()->setPlainText("");
    longDialog.accept();
    EXPECT_EQ(longDialog.result(), QDialog::Rejected);
    EXPECT_EQ(longMemo.m_strSubject, QString(30, u'x'));
    longDialog.TextEdit()->setPlainText("milk\nbread");
    longDialog.accept();
    EXPECT_EQ(longDialog.result(), QDialog::Accepted);
    EXPECT_EQ(longMemo.m_strSubject, "milk\r\nbread");
}

// Return confirms the memo dialog through its "Ok" button: the edit leaves Return to the
// dialog, and Ctrl+Return breaks the line.
TEST_F(OrganizerDialogs, ReturnConfirmsTheMemo)
{
    CScheduleEntry memo;
    memo.m_nKind = CScheduleEntry::KindMemo;
    windowtest::ExpectReturnConfirmsTheMemo<CMemoDlg>(memo, &CScheduleEntry::m_strSubject);
}

TEST_F(OrganizerDialogs, ScheduleOkComposesTheStartAndKeepsAnUnchosenAlarm)
{
    CScheduleEntry entry;
    entry.m_strSubject = "Dentist";
    entry.m_dtStart = COleDateTime(2004, 3, 7, 9, 30, 45);
    entry.m_nRepeat = CScheduleEntry::RepeatWeekly;
    entry.m_nAlarm = CScheduleEntry::Alarm30Min;
    {
        CScheduleDlg dialog(entry, CScheduleDlg::ModeEdit);
        EXPECT_TRUE(dialog.RepeatButton(2)->isChecked());
        EXPECT_EQ(dialog.AlarmList()->currentText(), "Before 30 min");
        EXPECT_EQ(dialog.SubjectEdit()->GetLimitText(), 28);
        dialog.SubjectEdit()->clear();
        dialog.DateEdit()->setDate({2005, 1, 31});
        dialog.TimeEdit()->setTime({23, 59, 10});
        dialog.RepeatButton(4)->click();
        dialog.AlarmList()->setCurrentIndex(-1);
        dialog.reject();
    }
    EXPECT_EQ(entry.m_strSubject, "Dentist"); // Cancel changes nothing
    CScheduleDlg dialog(entry, CScheduleDlg::ModeNew);
    EXPECT_EQ(dialog.windowTitle(), "New");
    dialog.SubjectEdit()->clear();
    dialog.DateEdit()->setDate({2005, 1, 31});
    dialog.TimeEdit()->setTime({23, 59, 10});
    dialog.RepeatButton(4)->click();
    dialog.AlarmList()->setCurrentIndex(-1);
    dialog.accept();
    EXPECT_EQ(entry.m_strSubject, ""); // an empty subject is accepted
    EXPECT_EQ(entry.m_dtStart, COleDateTime(2005, 1, 31, 23, 59, 0));
    EXPECT_EQ(entry.m_nRepeat, CScheduleEntry::RepeatYearly);
    EXPECT_EQ(entry.m_nAlarm, CScheduleEntry::Alarm30Min);
}

TEST_F(OrganizerDialogs, MessageSavesWithATextAndSendsOnlyWithANumber)
{
    CSMSDlg dialog;
    EXPECT_FALSE(dialog.SendButton()->isEnabled());
    EXPECT_TRUE(dialog.SaveButton()->isEnabled());
    EXPECT_EQ(dialog.NumberEdit()->GetLimitText(), 19);
    EXPECT_EQ(dialog.TextEdit()->GetLimitText(), 160);

    // Send without a number does nothing; Save without a text keeps the dialog open.
    dialog.OnSend();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.OnSave();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // "....": the picked number enables Send; a cancelled pick changes nothing.
    dialog.SetNumberPicker([](QWidget*) { return std::optional<QString>("0301234"); });
    dialog.OnPickNumber();
    EXPECT_EQ(dialog.NumberEdit()->text(), "0301234");
    EXPECT_TRUE(dialog.SendButton()->isEnabled());
    dialog.SetNumberPicker([](QWidget*) { return std::optional<QString>(); });
    dialog.OnPickNumber();
    EXPECT_EQ(dialog.NumberEdit()->text(), "0301234");

    QTest::keyClicks(dialog.TextEdit(), "hi `there");
    dialog.OnSend();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.m_bSend);
    EXPECT_EQ(dialog.m_strNumber, "0301234");

    // A text and no number closes with Save, without the send flag.
    CSMSDlg save;
    save.SetFields({}, "note");
    save.OnSave();
    EXPECT_EQ(save.result(), QDialog::Accepted);
    EXPECT_FALSE(save.m_bSend);
    EXPECT_EQ(save.m_strText, "note");
}

} // namespace
