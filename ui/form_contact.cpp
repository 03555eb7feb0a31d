// The phonebook form: its controls, lists, detail rows and PC-side commands.
#include "ui/form_contact.h"

#include "controls/image_button.h"
#include "platform/string_table.h"
#include "ui/contact_dlg.h"
#include "ui/resource.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace dh1 {

using namespace ids;

namespace {

CDataForm::Layout contactLayout()
{
    CDataForm::Layout layout;
    layout.localSelector = IDC_PHONEBOOK;
    layout.localText = platform::LoadString(63036);
    layout.pcSelectAll = IDC_CONTACT_PC_SELECT_ALL;
    layout.mobileSelectAll = IDC_CONTACT_MOBILE_SELECT_ALL;
    layout.total = IDC_CONTACT_TOTAL;
    layout.dividerLeftLimit = 400;
    layout.printTitle = QStringLiteral("Phonebook\r\n\r\n"); // a blank line under the title
    return layout;
}


// The text up to the first carriage return.
QString firstLine(const QString& text)
{
    const qsizetype cr = text.indexOf(u'\r');
    return cr < 0 ? text : text.left(cr);
}

// Link images: 1 handset, 2 SIM, none otherwise.
int pcImage(const CPhoneEntry& entry)
{
    if (entry.m_nIndex != -1)
        return 1;
    return entry.m_nSimIndex != -1 ? 2 : -1;
}

} // namespace

CForm_Contact::CForm_Contact(CMVsyncDoc& doc, QWidget* parent) : CDataForm(doc, contactLayout(), parent)
{
    setObjectName(QStringLiteral("CForm_Contact"));
    AddMobileList(IDC_HANDSET_LIST, CMVsyncDoc::ListHandset, QStringLiteral("handsetList"), platform::LoadString(63034));
    AddMobileList(IDC_SIM_LIST, CMVsyncDoc::ListSim, QStringLiteral("simList"), platform::LoadString(64103));
    AddSelector(IDC_MOBILE, platform::LoadString(63034), QStringLiteral("mobileSource"), QRect(624, 62, 66, 24));
    AddSelector(IDC_SIM, platform::LoadString(64103), QStringLiteral("simSource"), QRect(694, 62, 66, 24));

    connect(ImageButton(IDC_MOBILE), &QPushButton::clicked, this, &CForm_Contact::ShowMobileList);
    connect(ImageButton(IDC_SIM), &QPushButton::clicked, this, &CForm_Contact::ShowSimList);
}

CForm_Contact::~CForm_Contact() = default;

void CForm_Contact::AnchorFormControls()
{
    AnchorControl(IDC_MOBILE, ANCHOR_TOPRIGHT, ANCHOR_NONE);
    AnchorControl(IDC_SIM, ANCHOR_TOPRIGHT, ANCHOR_NONE);
}

void CForm_Contact::SetUpColumns()
{
    QString contacts;
    QString sim;
    GetDocument().GetColumnFormat(contacts, CMVsyncDoc::ColumnsContacts);
    GetDocument().GetColumnFormat(sim, CMVsyncDoc::ColumnsSimContacts);
    for (const int id : {int(IDC_PC_LIST), int(IDC_OUTLOOK_LIST), int(IDC_HANDSET_LIST)})
        RecordList(id)->SetColumns(contacts, false);
    RecordList(IDC_SIM_LIST)->SetColumns(sim, false);
}

void CForm_Contact::ShowMobileSource()
{
    ShowMobileList();
}

std::vector<int> CForm_Contact::SelectorIds() const
{
    std::vector<int> selectors = CDataForm::SelectorIds();
    selectors.push_back(IDC_MOBILE);
    selectors.push_back(IDC_SIM);
    return selectors;
}

int CForm_Contact::MobileKind() const
{
    return ImageButton(IDC_SIM)->GetCheck() ? CMVsyncDoc::ListSim : CMVsyncDoc::ListHandset;
}

CRecordListCtrl* CForm_Contact::ShownMobileList() const
{
    return RecordList(MobileKind() == CMVsyncDoc::ListSim ? IDC_SIM_LIST : IDC_HANDSET_LIST);
}

CSyncRecord* CForm_Contact::FindRecord(int kind, quintptr id) const
{
    return GetDocument().FindContact(kind, id);
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
    CheckSelector(sim ? IDC_SIM : IDC_MOBILE, {sim ? IDC_MOBILE : IDC_SIM});
    RecordList(sim ? IDC_SIM_LIST : IDC_HANDSET_LIST)->show();
    RecordList(sim ? IDC_HANDSET_LIST : IDC_SIM_LIST)->hide();
    const bool read = sim ? GetDocument().m_bSimRead : GetDocument().m_bHandsetRead;
    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), m_layout.mobileSelectAll, int(IDC_MOBILE_NEW)})
        EnableControl(id, read);
    QGroupBox* caption = Caption(IDC_MOBILE_CAPTION);
    caption->setTitle(platform::LoadString(sim ? 64103 : 63034));
    caption->setAccessibleName(caption->title());
    ApplySelectAll(ShownMobileList(), CheckBox(m_layout.mobileSelectAll), false);
    DetailList(IDC_MOBILE_DETAIL)->SetRows(DetailRows(nullptr));
    RefreshSelectionState();
    GetFormSurface()->update();
}

void CForm_Contact::OnUpdate()
{
    for (const int kind : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook, CMVsyncDoc::ListSim, CMVsyncDoc::ListHandset})
        RefreshList(kind);
}

void CForm_Contact::RefreshList(int kind)
{
    CMVsyncDoc& doc = GetDocument();
    const auto rowText = [&doc, kind](const CPhoneEntry& entry, QStringList& cells) {
        doc.ContactToRow(kind, entry, cells);
    };
    switch (kind) {
    case CMVsyncDoc::ListPc:
    case CMVsyncDoc::ListOutlook:
        FillList(*RecordList(kind == CMVsyncDoc::ListPc ? IDC_PC_LIST : IDC_OUTLOOK_LIST), *doc.ContactList(kind),
                 rowText, pcImage);
        AfterRefresh(true);
        break;
    case CMVsyncDoc::ListHandset:
        FillList(*RecordList(IDC_HANDSET_LIST), doc.m_handsetContacts, rowText, [](const CPhoneEntry&) { return 1; });
        if (m_bHandsetRead)
            ResetHandsetLinks();
        AfterRefresh(false);
        break;
    case CMVsyncDoc::ListSim:
        FillList(*RecordList(IDC_SIM_LIST), doc.m_simContacts, rowText, [](const CPhoneEntry&) { return 2; });
        if (m_bSimRead)
            ResetSimLinks();
        AfterRefresh(false);
        break;
    default:
        break;
    }
}

void CForm_Contact::ResetHandsetLinks()
{
    GetDocument().DropStaleContactLinks(CMVsyncDoc::ListHandset);
}

void CForm_Contact::ResetSimLinks()
{
    GetDocument().DropStaleContactLinks(CMVsyncDoc::ListSim);
}

std::vector<CDetailListCtrl::Row> CForm_Contact::DetailRows(const CSyncRecord* record) const
{
    const auto* entry = static_cast<const CPhoneEntry*>(record);
    const auto label = [](int id) { return platform::LoadString(id); };
    if (entry && entry->m_nSimIndex != -1) {
        return {{0, label(63004), entry->m_strName},
                {1, label(63005), entry->m_strMobile},
                {4, label(63010), GetDocument().GroupName(entry->m_nGroup)},
                {1, label(63012), label(64102).replace(QStringLiteral("%d"), QString::number(entry->m_nSimIndex))}};
    }
    std::vector<CDetailListCtrl::Row> rows{{0, label(63004), {}}, {1, label(63006), {}}, {2, label(63007), {}},
                                           {3, label(63008), {}}, {5, label(63009), {}}, {4, label(63010), {}},
                                           {6, label(63011), {}}, {1, label(63012), {}}};
    if (!entry)
        return rows;
    rows[0].value = entry->m_strName;
    rows[1].value = entry->m_strMobile;
    rows[2].value = entry->m_strHome;
    rows[3].value = entry->m_strOffice;
    rows[4].value = entry->m_strEmail;
    rows[5].value = GetDocument().GroupName(entry->m_nGroup);
    rows[6].value = firstLine(entry->m_strMemo);
    if (entry->m_nIndex != -1)
        rows[7].value = label(63035).replace(QStringLiteral("%d"), QString::number(entry->m_nIndex));
    return rows;
}

void CForm_Contact::UpdateMobileTotal()
{
    const CMVsyncDoc::PhoneCapacities capacities = CMVsyncDoc::Capacities();
    const int capacity = MobileKind() == CMVsyncDoc::ListSim ? capacities.m_nSimCapacity : capacities.m_nHandsetCapacity;
    QLabel* info = Static(IDC_INFO);
    info->setText(QStringLiteral(" %1/%2").arg(ShownMobileList()->GetItemCount()).arg(capacity));
    info->setAccessibleName(info->text());
}

bool CForm_Contact::ImportPim()
{
    return GetDocument().ImportOutlookContacts();
}

bool CForm_Contact::ExportPim()
{
    return GetDocument().ExportOutlookContacts();
}

std::unique_ptr<CSyncRecord> CForm_Contact::NewRecord() const
{
    return std::make_unique<CPhoneEntry>();
}

bool CForm_Contact::EditRecord(CSyncRecord& record, int mode, int kind)
{
    auto& entry = static_cast<CPhoneEntry&>(record);
    if (kind == CMVsyncDoc::ListSim || entry.m_nSimIndex != -1) {
        CSimContactDlg dialog(entry, mode, GetDocument().m_groupNames, this);
        return RunModal(dialog) == QDialog::Accepted;
    }
    CContactDlg dialog(entry, mode, GetDocument().m_groupNames, this);
    return RunModal(dialog) == QDialog::Accepted;
}

CSyncRecord* CForm_Contact::StoreRecord(int kind, const CSyncRecord& record)
{
    return GetDocument().StoreContact(kind, static_cast<const CPhoneEntry&>(record));
}

void CForm_Contact::RowTexts(int kind, const CSyncRecord& record, QStringList& cells) const
{
    GetDocument().ContactToRow(kind, static_cast<const CPhoneEntry&>(record), cells);
}

} // namespace dh1
