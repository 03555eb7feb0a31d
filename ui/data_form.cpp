#include "ui/data_form.h"

#include "controls/form_button.h"
#include "controls/image_button.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui/resource.h"

#include <QCheckBox>
#include <QLabel>

namespace dh1 {

using namespace ids;
using namespace panelayout;

namespace {

// The shared controls, numbered as the program's resources have them.
constexpr CSyncPaneForm::PaneIds kPaneIds{IDC_PC_NEW, IDC_PC_EDIT, IDC_PC_DELETE, IDC_PC_READ, IDC_MOBILE_READ,
                                          IDC_MOBILE_DELETE, IDC_PC_CAPTION, IDC_MOBILE_CAPTION, IDC_OUTLOOK, IDC_PC_LIST,
                                          IDC_OUTLOOK_LIST, IDC_PC_DETAIL, IDC_MOBILE_DETAIL, IDC_INFO, IDC_COPY_TO_MOBILE,
                                          IDC_COPY_TO_PC};

} // namespace

CDataForm::CDataForm(CMVsyncDoc& doc, const Layout& layout, QWidget* parent)
    : CRecordPaneForm(kPaneIds, layout, QStringLiteral("Deskhand"), parent), m_doc(doc)
{
    SetFormColor(kFormColor);
    BuildCommonControls();
    // Rows must never outlive their records: whenever the document replaced or emptied a
    // list, every list of the form is filled again.
    connect(&m_doc, &CMVsyncDoc::changed, this, [this] {
        if (IsInitialized())
            OnUpdate();
    });
}

CDataForm::~CDataForm() = default;

void CDataForm::BuildCommonControls()
{
    using platform::LoadString;
    const QString& pc = kPcPane;
    const QString& mobile = kMobilePane;

    AddPaneCaptions(LoadString(64109), LoadString(63034));
    AddFormButton(IDC_PC_NEW, LoadString(61493), QStringLiteral("pcNew"), pc, ButtonAt(kPcLeft, 0));
    AddFormButton(IDC_PC_EDIT, LoadString(61494), QStringLiteral("pcEdit"), pc, ButtonAt(kPcLeft, 1));
    AddFormButton(IDC_PC_DELETE, LoadString(64105), QStringLiteral("pcDelete"), pc, ButtonAt(kPcLeft, 2));
    AddFormButton(IDC_PC_READ, LoadString(64106), QStringLiteral("pcRead"), pc, ButtonAt(kPcLeft, 3));
    AddFormButton(IDC_MOBILE_READ, LoadString(64106), QStringLiteral("mobileRead"), mobile, ButtonAt(kMobileLeft, 0));
    AddFormButton(IDC_MOBILE_NEW, LoadString(61493), QStringLiteral("mobileNew"), mobile, ButtonAt(kMobileLeft, 1));
    AddFormButton(IDC_MOBILE_EDIT, LoadString(61494), QStringLiteral("mobileEdit"), mobile, ButtonAt(kMobileLeft, 2));
    AddFormButton(IDC_MOBILE_DELETE, LoadString(64105), QStringLiteral("mobileDelete"), mobile, ButtonAt(kMobileLeft, 3));
    PaneTexts texts;
    texts.outlookSource = LoadString(64104);
    texts.selectAll = LoadString(64107);
    texts.total = LoadString(64108);
    texts.info = QStringLiteral("info");
    texts.localList = LoadString(64100);
    texts.outlookList = LoadString(64101);
    AddPaneControls(texts);
    SetPaneDivider();

    ConnectPaneCommands();
    connect(FormButton(IDC_MOBILE_NEW), &QPushButton::clicked, this, &CDataForm::OnMobileNew);
    connect(FormButton(IDC_MOBILE_EDIT), &QPushButton::clicked, this, &CDataForm::OnMobileEdit);
}

std::vector<int> CDataForm::MobileButtons() const
{
    return {IDC_MOBILE_READ, IDC_MOBILE_NEW, IDC_MOBILE_EDIT, IDC_MOBILE_DELETE};
}

void CDataForm::OnRecordListAdded(CRecordListCtrl* list)
{
    CRecordPaneForm::OnRecordListAdded(list);
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] { OnItemChanged(list); });
}

void CDataForm::OnInitialUpdate()
{
    ArrangePanes();

    // Colours: the selectors are white first; then the command buttons get their grey face
    // and each selector loses its border and shows checked in white on the shadow colour.
    for (const int id : {IDC_PC_NEW, IDC_PC_EDIT, IDC_PC_DELETE, IDC_PC_READ, IDC_MOBILE_READ, IDC_MOBILE_NEW,
                         IDC_MOBILE_EDIT, IDC_MOBILE_DELETE})
        FormButton(id)->SetStateColor(CImageButton::BTNST_COLOR_BK_IN, kButtonColor);
    StyleSelectors(SelectorIds());

    SetUpColumns();

    ShowLocalList();
    ShowMobileSource();

    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), m_layout.mobileSelectAll, int(IDC_PC_EDIT),
                         int(IDC_PC_DELETE), int(IDC_MOBILE_NEW), int(IDC_MOBILE_EDIT), int(IDC_MOBILE_DELETE)})
        EnableControl(id, false);

    const QString strip = QStringLiteral(":/images/detail_list.bmp");
    DetailList(IDC_PC_DETAIL)->SetUp(strip, kPcDetailColor);
    DetailList(IDC_MOBILE_DETAIL)->SetUp(strip, kMobileDetailColor);
    DetailList(IDC_PC_DETAIL)->SetRows(DetailRows(nullptr));
    DetailList(IDC_MOBILE_DETAIL)->SetRows(DetailRows(nullptr));

    OnUpdate();
}

std::vector<int> CDataForm::SelectorIds() const
{
    return PcSelectorIds();
}

std::vector<int> CDataForm::PcSelectorIds() const
{
    return {m_layout.localSelector, IDC_OUTLOOK};
}

std::vector<quintptr> CDataForm::SelectedIds(const CRecordListCtrl& list) const
{
    std::vector<quintptr> selected;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.IsSelected(row))
            selected.push_back(list.GetItemData(row));
    }
    return selected;
}

void CDataForm::ApplySelectAll(CRecordListCtrl* list, QCheckBox* box, bool checked)
{
    SetCheck(box, checked);
    if (checked)
        list->selectAll();
    else
        list->clearSelection();
    list->setFocus();
}

void CDataForm::ShowOutlookList()
{
    // The PIM list is read the first time it is shown.
    if (!m_bOutlookRead) {
        OnPcRead();
        m_bOutlookRead = true;
    }
    ShowPcSource(true);
}

void CDataForm::ShowPcSource(bool outlook)
{
    CRecordListCtrl* shown = SwitchPcSource(outlook, PcSelectorIds(), platform::LoadString(outlook ? 64101 : 64100));
    ApplySelectAll(shown, CheckBox(m_layout.pcSelectAll), false);
    DetailList(IDC_PC_DETAIL)->SetRows(DetailRows(nullptr));
    RefreshSelectionState();
    OnPcSourceShown(outlook);
    GetFormSurface()->update();
}

void CDataForm::OnPcSelectAll()
{
    ApplySelectAll(ShownPcList(), CheckBox(m_layout.pcSelectAll), CheckBox(m_layout.pcSelectAll)->isChecked());
}

void CDataForm::OnMobileSelectAll()
{
    ApplySelectAll(ShownMobileList(), CheckBox(m_layout.mobileSelectAll),
                   CheckBox(m_layout.mobileSelectAll)->isChecked());
}

void CDataForm::OnClickList(CRecordListCtrl* list)
{
    const bool pc = IsPcList(list);
    const CSyncRecord* record = SelectedRecord(*list);
    if (pc)
        ShowPcEntryInfo(record);
    else
        ShowMobileEntryInfo(record);
    EnableControl(pc ? IDC_PC_EDIT : IDC_MOBILE_EDIT, list->GetSelectedIndex() >= 0);
}

void CDataForm::OnDblClkList(CRecordListCtrl* list)
{
    const bool pc = IsPcList(list);
    if (list->GetSelectedIndex() < 0) {
        if (pc)
            OnPcNew();
        else
            OnMobileNew();
    } else if (pc) {
        OnPcEdit();
    } else {
        OnMobileEdit();
    }
}

void CDataForm::OnItemChanged(CRecordListCtrl* list)
{
    const bool pc = IsPcList(list);
    const int selected = list->GetSelectedCount();
    SetCheck(CheckBox(pc ? m_layout.pcSelectAll : m_layout.mobileSelectAll), AllMarked(list->GetItemCount(), selected, pc));
    EnableControl(pc ? IDC_PC_DELETE : IDC_MOBILE_DELETE, selected > 0);
    if (pc)
        UpdatePcTotal();
}

void CDataForm::RefreshSelectionState()
{
    for (CRecordListCtrl* list : {ShownPcList(), ShownMobileList()}) {
        if (!list)
            continue;
        OnClickList(list);
        OnItemChanged(list);
    }
}

void CDataForm::AfterRefresh(bool pcPane)
{
    CRecordListCtrl* list = pcPane ? ShownPcList() : ShownMobileList();
    SetCheck(CheckBox(pcPane ? m_layout.pcSelectAll : m_layout.mobileSelectAll), false);
    if (list)
        list->clearSelection();
    DetailList(pcPane ? IDC_PC_DETAIL : IDC_MOBILE_DETAIL)->SetRows(DetailRows(nullptr));
    RefreshSelectionState();
}

void CDataForm::ShowPcEntryInfo(const CSyncRecord* record)
{
    UpdatePcTotal();
    DetailList(IDC_PC_DETAIL)->SetRows(DetailRows(record));
}

void CDataForm::ShowMobileEntryInfo(const CSyncRecord* record)
{
    UpdateMobileTotal();
    DetailList(IDC_MOBILE_DETAIL)->SetRows(DetailRows(record));
}

void CDataForm::UpdatePcTotal()
{
    ShowPcTotal(platform::LoadString(61447));
}

void CDataForm::OnPcNew()
{
    EnableControl(IDC_PC_EDIT, false);
    const std::unique_ptr<CSyncRecord> record = NewRecord();
    const int kind = PcKind();
    if (!EditRecord(*record, ModeNew, kind))
        return;
    const CSyncRecord* stored = StoreRecord(kind, *record);
    const quintptr id = CMVsyncDoc::RecordId(stored);
    CRecordListCtrl* list = ShownPcList();
    QStringList cells;
    RowTexts(kind, *stored, cells);
    list->SetItemData(list->AddRow(cells, -1), id);
    OnItemChanged(list);
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    ScrollToRecord(*ShownPcList(), id);
    DetailList(IDC_PC_DETAIL)->SetRows(DetailRows(nullptr));
    AfterPcNew(kind, id);
}

void CDataForm::OnPcEdit()
{
    const int kind = PcKind();
    quintptr id = 0;
    std::unique_ptr<CSyncRecord> edited;
    if (!EditSelectedCopy(kind, IDC_PC_EDIT, id, edited))
        return;
    // The record takes the edit if it is still there.
    CSyncRecord* target = FindRecord(kind, id);
    if (!target)
        return;
    target->Assign(*edited);
    target->m_nState = CSyncRecord::StateChanged;
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    RefreshList(kind);
}

bool CDataForm::EditSelectedCopy(int kind, int editButton, quintptr& id, std::unique_ptr<CSyncRecord>& edited)
{
    const bool pc = kind == CMVsyncDoc::ListPc || kind == CMVsyncDoc::ListOutlook;
    const CRecordListCtrl& list = *(pc ? ShownPcList() : ShownMobileList());
    id = list.GetItemData(list.GetSelectedIndex());
    const CSyncRecord* record = FindRecord(kind, id);
    bool ok = false;
    if (record) {
        edited = NewRecord();
        edited->Assign(*record);
        ok = EditRecord(*edited, ModeEdit, kind);
    }
    EnableControl(editButton, false);
    return ok;
}

void CDataForm::OnMobileNew()
{
    EnableControl(IDC_MOBILE_EDIT, false);
    if (!CanWriteNew())
        return;
    // The dialog's record is a temporary; the document keeps its own copy.
    const std::unique_ptr<CSyncRecord> record = NewRecord();
    const int kind = MobileKind();
    if (!EditRecord(*record, ModeNew, kind))
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    if (!ConnectOrSay())
        return;
    if (WriteToPhone(*record) == -1)
        ShowWriteError(IsPhoneFull());
    doc.Disconnect();
    RefreshList(kind);
}

void CDataForm::OnMobileEdit()
{
    const int kind = MobileKind();
    quintptr id = 0;
    std::unique_ptr<CSyncRecord> edited;
    if (!EditSelectedCopy(kind, IDC_MOBILE_EDIT, id, edited))
        return;
    // The phone list's record takes the edit only once the phone took it.
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    if (!ConnectOrSay())
        return;
    CSyncRecord* target = FindRecord(kind, id);
    if (!target || UpdateOnPhone(*target, *edited) == -1)
        ShowWriteError(IsPhoneFull());
    doc.Disconnect();
    RefreshList(kind);
}

bool CDataForm::ConnectOrSay(bool clearInfo)
{
    if (ConnectPhone())
        return true;
    ShowError(62003);
    if (clearInfo)
        Static(IDC_INFO)->clear();
    return false;
}

void CDataForm::OnPcDelete()
{
    if (!ConfirmDeletion())
        return;
    const int kind = PcKind();
    for (const quintptr id : SelectedIds(*ShownPcList())) {
        if (CSyncRecord* record = FindRecord(kind, id))
            record->m_nState = CSyncRecord::StateDeleted;
    }
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    RefreshList(kind);
}

void CDataForm::ShowPimError()
{
    ShowError(61502);
}

void CDataForm::OnCopyToPc()
{
    CRecordListCtrl* source = ShownMobileList();
    if (!source)
        return;
    const int kind = PcKind();
    const int sourceKind = ListKind(source);
    for (const quintptr id : SelectedIds(*source)) {
        if (const CSyncRecord* record = FindRecord(sourceKind, id))
            StoreRecord(kind, *record);
    }
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    RefreshList(kind);
}

void CDataForm::SetTransferProgressRange(int selectedRows)
{
    CMVsyncDoc::SetProgressRange(selectedRows + 10);
}

void CDataForm::SetReadProgressRange()
{
    CMVsyncDoc::SetProgressRange(30);
}

bool CDataForm::ConfirmDeletion()
{
    return platform::AfxMessageBox(platform::LoadString(61497), platform::MB_YESNO | platform::MB_ICONQUESTION)
           == platform::IDYES;
}

void CDataForm::ShowWriteError(bool listFull)
{
    if (listFull)
        CMVsyncDoc::SetListFullError();
    ShowPhoneError(62002);
}

} // namespace dh1
