#include "controls/limited_text_edit.h"

#include "controls/edit_limit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

CLimitedTextEdit::CLimitedTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

void CLimitedTextEdit::LimitText(int limit)
{
    m_nLimit = limit > 0 ? limit : 0;
}

QString CLimitedTextEdit::fitting(const QString& insertion) const
{
    const QString before = toPlainText();
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const QString after = before.left(start) + insertion + before.mid(end);
    const editlimit::Fit fit = editlimit::FitEdit(before, after, m_nLimit, true);
    if (!fit.accepted)
        return {};
    // The kept text differs from `after` only inside the insertion.
    return fit.text.mid(start, fit.text.size() - start - (before.size() - end));
}

void CLimitedTextEdit::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (enter && !control && !m_bWantReturn) {
        event->ignore();
        return;
    }
    // The base edit ignores Ctrl+Return: that line break is inserted here.
    const bool lineBreak = enter && control;
    QString typed;
    if (enter)
        typed = QStringLiteral("\n");
    else if (!control && !event->text().isEmpty() && event->text().front().isPrint())
        typed = event->text();
    if (typed.isEmpty() || (m_nLimit == 0 && !lineBreak)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString kept = fitting(typed);
    if (kept == typed && !lineBreak) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (!kept.isEmpty())
        insertPlainText(kept);
    event->accept();
}

void CLimitedTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (m_nLimit == 0 || event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent limited(event->preeditString(), event->attributes());
    limited.setCommitString(fitting(event->commitString()), event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&limited);
    event->accept();
}

void CLimitedTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (m_nLimit == 0 || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const QString kept = fitting(text);
    if (!kept.isEmpty())
        insertPlainText(kept);
}
