#pragma once

#include "controls/dialog_parts.h"
#include "link2/records.h"

#include <QDialog>

class CLimitedTextEdit;

namespace dh2 {

// Edits the text of one memo (a schedule record of kind 2, its text in the subject). Built with
// the memo and a mode (1 New, 2 Edit; the title says which); the memo changes only on OK, and
// only with a text.
class CMemoDlg : public QDialog {
    Q_OBJECT

public:
    using enum EditDialogMode;

    CMemoDlg(CScheduleEntry& memo, int mode, QWidget* parent = nullptr);

    CLimitedTextEdit* TextEdit() const { return m_pText; }

public Q_SLOTS:
    // An empty text keeps the dialog open.
    void accept() override;
    void OnChangeText();

private:
    CScheduleEntry& m_memo;
    CLimitedTextEdit* m_pText;
};

} // namespace dh2
