#pragma once

#include "controls/limited_line_edit.h"
#include "platform/phone_number.h"

// The edit of telephone-number fields: it refuses every typed character that cannot be
// dialled, and a '+' anywhere but first (the program's number rule, which also cleans what goes
// to the phone). Whether pasted or dropped text is judged too differs by program (the Charset);
// with the filter off only the charset's refused characters are dropped.
class CPhoneNumEdit : public CLimitedLineEdit {
    Q_OBJECT
public:
    struct Charset {
        platform::PhoneNumberRule numbers; // what a number holds
        QString refusedUnfiltered; // dropped even with the filter off
        bool filterInsertions = false; // pasted and dropped text is filtered as typing is
    };
    // Deskhand: digits, "#*+Pp"; only typing is filtered.
    static const Charset kDeskhand;
    // Deskhand2: digits, "#*+P" (no lower-case p); paste and drop filtered as well, since the
    // numbers go into AT commands; with the filter off only the back-quote is refused.
    static const Charset kDeskhand2;

    explicit CPhoneNumEdit(QWidget* parent = nullptr);
    CPhoneNumEdit(const Charset& charset, QWidget* parent = nullptr);

    void SetFilter(bool filter) { m_bFilter = filter; }
    bool GetFilter() const { return m_bFilter; }
    void SetCharset(const Charset& charset) { m_charset = charset; }
    const Charset& GetCharset() const { return m_charset; }

    // Whether a typed character (as its character code: 3 copy, 8 backspace, 22 paste, ...)
    // passes the filter of a charset (Deskhand's by default).
    static bool IsAcceptedChar(char16_t ch, const Charset& charset = kDeskhand);
    // Whether this edit, with its filter state, lets a character through to that position.
    bool Accepts(char16_t ch, qsizetype position) const;

protected:
    QString FilterInsertion(const QString& inserted, qsizetype at) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // What the edit keeps of a text entered at a position.
    QString Filtered(const QString& text, qsizetype at) const;
    // Where typed text goes: the start of the selection, else the cursor.
    qsizetype InsertionPoint() const;

    Charset m_charset = kDeskhand;
    bool m_bFilter = true;
};
