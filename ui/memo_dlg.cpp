#include "ui/memo_dlg.h"

#include "controls/limited_text_edit.h"
#include "document/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui/dialog_parts.h"
#include "ui/entry_rules.h"

#include <QFormLayout>
#include <QPushButton>

CMemoDlg::CMemoDlg(CMemoEntry& memo, int mode, QWidget* parent)
    : QDialog(parent), m_memo(memo), m_pText(new CLimitedTextEdit)
{
    setObjectName(QStringLiteral("CMemoDlg"));
    setWindowTitle(EditDialogTitle(mode));
    const QString label = platform::LoadString(64172);
    m_pText->setObjectName(QStringLiteral("text"));
    m_pText->setAccessibleName(label.trimmed());
    m_pText->setTabChangesFocus(true);
    // Return is the dialog's: it confirms the memo. Ctrl+Return starts a new line.
    m_pText->SetWantReturn(false);
    m_pText->setFixedHeight(m_pText->fontMetrics().lineSpacing() * 5 + 10);
    m_pText->LimitText(CMVsyncDoc::Capacities().m_nMemoTextLen);
    auto* form = new QFormLayout(this);
    form->addRow(label, m_pText);
    QDialogButtonBox* buttons = CreateDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    // This dialog's own spelling.
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(platform::LoadString(64145));
    ok->setAccessibleName(ok->text());
    form->addRow(buttons);
    setMinimumWidth(360);

    // The memo keeps its lines in CR LF; the field in plain line feeds.
    m_pText->setPlainText(QString(memo.m_strText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    connect(m_pText, &QPlainTextEdit::textChanged, this, &CMemoDlg::OnChangeText);
}

void CMemoDlg::OnChangeText()
{
    m_pText->LimitText(entryrules::UnitLimit(m_pText->toPlainText(), entryrules::kMemoUnits, entryrules::kMemoWide));
}

void CMemoDlg::accept()
{
    const QString text = m_pText->toPlainText();
    if (text.isEmpty())
        return;
    m_memo.m_strText = QString(text).replace(u'\n', QStringLiteral("\r\n"));
    QDialog::accept();
}
