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

const QString kPcPane = QStringLiteral("PC pane");
const QString kMobilePane = QStringLiteral("Mobile pane");

} // namespace

CDataForm::CDataForm(CMVsyncDoc& doc, const Layout& layout, QWidget* parent)
    : CDataPaneForm(kDesignSize, parent), m_layout(layout), m_doc(doc)
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
    AddPaneCaption(IDC_PC_CAPTION, QStringLiteral("PC"), QStringLiteral("pcCaption"), kPcCaption);
    AddPaneCaption(IDC_MOBILE_CAPTION, LoadString(IDS_MOBILE), QStringLiteral("mobileCaption"), kMobileCaption);

    AddFormButton(IDC_PC_NEW, QStringLiteral("New"), QStringLiteral("pcNew"), kPcPane, ButtonAt(kPcLeft, 0));
    AddFormButton(IDC_PC_EDIT, QStringLiteral("Edit"), QStringLiteral("pcEdit"), kPcPane, ButtonAt(kPcLeft, 1));
    AddFormButton(IDC_PC_DELETE, QStringLiteral("Delete"), QStringLiteral("pcDelete"), kPcPane, ButtonAt(kPcLeft, 2));
    AddFormButton(IDC_PC_READ, QStringLiteral("Read"), QStringLiteral("pcRead"), kPcPane, ButtonAt(kPcLeft, 3));
    AddFormButton(IDC_PC_WRITE, QStringLiteral("Apply"), QStringLiteral("pcWrite"), kPcPane, ButtonAt(kPcLeft, 4));
    AddFormButton(IDC_MOBILE_READ, QStringLiteral("Read"), QStringLiteral("mobileRead"), kMobilePane,
                  ButtonAt(kMobileLeft, 0));
    AddFormButton(IDC_MOBILE_DELETE, QStringLiteral("Delete"), QStringLiteral("mobileDelete"), kMobilePane,
                  ButtonAt(kMobileLeft, 1));
    AddArrowButton(IDC_COPY_TO_MOBILE, QStringLiteral(">>"), QStringLiteral("copyToMobile"), ArrowRect(0));
    AddArrowButton(IDC_COPY_TO_PC, QStringLiteral("<<"), QStringLiteral("copyToPc"), ArrowRect(1));

    AddSelector(m_layout.localSelector, m_layout.localText, QStringLiteral("localSource"), QRect(224, kSelectRow, 72, 24));
    AddSelector(IDC_OUTLOOK, QStringLiteral("Outlook"), QStringLiteral("outlookSource"), QRect(300, kSelectRow, 72, 24));

    AddCheckBox(m_layout.pcSelectAll, QStringLiteral("Select All"), QStringLiteral("pcSelectAll"), kPcPane,
                QRect(kPcLeft, kSelectRow + 2, 90, 20));
    AddCheckBox(m_layout.mobileSelectAll, QStringLiteral("Select All"), QStringLiteral("mobileSelectAll"), kMobilePane,
                QRect(kMobileLeft, kSelectRow + 2, 90, 20));
    auto* total = new QLabel(QStringLiteral("Total :"));
    NameControl(total, QStringLiteral("total"), total->text(), kPcPane);
    AddDlgItem(IDC_TOTAL, total, QRect(kPcLeft + 96, kSelectRow + 2, 110, 20));
    auto* info = new QLabel;
    NameControl(info, QStringLiteral("info"), QString(), kMobilePane);
    AddDlgItem(IDC_INFO, info, QRect(kMobileLeft + 96, kSelectRow + 2, 210, 20));

    auto* pcDetail = new CDetailListCtrl;
    NameControl(pcDetail, QStringLiteral("pcDetail"), QStringLiteral("PC details"), kPcPane);
    AddDlgItem(IDC_PC_DETAIL, pcDetail, QRect(kPcLeft, kDetailTop, kPcWidth, m_layout.detailHeight));
    auto* mobileDetail = new CDetailListCtrl;
    NameControl(mobileDetail, QStringLiteral("mobileDetail"), QStringLiteral("Mobile details"), kMobilePane);
    AddDlgItem(IDC_MOBILE_DETAIL, mobileDetail, QRect(kMobileLeft, kDetailTop, kMobileWidth, m_layout.detailHeight));
    AddShadow(IDC_PC_DETAIL, kDetailShadow);
    AddShadow(IDC_MOBILE_DETAIL, kDetailShadow);

    AddPcList(IDC_PC_LIST, CMVsyncDoc::ListPc, QStringLiteral("pcList"), LoadString(IDS_LOCAL));
    AddPcList(IDC_OUTLOOK_LIST, CMVsyncDoc::ListOutlook, QStringLiteral("outlookList"), LoadString(IDS_OUTLOOK));

    Divider divider;
    divider.captionId = IDC_PC_CAPTION;
    divider.leftLimit = m_layout.dividerLeftLimit;
    divider.rightEdges = {IDC_PC_LIST, IDC_OUTLOOK_LIST, IDC_PC_DETAIL, IDC_PC_CAPTION};
    divider.shifted = {m_layout.localSelector, IDC_OUTLOOK,       IDC_MOBILE_READ,    IDC_MOBILE_DELETE,
                       m_layout.mobileSelectAll, IDC_INFO, IDC_COPY_TO_MOBILE, IDC_COPY_TO_PC};
    divider.leftEdges = {IDC_MOBILE_DETAIL, IDC_MOBILE_CAPTION};
    SetDivider(divider);

    connect(FormButton(IDC_PC_NEW), &QPushButton::clicked, this, &CDataForm::OnPcNew);
    connect(FormButton(IDC_PC_EDIT), &QPushButton::clicked, this, &CDataForm::OnPcEdit);
    connect(FormButton(IDC_PC_DELETE), &QPushButton::clicked, this, &CDataForm::OnPcDelete);
    connect(FormButton(IDC_PC_READ), &QPushButton::clicked, this, &CDataForm::OnPcRead);
    connect(FormButton(IDC_PC_WRITE), &QPushButton::clicked, this, &CDataForm::OnPcWrite);
    connect(FormButton(IDC_MOBILE_READ), &QPushButton::clicked, this, &CDataForm::OnMobileRead);
    connect(FormButton(IDC_MOBILE_DELETE), &QPushButton::clicked, this, &CDataForm::OnMobileDelete);
    connect(ImageButton(IDC_COPY_TO_MOBILE), &QPushButton::clicked, this, &CDataForm::OnCopyToMobile);
    connect(ImageButton(IDC_COPY_TO_PC), &QPushButton::clicked, this, &CDataForm::OnCopyToPc);
    connect(ImageButton(m_layout.localSelector), &QPushButton::clicked, this, &CDataForm::ShowLocalList);
    connect(ImageButton(IDC_OUTLOOK), &QPushButton::clicked, this, &CDataForm::ShowOutlookList);
    // Every change of the boxes' state counts, as the keyboard and assistive tools make it too.
    connect(CheckBox(m_layout.pcSelectAll), &QCheckBox::toggled, this, &CDataForm::OnPcSelectAll);
    connect(CheckBox(m_layout.mobileSelectAll), &QCheckBox::toggled, this, &CDataForm::OnMobileSelectAll);
}

CRecordListCtrl* CDataForm::AddPcList(int id, int kind, const QString& name, const QString& caption)
{
    CRecordListCtrl* list = AddRecordList(id, name, ListRect(kPcLeft, kPcWidth, m_layout.detailHeight));
    list->setAccessibleName(caption);
    SetListKind(list, kind);
    AddShadow(id, kPcListShadow);
    ConnectList(list);
    return list;
}

CRecordListCtrl* CDataForm::AddMobileList(int id, int kind, const QString& name, const QString& caption)
{
    CRecordListCtrl* list = AddRecordList(id, name, ListRect(kMobileLeft, kMobileWidth, m_layout.detailHeight));
    list->setAccessibleName(caption);
    SetListKind(list, kind);
    AddShadow(id, kMobileListShadow);
    Divider divider = GetDivider();
    divider.leftEdges.push_back(id);
    SetDivider(divider);
    ConnectList(list);
    return list;
}

void CDataForm::ConnectList(CRecordListCtrl* list)
{
    // Deskhand2's lists: check boxes, numbered rows with kind images grouped by the number
    // column.
    list->SetKindImages({6, 4, 5});
    connect(list, &CRecordListCtrl::listClicked, this, [this, list] { OnClickList(list); });
    connect(list, &CRecordListCtrl::listDoubleClicked, this, [this, list] { OnDblClkList(list); });
    connect(list, &CRecordListCtrl::checkChanged, this, [this, list] { OnCheckChanged(list); });
}

void CDataForm::OnInitialUpdate()
{
    // Anchors first: they take the controls' design places as their margins.
    AnchorControl(IDC_PC_CAPTION, ANCHOR_TOPLEFT, ANCHOR_BOTTOMCENTER);
    AnchorControl(IDC_MOBILE_CAPTION, ANCHOR_TOPCENTER, ANCHOR_BOTTOMRIGHT);
    AnchorControl(m_layout.localSelector, ANCHOR_TOPCENTER, ANCHOR_NONE);
    AnchorControl(IDC_OUTLOOK, ANCHOR_TOPCENTER, ANCHOR_NONE);
    AnchorControl(IDC_PC_DETAIL, ANCHOR_TOPLEFT, ANCHOR_TOPCENTER);
    AnchorControl(IDC_MOBILE_DETAIL, ANCHOR_TOPCENTER, ANCHOR_TOPRIGHT);
    for (const auto& [list, kind] : ListKinds()) {
        if (IsPcList(list))
            AddControl(const_cast<CRecordListCtrl*>(list), ANCHOR_TOPLEFT, ANCHOR_BOTTOMCENTER);
        else
            AddControl(const_cast<CRecordListCtrl*>(list), ANCHOR_TOPCENTER, ANCHOR_BOTTOMRIGHT);
    }
    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), int(IDC_MOBILE_READ), int(IDC_MOBILE_DELETE),
                         m_layout.mobileSelectAll, int(IDC_INFO)})
        AnchorControl(id, ANCHOR_TOPCENTER, ANCHOR_NONE);
    AnchorFormControls();
    CDataPaneForm::OnInitialUpdate();

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

int CDataForm::PcKind() const
{
    return ImageButton(IDC_OUTLOOK)->GetCheck() ? CMVsyncDoc::ListOutlook : CMVsyncDoc::ListPc;
}

CRecordListCtrl* CDataForm::ShownPcList() const
{
    return RecordList(PcKind() == CMVsyncDoc::ListOutlook ? IDC_OUTLOOK_LIST : IDC_PC_LIST);
}

CSyncRecord* CDataForm::RowRecord(const CRecordListCtrl& list, int row) const
{
    if (row < 0 || row >= list.GetItemCount())
        return nullptr;
    return FindRecord(ListKind(&list), list.GetItemData(row));
}

CSyncRecord* CDataForm::SelectedRecord(const CRecordListCtrl& list) const
{
    return RowRecord(list, list.GetSelectedIndex());
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
    bool all = true;
    bool any = false;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const bool checked = list->GetCheck(row);
        all = all && checked;
        any = any || checked;
    }
    SetCheck(CheckBox(pc ? m_layout.pcSelectAll : m_layout.mobileSelectAll), all);
    EnableControl(pc ? IDC_PC_DELETE : IDC_MOBILE_DELETE, any);
    if (ListKind(list) == CMVsyncDoc::ListOutlook && PcKind() == CMVsyncDoc::ListOutlook)
        UpdatePcTotal();
}

void CDataForm::ShowLocalList()
{
    ShowPcSource(false);
}

void CDataForm::ShowOutlookList()
{
    ShowPcSource(true);
}

void CDataForm::ShowPcSource(bool outlook)
{
    CheckSelector(outlook ? IDC_OUTLOOK : m_layout.localSelector, SelectorIds());
    CRecordListCtrl* shown = RecordList(outlook ? IDC_OUTLOOK_LIST : IDC_PC_LIST);
    shown->show();
    RecordList(outlook ? IDC_PC_LIST : IDC_OUTLOOK_LIST)->hide();
    FormButton(IDC_PC_READ)->setVisible(outlook);
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
    QLabel* total = Static(IDC_TOTAL);
    total->setText(platform::LoadString(IDS_TOTAL).replace(QStringLiteral("%d"), QString::number(ShownPcList()->GetItemCount())));
    total->setAccessibleName(total->text());
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

void CDataForm::OnPcRead()
{
    if (!ImportPim())
        InfoBox(IDS_NO_OUTLOOK);
    RefreshList(CMVsyncDoc::ListOutlook);
}

void CDataForm::OnPcWrite()
{
    if (!ExportPim())
        InfoBox(IDS_NO_OUTLOOK);
    RefreshList(CMVsyncDoc::ListOutlook);
}

void CDataForm::OnFilePrint()
{
    // The local list is printed whichever PC source is shown.
    PrintList(RecordList(IDC_PC_LIST), m_layout.printTitle, platform::LoadString(IDS_FOOTER));
}

} // namespace dh2
