#pragma once

#include "controls/limited_line_edit.h"

// The edit of telephone-number fields: it refuses every typed character that cannot be
// dialled. Only typing is filtered; pasted or dropped text goes in as it is.
class CPhoneNumEdit : public CLimitedLineEdit {
    Q_OBJECT
public:
    explicit CPhoneNumEdit(QWidget* parent = nullptr);

    void SetFilter(bool filter) { m_bFilter = filter; }
    bool GetFilter() const { return m_bFilter; }

    // Whether a typed character (as its character code: 3 copy, 8 backspace, 22 paste, ...)
    // passes the filter.
    static bool IsAcceptedChar(char16_t ch);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool m_bFilter = true;
};
