#include "ui2/data_form.h"

#include "controls/form_button.h"
#include "controls/image_button.h"
#include "controls/record_list_ctrl.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui2/resource.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace dh2 {

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
    : CRecordPaneForm(kPaneIds, layout, platform::LoadString(IDS_FOOTER), parent), m_doc(doc)
{
    SetFormColor(layout.formColor);
    BuildCommonControls();
    // Rows must never outlive their records: whenever the document replaced or emptied a
    // list, every list of the page is filled again.
    connect(&m_doc, &CMVsyncDoc::changed, this, [this] {
        if (IsInitialized())
            OnUpdate();
    });
}

CDataForm::~CDataForm() = default;

void CDataForm::BuildCommonControls()
{
    using platform::LoadString;
    AddPaneCaptions(QStringLiteral("PC"), LoadString(IDS_MOBILE));
    AddFormButton(IDC_PC_NEW, QStringLiteral("New"), QStringLiteral("pcNew"), kPcPane, ButtonAt(kPcLeft, 0));
    AddFormButton(IDC_PC_EDIT, QStringLiteral("Edit"), QStringLiteral("pcEdit"), kPcPane, ButtonAt(kPcLeft, 1));
    AddFormButton(IDC_PC_DELETE, QStringLiteral("Delete"), QStringLiteral("pcDelete"), kPcPane, ButtonAt(kPcLeft, 2));
    AddFormButton(IDC_PC_READ, QStringLiteral("Read"), QStringLiteral("pcRead"), kPcPane, ButtonAt(kPcLeft, 3));
    AddFormButton(IDC_PC_WRITE, QStringLiteral("Apply"), QStringLiteral("pcWrite"), kPcPane, ButtonAt(kPcLeft, 4));
    AddFormButton(IDC_MOBILE_READ, QStringLiteral("Read"), QStringLiteral("mobileRead"), kMobilePane,
                  ButtonAt(kMobileLeft, 0));
    AddFormButton(IDC_MOBILE_DELETE, QStringLiteral("Delete"), QStringLiteral("mobileDelete"), kMobilePane,
                  ButtonAt(kMobileLeft, 1));
    PaneTexts texts;
    texts.outlookSource = QStringLiteral("Outlook");
    texts.selectAll = QStringLiteral("Select All");
    texts.total = QStringLiteral("Total :");
    texts.infoWidth = 210;
    texts.localList = LoadString(IDS_LOCAL);
    texts.outlookList = LoadString(IDS_OUTLOOK);
    AddPaneControls(texts);
    SetPaneDivider();

    ConnectPaneCommands();
    connect(FormButton(IDC_PC_WRITE), &QPushButton::clicked, this, &CDataForm::OnPcWrite);
}

std::vector<int> CDataForm::MobileButtons() const
{
    return {IDC_MOBILE_READ, IDC_MOBILE_DELETE};
}

void CDataForm::OnRecordListAdded(CRecordListCtrl* list)
{
    // Deskhand2's lists: check boxes, numbered rows with kind images grouped by the number
    // column.
    list->SetKindImages({6, 4, 5});
    CRecordPaneForm::OnRecordListAdded(list);
    connect(list, &CRecordListCtrl::checkChanged, this, [this, list] { OnCheckChanged(list); });
}

void CDataForm::OnInitialUpdate()
{
    ArrangePanes();

    for (const int id : {IDC_PC_NEW, IDC_PC_EDIT, IDC_PC_DELETE, IDC_PC_READ, IDC_PC_WRITE, IDC_MOBILE_READ,
                         IDC_MOBILE_DELETE})
        FormButton(id)->SetStateColor(CImageButton::BTNST_COLOR_BK_IN, kButtonColor);
    StyleSelectors(SelectorIds());

    SetUpColumns();
    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), m_layout.mobileSelectAll, int(IDC_MOBILE_DELETE)})
        EnableControl(id, false);

    const QString strip = QStringLiteral(":/images/detail_list.bmp");
    DetailList(IDC_PC_DETAIL)->SetUp(strip, kPcDetailColor);
    DetailList(IDC_MOBILE_DETAIL)->SetUp(strip, kMobileDetailColor);
    ShowPcEntryInfo(nullptr);
    ShowMobileEntryInfo(nullptr);

    ShowLocalList();
    OnUpdate();
    ShowMobileSource();
}

std::vector<int> CDataForm::SelectorIds() const
{
    return {m_layout.localSelector, IDC_OUTLOOK};
}

std::vector<quintptr> CDataForm::CheckedIds(const CRecordListCtrl& list)
{
    std::vector<quintptr> checked;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetCheck(row))
            checked.push_back(list.GetItemData(row));
    }
    return checked;
}

bool CDataForm::AnyChecked(const CRecordListCtrl& list)
{
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetCheck(row))
            return true;
    }
    return false;
}

void CDataForm::SetAllChecks(CRecordListCtrl* list, bool checked)
{
    if (!list)
        return;
    // The list tells the change once, and the pane follows.
    list->SetCheckAll(checked);
}

void CDataForm::OnCheckChanged(CRecordListCtrl* list)
{
    const bool pc = IsPcList(list);
    // The pane's other list is hidden: its rows say nothing about the box and Delete shown.
    if (list != (pc ? ShownPcList() : ShownMobileList()))
        return;
    int checked = 0;
    for (int row = 0; row < list->GetItemCount(); ++row)
        checked += list->GetCheck(row) ? 1 : 0;
    SetCheck(CheckBox(pc ? m_layout.pcSelectAll : m_layout.mobileSelectAll), AllMarked(list->GetItemCount(), checked, pc));
    EnableControl(pc ? IDC_PC_DELETE : IDC_MOBILE_DELETE, checked > 0);
    if (ListKind(list) == CMVsyncDoc::ListOutlook && PcKind() == CMVsyncDoc::ListOutlook)
        UpdatePcTotal();
}

void CDataForm::ShowOutlookList()
{
    ShowPcSource(true);
}

void CDataForm::ShowPcSource(bool outlook)
{
    CRecordListCtrl* shown = SwitchPcSource(outlook, SelectorIds(), platform::LoadString(outlook ? IDS_OUTLOOK : IDS_LOCAL));
    FormButton(IDC_PC_WRITE)->hide();
    QGroupBox* caption = Caption(IDC_PC_CAPTION);
    caption->setTitle(platform::LoadString(outlook ? IDS_OUTLOOK : IDS_LOCAL));
    caption->setAccessibleName(caption->title());
    SetAllChecks(shown, false);
    shown->clearSelection();
    shown->setFocus();
    EnableControl(IDC_PC_DELETE, false);
    // The PIM side is read the first time it is shown.
    if (outlook && !m_bOutlookRead) {
        OnPcRead();
        m_bOutlookRead = true;
    }
    UpdatePcTotal();
    EnableControl(IDC_PC_EDIT, false);
    ShowPcEntryInfo(nullptr);
    OnPcSourceShown(outlook);
    GetFormSurface()->update();
}

void CDataForm::OnPcSelectAll()
{
    SetAllChecks(ShownPcList(), CheckBox(m_layout.pcSelectAll)->isChecked());
    ShownPcList()->setFocus();
}

void CDataForm::OnMobileSelectAll()
{
    SetAllChecks(ShownMobileList(), CheckBox(m_layout.mobileSelectAll)->isChecked());
    if (ShownMobileList())
        ShownMobileList()->setFocus();
}

void CDataForm::OnClickList(CRecordListCtrl* list)
{
    if (IsPcList(list)) {
        const CSyncRecord* record = SelectedRecord(*list);
        EnableControl(IDC_PC_EDIT, record != nullptr);
        if (record)
            ShowPcEntryInfo(record);
    } else {
        ShowMobileEntryInfo(SelectedRecord(*list));
    }
}

void CDataForm::OnDblClkList(CRecordListCtrl* list)
{
    if (!IsPcList(list))
        return;
    if (list->GetSelectedIndex() >= 0)
        OnPcEdit();
    else
        OnPcNew();
}

void CDataForm::ShowPcEntryInfo(const CSyncRecord* record)
{
    DetailList(IDC_PC_DETAIL)->SetRows(DetailRows(record, true));
}

void CDataForm::ShowMobileEntryInfo(const CSyncRecord* record)
{
    DetailList(IDC_MOBILE_DETAIL)->SetRows(DetailRows(record, false));
}

void CDataForm::UpdatePcTotal()
{
    ShowPcTotal(platform::LoadString(IDS_TOTAL));
}

void CDataForm::SetInfoText(const QString& text)
{
    QLabel* info = Static(IDC_INFO);
    info->setText(text);
    info->setAccessibleName(text);
}

bool CDataForm::ConfirmDeletion(int selectAllId) const
{
    // Only a deletion of everything asks first.
    if (!CheckBox(selectAllId)->isChecked())
        return true;
    return platform::AfxMessageBox(platform::LoadString(IDS_DELETE_QUESTION), platform::MB_YESNO | platform::MB_ICONQUESTION)
           == platform::IDYES;
}

void CDataForm::InfoBox(int stringId)
{
    platform::AfxMessageBox(platform::LoadString(stringId), platform::MB_ICONINFORMATION);
}

void CDataForm::OnPcDelete()
{
    CRecordListCtrl* list = ShownPcList();
    if (!AnyChecked(*list) || !ConfirmDeletion(m_layout.pcSelectAll))
        return;
    const int kind = PcKind();
    for (const quintptr id : CheckedIds(*list)) {
        if (CSyncRecord* record = FindRecord(kind, id))
            record->m_nState = CSyncRecord::StateDeleted;
    }
    if (kind == CMVsyncDoc::ListOutlook)
        OnPcWrite();
    RefreshList(kind);
    EnableControl(IDC_PC_DELETE, false);
}

void CDataForm::ShowPimError()
{
    InfoBox(IDS_NO_OUTLOOK);
}

} // namespace dh2
