#include "ui2/phonebook_list_dlg.h"

#include "controls/phone_num_edit.h"
#include "controls/record_list_ctrl.h"
#include "document2/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui2/dialog_parts.h"
#include "ui2/resource.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSet>
#include <QVBoxLayout>

namespace dh2 {

CPhonebookListDlg::CPhonebookListDlg(const CMVsyncDoc& doc, QWidget* parent)
    : QDialog(parent), m_pList(new CRecordListCtrl), m_pNumber(new CPhoneNumEdit(CPhoneNumEdit::kDeskhand2))
{
    setObjectName(QStringLiteral("CPhonebookListDlg"));
    setWindowTitle(QStringLiteral("Phonebook List"));
    m_pList->setObjectName(QStringLiteral("list"));
    m_pList->setAccessibleName(QStringLiteral("Phonebook List"));
    m_pList->SetNumberedRows(false);
    m_pList->SetColumns(platform::LoadString(ids::IDS_PHONEBOOK_LIST_COLUMNS), false);
    // Each number once, with the name it has first.
    QSet<QString> taken;
    for (const int kind : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook, CMVsyncDoc::ListSim, CMVsyncDoc::ListHandset}) {
        for (const auto& entry : *doc.ContactList(kind)) {
            if (entry->IsDeleted() || entry->m_strMobile.isEmpty() || taken.contains(entry->m_strMobile))
                continue;
            taken.insert(entry->m_strMobile);
            m_pList->AddRow({entry->m_strName, entry->m_strMobile}, 0);
        }
    }
    m_pNumber->LimitText(20);
    NameControl(m_pNumber, QStringLiteral("number"), QStringLiteral("Mobile Phone Num :"));
    connect(m_pList, &CRecordListCtrl::listClicked, this, &CPhonebookListDlg::OnClickList);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Mobile Phone Num :"), m_pNumber);
    layout->addLayout(form);
    layout->addWidget(CreateDialogButtons(this));
}

QString CPhonebookListDlg::GetNumber() const
{
    return m_pNumber->text();
}

void CPhonebookListDlg::OnClickList()
{
    const int row = m_pList->GetSelectedIndex();
    if (row >= 0)
        m_pNumber->setText(m_pList->GetItemText(row, 1));
}

void CPhonebookListDlg::accept()
{
    if (!m_pNumber->text().isEmpty())
        QDialog::accept();
}

} // namespace dh2
