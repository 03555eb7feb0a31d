#include "ui2/select_schedule_dlg.h"

#include "controls/record_list_ctrl.h"
#include "link2/records.h"
#include "platform/string_table.h"
#include "ui2/dialog_parts.h"
#include "ui2/resource.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace dh2 {

CSelectScheduleDlg::CSelectScheduleDlg(const std::vector<CScheduleEntry*>& records, QWidget* parent)
    : QDialog(parent), m_records(records), m_pList(new CRecordListCtrl)
{
    setObjectName(QStringLiteral("CSelectScheduleDlg"));
    setWindowTitle(QStringLiteral("Select Item"));
    m_pList->setObjectName(QStringLiteral("list"));
    m_pList->setAccessibleName(QStringLiteral("Select Item"));
    m_pList->SetKindImages({6, 4, 5});
    m_pList->SetColumns(platform::LoadString(ids::IDS_SELECT_COLUMNS), false);
    for (size_t i = 0; i < m_records.size(); ++i) {
        const int row = m_pList->AddRow({m_records[i] ? m_records[i]->m_strSubject : QString()}, 0);
        m_pList->SetItemData(row, quintptr(i));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(CreateDialogButtons(this));
}

void CSelectScheduleDlg::accept()
{
    const int row = m_pList->GetSelectedIndex();
    if (row >= 0) {
        const quintptr i = m_pList->GetItemData(row);
        m_pChosen = i < m_records.size() ? m_records[i] : nullptr;
    }
    QDialog::accept();
}

} // namespace dh2
