#include "ui2/memo_dlg.h"

#include "controls/limited_text_edit.h"
#include "ui2/dialog_parts.h"
#include "ui2/schedule_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace dh2 {

CMemoDlg::CMemoDlg(CScheduleEntry& memo, int mode, QWidget* parent)
    : QDialog(parent), m_memo(memo), m_pText(new CLimitedTextEdit)
{
    setObjectName(QStringLiteral("CMemoDlg"));
    setWindowTitle(EditDialogTitle(mode));
    const QString label = QStringLiteral("Memo :");
    NameControl(m_pText, QStringLiteral("text"), label);
    m_pText->setTabChangesFocus(true);
    // Return is the dialog's: it confirms the memo. Ctrl+Return starts a new line.
    m_pText->SetWantReturn(false);
    m_pText->setFixedHeight(m_pText->fontMetrics().lineSpacing() * 4 + 10);
    auto* form = new QFormLayout(this);
    form->addRow(label, m_pText);
    QDialogButtonBox* buttons = CreateDialogButtons(this);
    // This dialog's own spelling.
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("Ok"));
    ok->setAccessibleName(ok->text());
    form->addRow(buttons);
    setMinimumWidth(340);

    // The memo keeps its lines in CR LF; the field in plain line feeds.
    m_pText->setPlainText(QString(memo.m_strSubject).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    connect(m_pText, &QPlainTextEdit::textChanged, this, &CMemoDlg::OnChangeText);
    OnChangeText();
}

void CMemoDlg::OnChangeText()
{
    m_pText->LimitText(OrganizerTextLimit(m_pText->toPlainText()));
}

void CMemoDlg::accept()
{
    const QString text = m_pText->toPlainText();
    if (text.isEmpty())
        return;
    m_memo.m_strSubject = QString(text).replace(u'\n', QStringLiteral("\r\n"));
    QDialog::accept();
}

} // namespace dh2
