#include "ui2/form_contact.h"

#include "controls/image_button.h"
#include "controls/record_list_ctrl.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui2/contact_dlg.h"
#include "ui2/resource.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace dh2 {

using namespace ids;

namespace {

CDataForm::Layout contactLayout()
{
    CDataForm::Layout layout;
    layout.localSelector = IDC_PHONEBOOK;
    layout.localText = QStringLiteral("Phonebook");
    layout.pcSelectAll = IDC_PC_SELECT_ALL;
    layout.mobileSelectAll = IDC_MOBILE_SELECT_ALL;
    layout.total = IDC_TOTAL;
    layout.formColor = 0x80282B;
    layout.printTitle = platform::LoadString(IDS_CONTACT) + QStringLiteral("\r\n");
    return layout;
}

// Row images by kind: 2 on the SIM, 1 in the handset, 0 on neither.
int rowKind(const CPhoneEntry& entry)
{
    if (entry.m_nSimIndex != -1)
        return 2;
    return entry.m_nIndex != -1 ? 1 : 0;
}

QString countText(int rows, int capacity)
{
    return QStringLiteral(" %1/%2").arg(rows).arg(capacity);
}

} // namespace

CForm_Contact::CForm_Contact(CMVsyncDoc& doc, QWidget* parent) : CDataForm(doc, contactLayout(), parent)
{
    using platform::LoadString;
    AddMobileList(IDC_HANDSET_LIST, CMVsyncDoc::ListHandset, QStringLiteral("handsetList"), LoadString(IDS_MOBILE));
    AddMobileList(IDC_SIM_LIST, CMVsyncDoc::ListSim, QStringLiteral("simList"), LoadString(IDS_SIM));
    // The book selectors keep their place at the right when the divider moves.
    AddSelector(IDC_MOBILE, QStringLiteral("Mobile"), QStringLiteral("mobileSource"), QRect(624, 62, 66, 24));
    AddSelector(IDC_SIM, QStringLiteral("SIM"), QStringLiteral("simSource"), QRect(694, 62, 66, 24));
    connect(ImageButton(IDC_MOBILE), &QPushButton::clicked, this, &CForm_Contact::ShowMobileList);
    connect(ImageButton(IDC_SIM), &QPushButton::clicked, this, &CForm_Contact::ShowSimList);
}

CForm_Contact::~CForm_Contact() = default;

std::vector<int> CForm_Contact::SelectorIds() const
{
    return {IDC_PHONEBOOK, IDC_OUTLOOK, IDC_MOBILE, IDC_SIM};
}

void CForm_Contact::SetUpColumns()
{
    QString contacts;
    QString sim;
    GetDocument().GetColumnFormat(CMVsyncDoc::ColumnsContacts, contacts);
    GetDocument().GetColumnFormat(CMVsyncDoc::ColumnsSimContacts, sim);
    for (const int id : {IDC_PC_LIST, IDC_OUTLOOK_LIST, IDC_HANDSET_LIST})
        RecordList(id)->SetColumns(contacts, true);
    RecordList(IDC_SIM_LIST)->SetColumns(sim, true);
    AnchorControl(IDC_MOBILE, ANCHOR_TOPRIGHT, ANCHOR_NONE);
    AnchorControl(IDC_SIM, ANCHOR_TOPRIGHT, ANCHOR_NONE);
}

CSyncRecord* CForm_Contact::FindRecord(int kind, quintptr id) const
{
    return GetDocument().FindContact(kind, id);
}

int CForm_Contact::MobileKind() const
{
    return ImageButton(IDC_SIM)->GetCheck() ? CMVsyncDoc::ListSim : CMVsyncDoc::ListHandset;
}

CRecordListCtrl* CForm_Contact::ShownMobileList() const
{
    return RecordList(MobileKind() == CMVsyncDoc::ListSim ? IDC_SIM_LIST : IDC_HANDSET_LIST);
}

void CForm_Contact::OnUpdate()
{
    for (const int kind : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook, CMVsyncDoc::ListSim, CMVsyncDoc::ListHandset})
        RefreshList(kind);
}

void CForm_Contact::RefreshList(int kind)
{
    static constexpr int kListIds[] = {0, IDC_PC_LIST, IDC_OUTLOOK_LIST, IDC_HANDSET_LIST, IDC_SIM_LIST};
    if (kind < CMVsyncDoc::ListPc || kind > CMVsyncDoc::ListSim)
        return;
    CRecordListCtrl* list = RecordList(kListIds[kind]);
    const CMVsyncDoc& doc = GetDocument();
    list->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(list);
        list->DeleteAllItems();
        QStringList cells;
        for (const auto& record : *doc.ContactList(kind)) {
            if (record->IsDeleted())
                continue;
            cells.clear();
            doc.ContactToRow(kind, *record, cells);
            const int row = list->AddRow(cells, rowKind(*record));
            list->SetItemData(row, CMVsyncDoc::RecordId(record.get()));
        }
    }
    list->setUpdatesEnabled(true);
    if (kind == CMVsyncDoc::ListHandset || kind == CMVsyncDoc::ListSim) {
        UpdateMobileInfo();
        SetCheck(CheckBox(IDC_MOBILE_SELECT_ALL), false);
    }
    OnCheckChanged(list);
    ShowPcEntryInfo(nullptr);
    ShowMobileEntryInfo(nullptr);
    UpdatePcTotal();
}

void CForm_Contact::UpdateMobileInfo()
{
    // The count names the book shown; the SIM's only once its capacity is known.
    const CMVsyncDoc& doc = GetDocument();
    if (MobileKind() == CMVsyncDoc::ListSim) {
        SetInfoText(doc.m_bSimRead ? countText(RecordList(IDC_SIM_LIST)->GetItemCount(), doc.m_nSimCapacity) : QString());
    } else {
        SetInfoText(countText(RecordList(IDC_HANDSET_LIST)->GetItemCount(), doc.m_nHandsetMax));
    }
}

std::vector<CDetailListCtrl::Row> CForm_Contact::DetailRows(const CSyncRecord* record, bool /*pcPane*/) const
{
    using platform::LoadString;
    const auto* entry = static_cast<const CPhoneEntry*>(record);
    const QString group = entry ? CMVsyncDoc::GroupText(*entry) : QString();
    if (entry && entry->m_nSimIndex != -1) {
        return {{0, LoadString(IDS_NAME), entry->m_strName},
                {1, LoadString(IDS_PHONE), entry->m_strMobile},
                {4, LoadString(IDS_GROUP), group},
                {1, LoadString(IDS_STORAGE), QStringLiteral("SIM %1").arg(entry->m_nSimIndex)}};
    }
    const auto value = [entry](const QString CPhoneEntry::*field) { return entry ? entry->*field : QString(); };
    QString storage;
    if (entry && entry->m_nIndex != -1)
        storage = QStringLiteral("Mobile %1").arg(entry->m_nIndex);
    return {{0, LoadString(IDS_NAME), value(&CPhoneEntry::m_strName)},
            {1, LoadString(IDS_MOBILE), value(&CPhoneEntry::m_strMobile)},
            {2, LoadString(IDS_HOME), value(&CPhoneEntry::m_strHome)},
            {3, LoadString(IDS_OFFICE), value(&CPhoneEntry::m_strOffice)},
            {5, LoadString(IDS_EMAIL), value(&CPhoneEntry::m_strEmail)},
            {11, LoadString(IDS_FAX), value(&CPhoneEntry::m_strFax)},
            {4, LoadString(IDS_GROUP), group},
            {1, LoadString(IDS_STORAGE), storage}};
}

bool CForm_Contact::ImportPim()
{
    return GetDocument().ImportOutlookContacts();
}

bool CForm_Contact::ExportPim()
{
    return GetDocument().ExportOutlookContacts();
}

bool CForm_Contact::EditContact(CPhoneEntry& entry, int mode)
{
    CContactDlg dialog(entry, mode, this);
    return RunModal(dialog) == QDialog::Accepted;
}

int CForm_Contact::SelectRecordRow(CRecordListCtrl& list, quintptr id)
{
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetItemData(row) == id) {
            list.clearSelection();
            list.SetSelected(row, true);
            list.scrollToItem(list.topLevelItem(row));
            return row;
        }
    }
    return -1;
}

void CForm_Contact::OnPcNew()
{
    const int kind = PcKind();
    CPhoneEntry entry;
    if (!EditContact(entry, CContactDlg::ModeNew))
        return;
    const CPhoneEntry* stored = GetDocument().StoreContact(kind, entry);
    if (!stored)
        return;
    const quintptr id = CMVsyncDoc::RecordId(stored);
    RefreshList(kind);
    CRecordListCtrl* list = ShownPcList();
    const int row = SelectRecordRow(*list, id);
    list->SetCheck(row, true);
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    SelectRecordRow(*ShownPcList(), id);
}

void CForm_Contact::OnPcEdit()
{
    EnableControl(IDC_PC_EDIT, false);
    const int kind = PcKind();
    CRecordListCtrl* list = ShownPcList();
    const int selected = list->GetSelectedIndex();
    if (selected < 0)
        return;
    const quintptr id = list->GetItemData(selected);
    const CPhoneEntry* record = GetDocument().FindContact(kind, id);
    if (!record)
        return;
    // The dialog edits a copy; the record takes it if it is still there after OK.
    CPhoneEntry edited;
    edited.Assign(*record);
    if (!EditContact(edited, CContactDlg::ModeEdit))
        return;
    CPhoneEntry* target = GetDocument().FindContact(kind, id);
    if (!target)
        return;
    target->Assign(edited);
    target->m_nState = CSyncRecord::StateChanged;
    RefreshList(kind);
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    // The row is found by its record: after a sort it is no longer where it was.
    if (SelectRecordRow(*ShownPcList(), id) >= 0)
        ShowPcEntryInfo(GetDocument().FindContact(kind, id));
}

void CForm_Contact::ShowMobileList()
{
    ShowBook(false);
}

void CForm_Contact::ShowSimList()
{
    ShowBook(true);
}

void CForm_Contact::ShowBook(bool sim)
{
    CheckSelector(sim ? IDC_SIM : IDC_MOBILE, {sim ? int(IDC_MOBILE) : int(IDC_SIM)});
    CRecordListCtrl* shown = RecordList(sim ? IDC_SIM_LIST : IDC_HANDSET_LIST);
    shown->show();
    RecordList(sim ? IDC_HANDSET_LIST : IDC_SIM_LIST)->hide();
    const CMVsyncDoc& doc = GetDocument();
    const bool read = sim ? doc.m_bSimRead : doc.m_bHandsetRead;
    for (const int id : {IDC_COPY_TO_MOBILE, IDC_COPY_TO_PC, IDC_MOBILE_SELECT_ALL})
        EnableControl(id, read);
    QGroupBox* caption = Caption(IDC_MOBILE_CAPTION);
    caption->setTitle(platform::LoadString(sim ? IDS_SIM : IDS_MOBILE));
    caption->setAccessibleName(caption->title());
    UpdateMobileInfo();
    SetAllChecks(shown, false);
    SetCheck(CheckBox(IDC_MOBILE_SELECT_ALL), false);
    shown->clearSelection();
    shown->setFocus();
    EnableControl(IDC_MOBILE_DELETE, false);
    ShowMobileEntryInfo(nullptr);
    GetFormSurface()->update();
}

void CForm_Contact::OnMobileRead()
{
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetInfoText(platform::LoadString(IDS_READING));
    const bool sim = MobileKind() == CMVsyncDoc::ListSim;
    const bool read = sim ? doc.ReadSimBook() : doc.ReadHandsetBook();
    if (!read) {
        InfoBox(IDS_READ_FAILED);
        SetInfoText(QString());
    }
    // Links are dropped only against a book really read: a failed read leaves an empty list
    // that says nothing about the phone.
    if (read)
        doc.DropStaleContactLinks(sim ? CMVsyncDoc::ListSim : CMVsyncDoc::ListHandset);
    if (sim)
        ShowSimList();
    else
        ShowMobileList();
    RefreshList(sim ? CMVsyncDoc::ListSim : CMVsyncDoc::ListHandset);
    RefreshList(CMVsyncDoc::ListOutlook);
    RefreshList(CMVsyncDoc::ListPc);
}

void CForm_Contact::OnMobileDelete()
{
    if (!ConfirmDeletion(IDC_MOBILE_SELECT_ALL))
        return;
    SetInfoText(platform::LoadString(IDS_DELETING));
    const int book = MobileKind();
    const std::vector<quintptr> checked = CheckedIds(*ShownMobileList());
    if (checked.empty()) {
        SetInfoText(QString());
        return;
    }
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    CMVsyncDoc::PhoneBookDelete result;
    if (book == CMVsyncDoc::ListSim ? doc.SelectSimBook() : doc.SelectHandsetBook())
        result = doc.DeleteFromPhoneBook(book, checked);
    else
        SetInfoText(QString());
    if (result.unconfirmed) {
        platform::AfxMessageBox(platform::LoadString(IDS_ENTRY_DELETE_UNCONFIRMED).arg(result.index),
                                platform::MB_ICONINFORMATION);
    }
    doc.Disconnect();
    SetCheck(CheckBox(IDC_MOBILE_SELECT_ALL), false);
    AfterTransfer(book);
    EnableControl(IDC_PC_DELETE, false);
}

void CForm_Contact::OnCopyToMobile()
{
    const std::vector<quintptr> checked = CheckedIds(*ShownPcList());
    if (checked.empty())
        return;
    CMVsyncDoc& doc = GetDocument();
    const int book = MobileKind();
    const bool sim = book == CMVsyncDoc::ListSim;
    if (sim ? doc.IsSimBookFull() : doc.IsHandsetBookFull()) {
        platform::AfxMessageBox(platform::LoadString(IDS_MEMORY_FULL), platform::MB_OK);
        return;
    }
    const auto busy = doc.MarkBusy();
    if (!(sim ? doc.SelectSimBook() : doc.SelectHandsetBook())) {
        InfoBox(IDS_CONNECT_FAILED);
        doc.Disconnect();
        AfterTransfer(book);
        return;
    }
    SetInfoText(platform::LoadString(IDS_WRITING));
    const CMVsyncDoc::PhoneBookWrite result = doc.CopyToPhoneBook(book, PcKind(), checked);
    if (result.unconfirmed)
        InfoBox(IDS_ENTRY_WRITE_UNCONFIRMED);
    else if (result.refused && result.full)
        platform::AfxMessageBox(platform::LoadString(IDS_MEMORY_FULL), platform::MB_OK);
    else if (result.refused)
        InfoBox(IDS_WRITE_FAILED);
    doc.Disconnect();
    AfterTransfer(book);
}

void CForm_Contact::AfterTransfer(int book)
{
    // A book the phone left unsure is unread now: nothing goes to or from it until a read.
    const CMVsyncDoc& doc = GetDocument();
    const bool sim = book == CMVsyncDoc::ListSim;
    if (!(sim ? doc.m_bSimRead : doc.m_bHandsetRead))
        ShowBook(sim);
    RefreshList(book);
    RefreshList(CMVsyncDoc::ListOutlook);
    RefreshList(CMVsyncDoc::ListPc);
}

void CForm_Contact::OnCopyToPc()
{
    const int kind = PcKind();
    const int book = MobileKind();
    const std::vector<quintptr> checked = CheckedIds(*ShownMobileList());
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    if (kind == CMVsyncDoc::ListPc)
        doc.ShowAddingProgress();
    for (const quintptr id : checked) {
        if (const CPhoneEntry* record = doc.FindContact(book, id))
            doc.StoreContact(kind, *record);
    }
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    else
        doc.CloseProgress();
    RefreshList(kind);
}

} // namespace dh2
