#include "ui/phonebook_list_dlg.h"

#include "controls/phone_num_edit.h"
#include "controls/record_list_ctrl.h"
#include "document/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui/dialog_parts.h"

#include <QFormLayout>
#include <QVBoxLayout>

namespace dh1 {

namespace {
constexpr int kNumberColumn = 2;
} // namespace

CPhonebookListDlg::CPhonebookListDlg(const CMVsyncDoc& doc, QWidget* parent)
    : QDialog(parent), m_pList(new CRecordListCtrl), m_pNumber(new CPhoneNumEdit)
{
    setObjectName(QStringLiteral("CPhonebookListDlg"));
    setWindowTitle(platform::LoadString(64160));
    m_pList->setObjectName(QStringLiteral("list"));
    m_pList->setAccessibleName(windowTitle());
    m_pList->SetColumns(platform::LoadString(64159), false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    const QString label = platform::LoadString(64158);
    m_pNumber->setObjectName(QStringLiteral("number"));
    m_pNumber->setAccessibleName(label);
    m_pNumber->LimitText(kNumberLimit);

    QDialogButtonBox* buttons = CreateDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(m_pList, &CRecordListCtrl::listClicked, this, &CPhonebookListDlg::OnClickList);

    auto* number = new QFormLayout;
    number->addRow(label, m_pNumber);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addLayout(number);
    layout->addWidget(buttons);
    resize(420, 360);

    // The PC phonebook first, then the PIM contacts: every live entry with a mobile number.
    for (const int kind : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook}) {
        for (const auto& entry : *doc.ContactList(kind)) {
            if (!entry->IsDeleted() && !entry->m_strMobile.isEmpty())
                m_pList->AddRow({entry->m_strName, entry->m_strMobile}, -1);
        }
    }
}

void CPhonebookListDlg::OnClickList()
{
    const int row = m_pList->GetSelectedIndex();
    if (row >= 0)
        m_pNumber->setText(m_pList->GetItemText(row, kNumberColumn));
}

void CPhonebookListDlg::accept()
{
    m_strNumber = m_pNumber->text();
    if (m_strNumber.isEmpty())
        return;
    QDialog::accept();
}

} // namespace dh1
