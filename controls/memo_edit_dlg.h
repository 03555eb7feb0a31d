#pragma once

#include <QDialog>

class CLimitedTextEdit;
class QDialogButtonBox;
class QFormLayout;

// The form of both programs' memo dialogs: the memo's text under its label, then the buttons.
// Return confirms the memo; Ctrl+Return starts a new line. The memo keeps its lines in CR LF,
// the field in plain line feeds. Each program's dialog limits the text and writes the memo
// back on OK.
class CMemoEditDlg : public QDialog {
    Q_OBJECT

public:
    ~CMemoEditDlg() override;

    CLimitedTextEdit* TextEdit() const { return m_pText; }

protected:
    // A field of that many lines.
    CMemoEditDlg(const QString& label, int lines, QWidget* parent);

    // The buttons as the last row, OK in this dialog's own spelling.
    void AddButtons(QDialogButtonBox* buttons, const QString& okText);
    // The memo's text in CR LF, shown and read back.
    void ShowText(const QString& text);
    QString Text() const;

private:
    QFormLayout* m_pForm;
    CLimitedTextEdit* m_pText;
};
