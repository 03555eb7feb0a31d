#include "ui2/organizer_form.h"

#include "controls/form_button.h"
#include "controls/image_button.h"
#include "controls/record_list_ctrl.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui2/organizer_resource.h"
#include "ui2/resource.h"
#include "ui2/schedule_dlg.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace dh2 {

using namespace ids;

namespace {

// A row's mark: the record is on the phone.
int rowKind(const CScheduleEntry& record)
{
    return record.m_nIndex != -1 ? 1 : 0;
}

// The start date's column on both pages, after the number and the text. The shown date is the
// locale's, so the column sorts by the record's own moment.
constexpr int kDateColumn = 2;

} // namespace

COrganizerForm::COrganizerForm(CMVsyncDoc& doc, const Layout& layout, int kind, QWidget* parent)
    : CDataForm(doc, layout, parent), m_nKind(kind)
{
    AddMobileList(IDC_PHONE_LIST, CMVsyncDoc::ListPhone, QStringLiteral("mobileList"), platform::LoadString(IDS_MOBILE));
}

COrganizerForm::~COrganizerForm() = default;

CRecordListCtrl* COrganizerForm::ShownMobileList() const
{
    return RecordList(IDC_PHONE_LIST);
}

CRecordListCtrl* COrganizerForm::ListOfKind(int list) const
{
    switch (list) {
    case CMVsyncDoc::ListPc: return RecordList(IDC_PC_LIST);
    case CMVsyncDoc::ListOutlook: return RecordList(IDC_OUTLOOK_LIST);
    case CMVsyncDoc::ListPhone: return RecordList(IDC_PHONE_LIST);
    default: return nullptr;
    }
}

void COrganizerForm::SetUpColumns()
{
    QString columns;
    GetDocument().GetColumnFormat(m_nKind == CScheduleEntry::KindMemo ? CMVsyncDoc::ColumnsMemos : CMVsyncDoc::ColumnsSchedules,
                                  columns);
    for (const int list : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook, CMVsyncDoc::ListPhone})
        ListOfKind(list)->SetColumns(columns, true);
}

CScheduleEntry* COrganizerForm::Find(int list, quintptr id) const
{
    CScheduleEntry* record = m_nKind == CScheduleEntry::KindMemo ? GetDocument().FindMemo(list, id)
                                                                   : GetDocument().FindSchedule(list, id);
    // The phone list holds both kinds: a page reaches only its own.
    return record && record->m_nKind == m_nKind ? record : nullptr;
}

CSyncRecord* COrganizerForm::FindRecord(int kind, quintptr id) const
{
    return Find(kind, id);
}

CScheduleEntry* COrganizerForm::Store(int list, const CScheduleEntry& record)
{
    return m_nKind == CScheduleEntry::KindMemo ? GetDocument().StoreMemo(list, record)
                                               : GetDocument().StoreSchedule(list, record);
}

bool COrganizerForm::ImportPim()
{
    return m_nKind == CScheduleEntry::KindMemo ? GetDocument().ImportOutlookNotes() : GetDocument().ImportOutlookSchedules();
}

bool COrganizerForm::ExportPim()
{
    return m_nKind == CScheduleEntry::KindMemo ? GetDocument().ExportOutlookNotes() : GetDocument().ExportOutlookSchedules();
}

std::vector<CDetailListCtrl::Row> COrganizerForm::DetailRows(const CSyncRecord* record, bool) const
{
    return RecordDetails(static_cast<const CScheduleEntry*>(record));
}

void COrganizerForm::OnUpdate()
{
    for (const int list : {CMVsyncDoc::ListPhone, CMVsyncDoc::ListOutlook, CMVsyncDoc::ListPc})
        RefreshList(list);
}

int COrganizerForm::FillRows(CRecordListCtrl& list, const dh2::RecordList<CScheduleEntry>* records) const
{
    const CMVsyncDoc& doc = GetDocument();
    int rows = 0;
    list.setUpdatesEnabled(false);
    const QSignalBlocker quiet(&list);
    list.DeleteAllItems();
    QStringList cells;
    for (size_t i = 0; records && i < records->size(); ++i) {
        const CScheduleEntry& record = *(*records)[i];
        if (record.IsDeleted() || record.m_nKind != m_nKind)
            continue;
        cells.clear();
        if (m_nKind == CScheduleEntry::KindMemo)
            doc.MemoToRow(record, cells);
        else
            doc.ScheduleToRow(record, cells);
        const int row = list.AddRow(cells, rowKind(record));
        list.SetItemData(row, CMVsyncDoc::RecordId(&record));
        list.SetSortKey(row, kDateColumn, recordsort::MomentKey(record.m_dtStart.date(), record.m_dtStart.time()));
        ++rows;
    }
    list.setUpdatesEnabled(true);
    return rows;
}

void COrganizerForm::RefreshList(int kind)
{
    if (kind == CMVsyncDoc::ListPhone) {
        RefreshMobileList();
        return;
    }
    CRecordListCtrl* list = ListOfKind(kind);
    if (!list)
        return;
    const CMVsyncDoc& doc = GetDocument();
    FillRows(*list, m_nKind == CScheduleEntry::KindMemo ? doc.MemoList(kind) : doc.ScheduleList(kind));
    OnCheckChanged(list);
    ShowPcEntryInfo(nullptr);
    UpdatePcTotal();
    if (kind == CMVsyncDoc::ListPc)
        AfterPcListFilled();
}

void COrganizerForm::RefreshMobileList()
{
    CMVsyncDoc& doc = GetDocument();
    CRecordListCtrl* list = ShownMobileList();
    const platform::WaitCursor wait;
    // An unread list (never read, or its read failed) has nothing the rows could show, no count,
    // and nothing a transfer could start from.
    const bool read = doc.IsPhoneListRead();
    const int own = FillRows(*list, read ? &doc.m_arPhoneList : nullptr);
    SetCheck(CheckBox(m_layout.mobileSelectAll), false);
    OnCheckChanged(list);
    ShowMobileEntryInfo(nullptr);
    if (!read) {
        for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), m_layout.mobileSelectAll, int(IDC_MOBILE_DELETE)})
            EnableControl(id, false);
        SetInfoText(QString());
        return;
    }
    SetInfoText(doc.PhoneListStatusText());
    AfterPhoneRowsFilled(own);
}

CScheduleEntry COrganizerForm::FreshRecord(const COleDateTime& start)
{
    CScheduleEntry record;
    record.m_dtStart = start;
    return record;
}

void COrganizerForm::NewInList(int list, const COleDateTime& start)
{
    CScheduleEntry record = FreshRecord(start);
    if (!EditRecord(record, CScheduleDlg::ModeNew))
        return;
    const CScheduleEntry* stored = Store(list, record);
    if (!stored)
        return;
    const quintptr id = CMVsyncDoc::RecordId(stored);
    if (list == CMVsyncDoc::ListOutlook)
        OnPcWrite(); // writes the PIM side back and refills its rows
    else
        RefreshList(list);
    CRecordListCtrl* rows = ListOfKind(list);
    for (int row = 0; row < rows->GetItemCount(); ++row) {
        if (rows->GetItemData(row) == id) {
            rows->clearSelection();
            rows->SetSelected(row, true);
            break;
        }
    }
    ScrollToRecord(*rows, id);
    UpdatePcTotal();
}

bool COrganizerForm::EditStored(int list, quintptr id)
{
    const CScheduleEntry* record = Find(list, id);
    if (!record)
        return false;
    CScheduleEntry edited;
    edited.Assign(*record);
    if (!EditRecord(edited, CScheduleDlg::ModeEdit))
        return false;
    // The record may have gone while the dialog was open.
    CScheduleEntry* target = Find(list, id);
    if (!target)
        return false;
    target->Assign(edited);
    target->m_nState = CSyncRecord::StateChanged;
    return true;
}

void COrganizerForm::OnPcNew()
{
    const QDate today = QDate::currentDate();
    NewInList(PcKind(), COleDateTime(today.year(), today.month(), today.day(), 12, 0, 0));
}

void COrganizerForm::OnPcEdit()
{
    EnableControl(IDC_PC_EDIT, false);
    const int list = PcKind();
    CRecordListCtrl* rows = ShownPcList();
    const int row = rows->GetSelectedIndex();
    if (row < 0)
        return;
    const quintptr id = rows->GetItemData(row);
    if (!EditStored(list, id))
        return;
    if (list == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    else
        RefreshList(list);
    for (int r = 0; r < rows->GetItemCount(); ++r) {
        if (rows->GetItemData(r) == id) {
            rows->SetSelected(r, true);
            break;
        }
    }
    ScrollToRecord(*rows, id);
    UpdatePcTotal();
}

void COrganizerForm::OnMobileRead()
{
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetInfoText(platform::LoadString(IDS_READING));
    const bool ok = doc.ReadPhoneSchedules();
    if (!ok) {
        InfoBox(IDS_READ_FAILED);
        SetInfoText(QString());
    } else {
        // Links are dropped only against a list really read.
        doc.DropStalePhoneListLinks(m_nKind);
        for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), m_layout.mobileSelectAll, int(IDC_MOBILE_DELETE)})
            EnableControl(id, true);
    }
    AfterMobileRead(ok);
    OnUpdate();
}

void COrganizerForm::OnMobileDelete()
{
    if (!ConfirmDeletion(m_layout.mobileSelectAll))
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetInfoText(platform::LoadString(IDS_DELETING));
    std::vector<quintptr> ids;
    for (const quintptr id : CheckedIds(*ShownMobileList())) {
        if (Find(CMVsyncDoc::ListPhone, id))
            ids.push_back(id);
    }
    if (!doc.DeleteFromPhoneList(ids))
        InfoBox(doc.PhoneOutcomeUnconfirmed() ? int(IDS_LIST_UNCONFIRMED) : int(IDS_WRITE_FAILED));
    SetInfoText(QString());
    OnUpdate();
    EnableControl(IDC_PC_DELETE, false);
}

void COrganizerForm::OnCopyToMobile()
{
    const int source = CopySourceList();
    if (source == 0)
        return;
    const std::vector<quintptr> ids = CheckedIds(*ListOfKind(source));
    if (ids.empty())
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetInfoText(platform::LoadString(IDS_WRITING));
    const CMVsyncDoc::PhoneListWrite result = doc.CopyToPhoneList(m_nKind, source, ids);
    if (result.unconfirmed)
        InfoBox(IDS_LIST_UNCONFIRMED);
    else if (result.added > 0 && !result.written)
        InfoBox(IDS_WRITE_FAILED);
    if (result.full)
        platform::AfxMessageBox(platform::LoadString(IDS_MEMORY_FULL), platform::MB_OK);
    OnUpdate();
}

void COrganizerForm::OnCopyToPc()
{
    const int target = CopyTargetList();
    if (target == 0)
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    const std::vector<quintptr> ids = CheckedIds(*ShownMobileList());
    if (target == CMVsyncDoc::ListPc)
        doc.ShowAddingProgress();
    for (const quintptr id : ids) {
        if (const CScheduleEntry* record = Find(CMVsyncDoc::ListPhone, id))
            Store(target, *record);
    }
    if (target == CMVsyncDoc::ListOutlook) {
        OnPcWrite();
    } else {
        doc.CloseProgress();
        RefreshList(target);
    }
    AfterCopyToPc();
    UpdatePcTotal();
}

} // namespace dh2
