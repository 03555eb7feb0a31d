#include "ui/form_memo.h"

#include "link/capacities.h"
#include "platform/string_table.h"
#include "ui/memo_dlg.h"
#include "ui/resource.h"

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
    layout.printTitle = QStringLiteral("Memos\r\n");
    return layout;
}

CPhoneListForm::PhoneCommands memoCommands()
{
    CPhoneListForm::PhoneCommands commands;
    commands.copyWithoutSelection = true;
    return commands;
}

const CMemoEntry& memo(const CSyncRecord& record)
{
    return static_cast<const CMemoEntry&>(record);
}

} // namespace

CForm_Memo::CForm_Memo(CMVsyncDoc& doc, QWidget* parent) : CPhoneListForm(doc, memoLayout(), memoCommands(), parent)
{
    setObjectName(QStringLiteral("CForm_Memo"));
}

CForm_Memo::~CForm_Memo() = default;

void CForm_Memo::SetUpColumns()
{
    QString columns;
    GetDocument().GetColumnFormat(columns, CMVsyncDoc::ColumnsMemos);
    for (const int id : {int(IDC_PC_LIST), int(IDC_OUTLOOK_LIST), int(IDC_PHONE_LIST)})
        RecordList(id)->SetColumns(columns, false);
}

CSyncRecord* CForm_Memo::FindRecord(int kind, quintptr id) const
{
    return GetDocument().FindMemo(kind, id);
}

void CForm_Memo::FillRows(int kind)
{
    CMVsyncDoc& doc = GetDocument();
    const auto rowText = [&doc](const CMemoEntry& entry, QStringList& cells) { doc.MemoToRow(entry, cells); };
    if (kind == CMVsyncDoc::ListPhone)
        FillList(*ListOf(kind), *doc.MemoList(kind), rowText, PhoneImage<CMemoEntry>);
    else
        FillList(*ListOf(kind), *doc.MemoList(kind), rowText, PcImage<CMemoEntry>);
}

std::vector<CDetailListCtrl::Row> CForm_Memo::DetailRows(const CSyncRecord* record) const
{
    // The value is the row's text: the memo's first line.
    QStringList cells;
    if (record)
        GetDocument().MemoToRow(memo(*record), cells);
    return {{6, platform::LoadString(63013), cells.value(0)}};
}

bool CForm_Memo::ImportPim()
{
    return GetDocument().ImportOutlookNotes();
}

bool CForm_Memo::ExportPim()
{
    return GetDocument().ExportOutlookNotes();
}

std::unique_ptr<CSyncRecord> CForm_Memo::NewRecord() const
{
    return std::make_unique<CMemoEntry>();
}

bool CForm_Memo::EditRecord(CSyncRecord& record, int mode, int)
{
    CMemoDlg dialog(static_cast<CMemoEntry&>(record), mode, this);
    return RunModal(dialog) == QDialog::Accepted;
}

CSyncRecord* CForm_Memo::StoreRecord(int kind, const CSyncRecord& record)
{
    return GetDocument().StoreMemo(kind, memo(record));
}

void CForm_Memo::RowTexts(int, const CSyncRecord& record, QStringList& cells) const
{
    GetDocument().MemoToRow(memo(record), cells);
}

bool CForm_Memo::ConnectPhone()
{
    return GetDocument().ConnectForMemos();
}

int CForm_Memo::WriteToPhone(const CSyncRecord& record)
{
    return GetDocument().WritePhoneMemo(memo(record));
}

int CForm_Memo::UpdateOnPhone(CSyncRecord& record, const CSyncRecord& edited)
{
    return GetDocument().UpdatePhoneMemo(static_cast<CMemoEntry&>(record), memo(edited));
}

bool CForm_Memo::IsPhoneFull() const
{
    return GetDocument().IsPhoneMemoFull();
}

bool CForm_Memo::ReadPhone()
{
    return GetDocument().ReadPhoneMemos();
}

bool CForm_Memo::DeleteOnPhone(CSyncRecord& record)
{
    return GetDocument().DeletePhoneMemo(static_cast<CMemoEntry&>(record));
}

void CForm_Memo::DropStaleLinks()
{
    GetDocument().DropStaleMemoLinks();
}

int CForm_Memo::PhoneCapacity() const
{
    return g_nMemoCapacity;
}
