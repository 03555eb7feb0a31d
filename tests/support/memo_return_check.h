#pragma once

// Return in the memo dialog of either program confirms it through its "Ok" button: the edit
// leaves Return to the dialog, and Ctrl+Return breaks the line.
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <string>

namespace windowtest {

// blank is a record of the kind the dialog edits, text the member that holds its text.
template <typename MemoDlg, typename Memo>
void ExpectReturnConfirmsTheMemo(const Memo& blank, QString Memo::*text)
{
    const struct {
        const char* before;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool closed;
        const char* text; // in the edit afterwards
    } rows[] = {
        {"Buy milk", Qt::Key_Return, Qt::NoModifier, true, "Buy milk"},
        {"Buy milk", Qt::Key_Enter, Qt::KeypadModifier, true, "Buy milk"},
        {"", Qt::Key_Return, Qt::NoModifier, false, ""}, // an empty memo is not taken
        {"Buy milk", Qt::Key_Return, Qt::ControlModifier, false, "Buy milk\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before + std::string(" + ") + QKeySequence(row.key | row.modifiers).toString().toStdString());
        Memo memo = blank;
        memo.*text = QString::fromUtf8(row.before);
        MemoDlg dialog(memo, MemoDlg::ModeEdit);
        EXPECT_EQ(dialog.template findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text(), "Ok");
        dialog.show();
        dialog.TextEdit()->setFocus();
        dialog.TextEdit()->moveCursor(QTextCursor::End);
        QTest::keyClick(dialog.TextEdit(), row.key, row.modifiers);
        EXPECT_EQ(dialog.TextEdit()->toPlainText(), row.text);
        EXPECT_EQ(dialog.isVisible(), !row.closed);
        EXPECT_EQ(dialog.result(), row.closed ? int(QDialog::Accepted) : int(QDialog::Rejected));
        EXPECT_EQ(memo.*text, row.closed ? QString::fromUtf8(row.text) : QString::fromUtf8(row.before));
    }
}

} // namespace windowtest
