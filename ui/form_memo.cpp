#include "ui/form_memo.h"

#include "platform/string_table.h"
#include "ui/memo_dlg.h"
#include "ui/resource.h"

namespace dh1 {

using namespace ids;

namespace {

CDataForm::Layout memoLayout()
{
    CDataForm::Layout layout;
    layout.localSelector = IDC_LOCAL_SOURCE;
    layout.localText = platform::LoadString(63011);
    layout.pcSelectAll = IDC_ORGANIZER_PC_SELECT_ALL;
    layout.mobileSelectAll = IDC_ORGANIZER_MOBILE_SELECT_ALL;
    layout.total = IDC_MEMO_TOTAL;
    layout.dividerLeftLimit = 400;
    layout.printTitle = QStringLiteral("Memos\r\n\r\n"); // a blank line under the title
    return layout;
}

CPhoneListForm::PhoneCommands memoCommands()
{
    CPhoneListForm::PhoneCommands commands;
    commands.copyWithoutSelection = true;
    return commands;
}

PhoneListOps<CMemoEntry> memoOps()
{
    return {CMVsyncDoc::ColumnsMemos,
            static_cast<RecordList<CMemoEntry>* (CMVsyncDoc::*)(int)>(&CMVsyncDoc::MemoList),
            &CMVsyncDoc::FindMemo,
            &CMVsyncDoc::StoreMemo,
            &CMVsyncDoc::MemoToRow,
            &CMVsyncDoc::ImportOutlookNotes,
            &CMVsyncDoc::ExportOutlookNotes,
            &CMVsyncDoc::ReadPhoneMemos,
            &CMVsyncDoc::ConnectForMemos,
            &CMVsyncDoc::WritePhoneMemo,
            &CMVsyncDoc::CopyToPhoneMemos,
            &CMVsyncDoc::UpdatePhoneMemo,
            &CMVsyncDoc::DeleteFromPhoneMemos,
            &CMVsyncDoc::IsPhoneMemoFull,
            &CMVsyncDoc::DropStaleMemoLinks,
            &CMVsyncDoc::PhoneCapacities::m_nMemoCapacity};
}

} // namespace

CForm_Memo::CForm_Memo(CMVsyncDoc& doc, QWidget* parent)
    : TPhoneListForm(doc, memoLayout(), memoCommands(), memoOps(), parent)
{
    setObjectName(QStringLiteral("CForm_Memo"));
}

CForm_Memo::~CForm_Memo() = default;

std::vector<CDetailListCtrl::Row> CForm_Memo::DetailRows(const CSyncRecord* record) const
{
    // The value is the row's text: the memo's first line.
    QStringList cells;
    if (record)
        GetDocument().MemoToRow(Of(*record), cells);
    return {{6, platform::LoadString(63013), cells.value(0)}};
}

bool CForm_Memo::EditRecord(CSyncRecord& record, int mode, int)
{
    CMemoDlg dialog(Of(record), mode, this);
    return RunModal(dialog) == QDialog::Accepted;
}

} // namespace dh1
