#pragma once

#include "ui/dialog_parts.h"

#include "link/records.h"

#include <QDialog>

class CLimitedTextEdit;

// Edits the text of one memo. Built with the memo and a mode (1 New, 2 Edit; the title says
// which); the memo changes only on OK, and only with a text.
class CMemoDlg : public QDialog {
    Q_OBJECT

public:
    using enum EditDialogMode;

    CMemoDlg(CMemoEntry& memo, int mode, QWidget* parent = nullptr);

    CLimitedTextEdit* TextEdit() const { return m_pText; }

public Q_SLOTS:
    // An empty text keeps the dialog open.
    void accept() override;
    void OnChangeText();

private:
    CMemoEntry& m_memo;
    CLimitedTextEdit* m_pText;
};
