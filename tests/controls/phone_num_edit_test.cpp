#include "controls/edit_limit.h"
#include "controls/limited_line_edit.h"
#include "controls/limited_text_edit.h"
#include "controls/phone_num_edit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PhoneNumEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        edit.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    }

    // Key presses as a keyboard sends them; characters beyond ASCII come with no key code.
    void type(const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(&edit, c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(&edit, &press);
            }
        }
    }

    CPhoneNumEdit edit;
};

TEST_F(PhoneNumEditTest, TypedCharactersAreFiltered)
{
    struct Case {
        QString typed;
        QString kept;
    };
    const Case cases[] = {
        {"0123456789", "0123456789"},
        {"#*Pp", "#*Pp"},
        {"+12+3#+", "+123#"}, // a '+' stands first or nowhere
        {"+49 (30) 123-45", "+493012345"},
        {"abcXYZ.,;/", ""},
        {"12w34", "1234"},
        {"\u4E2D1", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        edit.clear();
        type(c.typed);
        EXPECT_EQ(edit.text(), c.kept);
    }
}

// A '+' goes in only where it becomes the number's first character, typed into either program's
// edit or pasted into Deskhand2's: the phones read one further on as a pause.
TEST(PhoneNumEdit, APlusStandsOnlyFirst)
{
    struct Case {
        const char* before;
        int cursor;
        const char* entered;
        bool paste;
        const char* after;
    };
    const Case cases[] = {
        {"4930", 0, "+", false, "+4930"},
        {"4930", 2, "+", false, "4930"},
        {"", 0, "+49+30", false, "+4930"},
        {"12", 2, "+3+4", true, "1234"},
        {"12", 0, "+49 ", true, "+4912"},
        {"12", 1, "(+49)", true, "1492"},
    };
    for (const auto& charset : {CPhoneNumEdit::kDeskhand, CPhoneNumEdit::kDeskhand2}) {
        for (const Case& c : cases) {
            if (c.paste && !charset.filterInsertions)
                continue; // Deskhand's edit takes a paste as it comes
            SCOPED_TRACE(std::string(c.before) + " @" + std::to_string(c.cursor) + " <- " + c.entered);
            CPhoneNumEdit edit(charset);
            edit.show();
            edit.setText(QString::fromLatin1(c.before));
            edit.setCursorPosition(c.cursor);
            if (c.paste) {
                QApplication::clipboard()->setText(QString::fromLatin1(c.entered));
                QTest::keySequence(&edit, QKeySequence::Paste);
            } else {
                QTest::keyClicks(&edit, QString::fromLatin1(c.entered));
            }
            EXPECT_EQ(edit.text(), QString::fromLatin1(c.after));
        }
    }
}

TEST_F(PhoneNumEditTest, ControlCodesCopyBackspaceAndPastePass)
{
    type("12345");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1234");

    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "1234");

    // Cutting is refused: Ctrl+X types a control character that is not let through.
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1234");

    // Pasted text is not filtered.
    QApplication::clipboard()->setText("ext. 99-1");
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1234ext. 99-1");

    // Keys that type nothing still move the cursor.
    QTest::keyClick(&edit, Qt::Key_Home);
    EXPECT_EQ(edit.cursorPosition(), 0);
}

TEST_F(PhoneNumEditTest, InputMethodTextIsFilteredToo)
{
    QInputMethodEvent event;
    event.setCommitString("1\u4E002#a");
    QApplication::sendEvent(&edit, &event);
    EXPECT_EQ(edit.text(), "12#");
}

TEST_F(PhoneNumEditTest, WithoutTheFilterEverythingPasses)
{
    edit.SetFilter(false);
    type("a1-b");
    EXPECT_EQ(edit.text(), "a1-b");
    EXPECT_TRUE(CPhoneNumEdit::IsAcceptedChar(u'p'));
    EXPECT_FALSE(CPhoneNumEdit::IsAcceptedChar(24));
}

TEST_F(PhoneNumEditTest, LengthLimitRefusesGrowthButNeverCuts)
{
    edit.LimitText(5);
    type("1234567");
    EXPECT_EQ(edit.text(), "12345");

    // Text set by the program is kept whole, also beyond the limit.
    edit.setText("1234567890");
    EXPECT_EQ(edit.text(), "1234567890");
    edit.end(false);
    type("1");
    EXPECT_EQ(edit.text(), "1234567890");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "123456789");

    // Lowering the limit keeps the text.
    edit.setText("12345");
    edit.LimitText(2);
    EXPECT_EQ(edit.text(), "12345");

    // A paste is cut to the room left.
    edit.LimitText(6);
    edit.setText("12");
    edit.end(false);
    QApplication::clipboard()->setText("345678");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "123456");
    EXPECT_EQ(edit.cursorPosition(), 6);

    // Undo still works after a refused key.
    type("9");
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    edit.undo();
    EXPECT_TRUE(edit.text().startsWith("12"));
}

TEST(LimitedLineEdit, DoubleByteCharactersCountTwo)
{
    CLimitedLineEdit edit;
    edit.show();
    edit.LimitText(5);
    QApplication::clipboard()->setText(u"\u4E2D\u6587\u5B57"_qs);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), u"\u4E2D\u6587"_qs);
    QTest::keyClicks(&edit, "ab");
    EXPECT_EQ(edit.text(), u"\u4E2D\u6587a"_qs);
}

TEST(LimitedLineEdit, ContextMenuPasteIsLimited)
{
    CLimitedLineEdit edit;
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.LimitText(3);
    QApplication::clipboard()->setText("12345");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), edit.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&edit, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* paste = CLimitedLineEdit::FindPasteAction(menu);
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
    EXPECT_EQ(edit.text(), "123");
}

TEST(LimitedTextEdit, LineBreaksCountAsTwoAndTextIsNeverCut)
{
    CLimitedTextEdit edit;
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.LimitText(5);
    QTest::keyClicks(&edit, "ab");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "cde");
    EXPECT_EQ(edit.toPlainText(), "ab\nc");

    edit.setPlainText("a much longer memo");
    EXPECT_EQ(edit.toPlainText(), "a much longer memo");
    edit.moveCursor(QTextCursor::End);
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(edit.toPlainText(), "a much longer memo");

    edit.clear();
    QApplication::clipboard()->setText("12\r\n345");
    edit.paste();
    EXPECT_EQ(edit.toPlainText(), "12\n3");
}

TEST(EditLimit, FitEdit)
{
    struct Case {
        QString before;
        QString after;
        int limit;
        bool multiLine;
        bool accepted;
        QString kept;
        int cursor;
    };
    const Case cases[] = {
        {"", "abc", 0, false, true, "abc", 3},      // no limit
        {"ab", "abc", 3, false, true, "abc", 3},    // fits
        {"abc", "abcd", 3, false, false, "abc", 3}, // full
        {"abcdef", "abcdefg", 3, false, false, "abcdef", 6},
        {"abcdef", "abdef", 3, false, true, "abdef", 5}, // shrinking is always fine
        {"ab", "a1234b", 4, false, true, "a12b", 3},     // cut inside
        {"", u"\u4E2D\u6587"_qs, 3, false, true, u"\u4E2D"_qs, 1},
        {"", "a\nb", 3, true, true, "a\n", 2},
        {"xy", "x\U0001F600y", 3, false, false, "xy", 1}, // a pair never splits
        {"abc", "abXYZ", 4, false, true, "abXY", 4},       // replacing a selection
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.before + " -> " + c.after).toStdString());
        const editlimit::Fit fit = editlimit::FitEdit(c.before, c.after, c.limit, c.multiLine);
        EXPECT_EQ(fit.accepted, c.accepted);
        EXPECT_EQ(fit.text, c.kept);
        if (c.accepted) {
            EXPECT_EQ(fit.cursor, c.cursor);
        }
    }
    EXPECT_EQ(editlimit::TextWidth(u"a\u00E9\u4E2D\n", false), 5);
    EXPECT_EQ(editlimit::TextWidth(u"a\u00E9\u4E2D\n", true), 6);
}

} // namespace
