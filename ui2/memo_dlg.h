#pragma once

#include "controls/dialog_parts.h"
#include "controls/memo_edit_dlg.h"
#include "link2/records.h"

namespace dh2 {

// Edits the text of one memo (a schedule record of kind 2, its text in the subject). Built with
// the memo and a mode (1 New, 2 Edit; the title says which); the memo changes only on OK, and
// only with a text.
class CMemoDlg : public CMemoEditDlg {
    Q_OBJECT

public:
    using enum EditDialogMode;

    CMemoDlg(CScheduleEntry& memo, int mode, QWidget* parent = nullptr);

public Q_SLOTS:
    // An empty text keeps the dialog open.
    void accept() override;
    void OnChangeText();

private:
    CScheduleEntry& m_memo;
};

} // namespace dh2
