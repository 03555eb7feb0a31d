#include "controls/memo_edit_dlg.h"

#include "controls/control_names.h"
#include "controls/dialog_parts.h"
#include "controls/limited_text_edit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

CMemoEditDlg::CMemoEditDlg(const QString& label, int lines, QWidget* parent)
    : QDialog(parent), m_pText(new CLimitedTextEdit)
{
    setObjectName(QStringLiteral("CMemoDlg"));
    KeepFixedSize(*this);
    NameControl(m_pText, QStringLiteral("text"), label.trimmed());
    m_pText->setTabChangesFocus(true);
    // Return is the dialog's: it confirms the memo. Ctrl+Return starts a new line.
    m_pText->SetWantReturn(false);
    m_pText->setFixedHeight(m_pText->fontMetrics().lineSpacing() * lines + 10);
    m_pForm = new QFormLayout(this);
    m_pForm->addRow(label, m_pText);
}

CMemoEditDlg::~CMemoEditDlg() = default;

void CMemoEditDlg::AddButtons(QDialogButtonBox* buttons, const QString& okText)
{
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(okText);
    ok->setAccessibleName(ok->text());
    m_pForm->addRow(buttons);
}

void CMemoEditDlg::ShowText(const QString& text)
{
    m_pText->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QString CMemoEditDlg::Text() const
{
    return m_pText->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}
