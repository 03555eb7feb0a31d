#include "controls/phone_num_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

constexpr char16_t kCopy = 3;
constexpr char16_t kBackspace = 8;
constexpr char16_t kPaste = 22;

// Copy, backspace and paste pass the filter as characters.
bool isEditingCode(char16_t ch)
{
    return ch == kCopy || ch == kBackspace || ch == kPaste;
}

// The character code a key press types, as a character message would carry it; 0 for keys
// that type nothing (arrows, Delete, Shift+Insert, ...) and for the dialog keys (Return,
// Escape, Tab), which the dialog takes before the edit sees a character.
char16_t typedCode(const QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (key == Qt::Key_Backspace)
        return kBackspace;
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab
        || key == Qt::Key_Backtab)
        return 0;
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return char16_t(key - Qt::Key_A + 1);
    const QString text = event->text();
    if (text.isEmpty() || !text.front().isPrint())
        return 0;
    return text.front().unicode();
}

} // namespace

const CPhoneNumEdit::Charset CPhoneNumEdit::kDeskhand{platform::kDeskhandNumbers, QString(), false};
const CPhoneNumEdit::Charset CPhoneNumEdit::kDeskhand2{platform::kDeskhand2Numbers, QStringLiteral("`"), true};

CPhoneNumEdit::CPhoneNumEdit(QWidget* parent) : CLimitedLineEdit(parent) {}

CPhoneNumEdit::CPhoneNumEdit(const Charset& charset, QWidget* parent) : CLimitedLineEdit(parent), m_charset(charset) {}

bool CPhoneNumEdit::IsAcceptedChar(char16_t ch, const Charset& charset)
{
    return isEditingCode(ch) || charset.numbers.IsNumberChar(QChar(ch));
}

bool CPhoneNumEdit::Accepts(char16_t ch, qsizetype position) const
{
    if (!m_bFilter)
        return !m_charset.refusedUnfiltered.contains(QChar(ch));
    return isEditingCode(ch) || m_charset.numbers.Takes(QChar(ch), position);
}

QString CPhoneNumEdit::Filtered(const QString& text, qsizetype at) const
{
    QString kept;
    for (const QChar c : text) {
        if (Accepts(c.unicode(), at + kept.size()))
            kept += c;
    }
    return kept;
}

qsizetype CPhoneNumEdit::InsertionPoint() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

QString CPhoneNumEdit::FilterInsertion(const QString& inserted, qsizetype at) const
{
    return m_charset.filterInsertions ? Filtered(inserted, at) : inserted;
}

void CPhoneNumEdit::keyPressEvent(QKeyEvent* event)
{
    if (!m_bFilter && m_charset.refusedUnfiltered.isEmpty()) {
        CLimitedLineEdit::keyPressEvent(event);
        return;
    }
    const char16_t code = typedCode(event);
    if (code == 0 || code < 0x20) {
        if (code == 0 || !m_bFilter || Accepts(code, InsertionPoint()))
            CLimitedLineEdit::keyPressEvent(event);
        else
            event->accept(); // e.g. Ctrl+X: the character is dropped
        return;
    }
    // A key may type several characters; each is judged on its own.
    const QString kept = Filtered(event->text(), InsertionPoint());
    if (kept == event->text()) {
        CLimitedLineEdit::keyPressEvent(event);
    } else if (!kept.isEmpty()) {
        QKeyEvent narrowed(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                           ushort(event->count()));
        CLimitedLineEdit::keyPressEvent(&narrowed);
        event->accept();
    } else {
        event->accept();
    }
}

void CPhoneNumEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if ((!m_bFilter && m_charset.refusedUnfiltered.isEmpty()) || event->commitString().isEmpty()) {
        CLimitedLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent narrowed(event->preeditString(), event->attributes());
    narrowed.setCommitString(Filtered(event->commitString(), InsertionPoint() + event->replacementStart()),
                             event->replacementStart(), event->replacementLength());
    CLimitedLineEdit::inputMethodEvent(&narrowed);
    event->accept();
}
