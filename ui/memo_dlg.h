#pragma once

#include "ui/dialog_parts.h"

#include "controls/memo_edit_dlg.h"
#include "link/records.h"

namespace dh1 {

// Edits the text of one memo. Built with the memo and a mode (1 New, 2 Edit; the title says
// which); the memo changes only on OK, and only with a text.
class CMemoDlg : public CMemoEditDlg {
    Q_OBJECT

public:
    using enum EditDialogMode;

    CMemoDlg(CMemoEntry& memo, int mode, QWidget* parent = nullptr);

public Q_SLOTS:
    // An empty text keeps the dialog open.
    void accept() override;
    void OnChangeText();

private:
    CMemoEntry& m_memo;
};

} // namespace dh1
