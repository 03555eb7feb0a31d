#include "ui/memo_dlg.h"

#include "controls/limited_text_edit.h"
#include "document/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui/entry_rules.h"

namespace dh1 {

CMemoDlg::CMemoDlg(CMemoEntry& memo, int mode, QWidget* parent)
    : CMemoEditDlg(platform::LoadString(64172), 5, parent), m_memo(memo)
{
    setWindowTitle(EditDialogTitle(mode));
    TextEdit()->LimitText(CMVsyncDoc::Capacities().m_nMemoTextLen);
    AddButtons(CreateDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel), platform::LoadString(64145));
    setMinimumWidth(360);
    ShowText(memo.m_strText);
    connect(TextEdit(), &QPlainTextEdit::textChanged, this, &CMemoDlg::OnChangeText);
}

void CMemoDlg::OnChangeText()
{
    TextEdit()->LimitText(entryrules::UnitLimit(TextEdit()->toPlainText(), entryrules::kMemoUnits, entryrules::kMemoWide));
}

void CMemoDlg::accept()
{
    const QString text = Text();
    if (text.isEmpty())
        return;
    m_memo.m_strText = text;
    QDialog::accept();
}

} // namespace dh1
