#include "ui2/memo_dlg.h"

#include "controls/limited_text_edit.h"
#include "ui2/dialog_parts.h"
#include "ui2/schedule_dlg.h"

namespace dh2 {

CMemoDlg::CMemoDlg(CScheduleEntry& memo, int mode, QWidget* parent)
    : CMemoEditDlg(QStringLiteral("Memo :"), 4, parent), m_memo(memo)
{
    setWindowTitle(EditDialogTitle(mode));
    AddButtons(CreateDialogButtons(this), QStringLiteral("Ok"));
    setMinimumWidth(340);
    ShowText(memo.m_strSubject);
    connect(TextEdit(), &QPlainTextEdit::textChanged, this, &CMemoDlg::OnChangeText);
    OnChangeText();
}

void CMemoDlg::OnChangeText()
{
    TextEdit()->LimitText(OrganizerTextLimit(TextEdit()->toPlainText()));
}

void CMemoDlg::accept()
{
    const QString text = Text();
    if (text.isEmpty())
        return;
    m_memo.m_strSubject = text;
    QDialog::accept();
}

} // namespace dh2
