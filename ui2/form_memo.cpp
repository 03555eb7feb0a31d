#include "ui2/form_memo.h"

#include "platform/string_table.h"
#include "ui2/memo_dlg.h"
#include "ui2/organizer_resource.h"
#include "ui2/resource.h"

namespace dh2 {

using namespace ids;

namespace {

CDataForm::Layout memoLayout()
{
    CDataForm::Layout layout;
    layout.localSelector = IDC_LOCAL_SOURCE;
    layout.localText = QStringLiteral("Memo");
    layout.pcSelectAll = IDC_ORGANIZER_PC_SELECT_ALL;
    layout.mobileSelectAll = IDC_ORGANIZER_MOBILE_SELECT_ALL;
    layout.total = IDC_TOTAL;
    layout.formColor = CForm_Memo::kFormColor;
    layout.dividerLeftLimit = 450;
    layout.detailHeight = 40; // one detail row
    layout.printTitle = platform::LoadString(IDS_MEMO) + QStringLiteral("\r\n");
    return layout;
}

} // namespace

CForm_Memo::CForm_Memo(CMVsyncDoc& doc, QWidget* parent)
    : COrganizerForm(doc, memoLayout(), CScheduleEntry::KindMemo, parent)
{
    setObjectName(QStringLiteral("CForm_Memo"));
}

CForm_Memo::~CForm_Memo() = default;

void CForm_Memo::AfterPhoneRowsFilled(int ownRows)
{
    EnableControl(IDC_COPY_TO_MOBILE, true);
    for (const int id : {int(IDC_COPY_TO_PC), int(IDC_ORGANIZER_MOBILE_SELECT_ALL), int(IDC_MOBILE_DELETE)})
        EnableControl(id, ownRows > 0);
}

std::vector<CDetailListCtrl::Row> CForm_Memo::RecordDetails(const CScheduleEntry* record) const
{
    std::vector<CDetailListCtrl::Row> rows{{6, platform::LoadString(IDS_SUBJECT), {}}};
    if (record)
        rows[0].value = record->m_strSubject.left(record->m_strSubject.indexOf(u'\r'));
    return rows;
}

bool CForm_Memo::EditRecord(CScheduleEntry& record, int mode)
{
    CMemoDlg dialog(record, mode, this);
    return RunModal(dialog) == QDialog::Accepted;
}

} // namespace dh2
