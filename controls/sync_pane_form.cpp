#include "controls/sync_pane_form.h"

#include "controls/detail_list_ctrl.h"
#include "controls/image_button.h"
#include "controls/form_button.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

using namespace panelayout;

namespace {

constexpr int kLocalKind = 1;
constexpr int kOutlookKind = 2;

} // namespace

CSyncPaneForm::CSyncPaneForm(const PaneIds& ids, const Layout& layout, const QString& printFooter, QWidget* parent)
    : CDataPaneForm(kDesignSize, parent), m_ids(ids), m_layout(layout), m_printFooter(printFooter)
{
}

CSyncPaneForm::~CSyncPaneForm() = default;

void CSyncPaneForm::AddPaneCaptions(const QString& pc, const QString& mobile)
{
    AddPaneCaption(m_ids.pcCaption, pc, QStringLiteral("pcCaption"), kPcCaption);
    AddPaneCaption(m_ids.mobileCaption, mobile, QStringLiteral("mobileCaption"), kMobileCaption);
}

void CSyncPaneForm::AddPaneControls(const PaneTexts& texts)
{
    AddArrowButton(m_ids.copyToMobile, QStringLiteral(">>"), QStringLiteral("copyToMobile"), ArrowRect(0));
    AddArrowButton(m_ids.copyToPc, QStringLiteral("<<"), QStringLiteral("copyToPc"), ArrowRect(1));

    AddSelector(m_layout.localSelector, m_layout.localText, QStringLiteral("localSource"), QRect(224, kSelectRow, 72, 24));
    AddSelector(m_ids.outlookSelector, texts.outlookSource, QStringLiteral("outlookSource"), QRect(300, kSelectRow, 72, 24));

    AddCheckBox(m_layout.pcSelectAll, texts.selectAll, QStringLiteral("pcSelectAll"), kPcPane,
                QRect(kPcLeft, kSelectRow + 2, 90, 20));
    AddCheckBox(m_layout.mobileSelectAll, texts.selectAll, QStringLiteral("mobileSelectAll"), kMobilePane,
                QRect(kMobileLeft, kSelectRow + 2, 90, 20));
    auto* total = new QLabel(texts.total);
    NameControl(total, QStringLiteral("total"), texts.total, kPcPane);
    AddDlgItem(m_layout.total, total, QRect(kPcLeft + 96, kSelectRow + 2, 110, 20));
    auto* info = new QLabel(texts.info);
    NameControl(info, QStringLiteral("info"), texts.info, kMobilePane);
    AddDlgItem(m_ids.info, info, QRect(kMobileLeft + 96, kSelectRow + 2, texts.infoWidth, 20));

    auto* pcDetail = new CDetailListCtrl;
    NameControl(pcDetail, QStringLiteral("pcDetail"), QStringLiteral("PC details"), kPcPane);
    AddDlgItem(m_ids.pcDetail, pcDetail, QRect(kPcLeft, kDetailTop, kPcWidth, m_layout.detailHeight));
    auto* mobileDetail = new CDetailListCtrl;
    NameControl(mobileDetail, QStringLiteral("mobileDetail"), QStringLiteral("Mobile details"), kMobilePane);
    AddDlgItem(m_ids.mobileDetail, mobileDetail, QRect(kMobileLeft, kDetailTop, kMobileWidth, m_layout.detailHeight));
    AddShadow(m_ids.pcDetail, kDetailShadow);
    AddShadow(m_ids.mobileDetail, kDetailShadow);

    for (const auto& [id, kind, name, caption] : {std::tuple{m_ids.pcList, kLocalKind, QStringLiteral("pcList"), texts.localList},
                                                  std::tuple{m_ids.outlookList, kOutlookKind, QStringLiteral("outlookList"), texts.outlookList}}) {
        CRecordListCtrl* list = AddRecordList(id, name, ListRect(kPcLeft, kPcWidth, m_layout.detailHeight));
        list->setAccessibleName(caption);
        SetListKind(list, kind);
        AddShadow(id, kPcListShadow);
    }
}

CRecordListCtrl* CSyncPaneForm::AddMobileList(int id, int kind, const QString& name, const QString& caption)
{
    CRecordListCtrl* list = AddRecordList(id, name, ListRect(kMobileLeft, kMobileWidth, m_layout.detailHeight));
    list->setAccessibleName(caption);
    SetListKind(list, kind);
    AddShadow(id, kMobileListShadow);
    Divider divider = GetDivider();
    divider.leftEdges.push_back(id);
    SetDivider(divider);
    return list;
}

void CSyncPaneForm::ConnectPaneCommands()
{
    connect(FormButton(m_ids.pcNew), &QPushButton::clicked, this, &CSyncPaneForm::OnPcNew);
    connect(FormButton(m_ids.pcEdit), &QPushButton::clicked, this, &CSyncPaneForm::OnPcEdit);
    connect(FormButton(m_ids.pcDelete), &QPushButton::clicked, this, &CSyncPaneForm::OnPcDelete);
    connect(FormButton(m_ids.pcRead), &QPushButton::clicked, this, &CSyncPaneForm::OnPcRead);
    connect(FormButton(m_ids.mobileRead), &QPushButton::clicked, this, &CSyncPaneForm::OnMobileRead);
    connect(FormButton(m_ids.mobileDelete), &QPushButton::clicked, this, &CSyncPaneForm::OnMobileDelete);
    connect(ImageButton(m_ids.copyToMobile), &QPushButton::clicked, this, &CSyncPaneForm::OnCopyToMobile);
    connect(ImageButton(m_ids.copyToPc), &QPushButton::clicked, this, &CSyncPaneForm::OnCopyToPc);
    connect(ImageButton(m_layout.localSelector), &QPushButton::clicked, this, &CSyncPaneForm::ShowLocalList);
    connect(ImageButton(m_ids.outlookSelector), &QPushButton::clicked, this, &CSyncPaneForm::ShowOutlookList);
    // Every change of the boxes' state counts, as the keyboard and assistive tools make it too.
    connect(CheckBox(m_layout.pcSelectAll), &QCheckBox::toggled, this, &CSyncPaneForm::OnPcSelectAll);
    connect(CheckBox(m_layout.mobileSelectAll), &QCheckBox::toggled, this, &CSyncPaneForm::OnMobileSelectAll);
}

void CSyncPaneForm::SetPaneDivider()
{
    const std::vector<int> mobileButtons = MobileButtons();
    Divider divider;
    divider.captionId = m_ids.pcCaption;
    divider.leftLimit = m_layout.dividerLeftLimit;
    divider.rightEdges = {m_ids.pcList, m_ids.outlookList, m_ids.pcDetail, m_ids.pcCaption};
    divider.shifted = {m_layout.localSelector, m_ids.outlookSelector};
    divider.shifted.insert(divider.shifted.end(), mobileButtons.begin(), mobileButtons.end());
    divider.shifted.insert(divider.shifted.end(), {m_layout.mobileSelectAll, m_ids.info, m_ids.copyToMobile, m_ids.copyToPc});
    divider.leftEdges = {m_ids.mobileDetail, m_ids.mobileCaption};
    SetDivider(divider);
}

void CSyncPaneForm::OnRecordListAdded(CRecordListCtrl* list)
{
    connect(list, &CRecordListCtrl::listClicked, this, [this, list] { OnClickList(list); });
    connect(list, &CRecordListCtrl::listDoubleClicked, this, [this, list] { OnDblClkList(list); });
}

void CSyncPaneForm::ArrangePanes()
{
    // Anchors first: they take the controls' design places as their margins.
    const std::vector<int> mobileButtons = MobileButtons();
    AnchorControl(m_ids.pcCaption, ANCHOR_TOPLEFT, ANCHOR_BOTTOMCENTER);
    AnchorControl(m_ids.mobileCaption, ANCHOR_TOPCENTER, ANCHOR_BOTTOMRIGHT);
    AnchorControl(m_layout.localSelector, ANCHOR_TOPCENTER, ANCHOR_NONE);
    AnchorControl(m_ids.outlookSelector, ANCHOR_TOPCENTER, ANCHOR_NONE);
    AnchorControl(m_ids.pcDetail, ANCHOR_TOPLEFT, ANCHOR_TOPCENTER);
    AnchorControl(m_ids.mobileDetail, ANCHOR_TOPCENTER, ANCHOR_TOPRIGHT);
    for (const auto& [list, kind] : ListKinds()) {
        if (IsPcList(list))
            AddControl(const_cast<CRecordListCtrl*>(list), ANCHOR_TOPLEFT, ANCHOR_BOTTOMCENTER);
        else
            AddControl(const_cast<CRecordListCtrl*>(list), ANCHOR_TOPCENTER, ANCHOR_BOTTOMRIGHT);
    }
    std::vector<int> centred = {m_ids.copyToMobile, m_ids.copyToPc};
    centred.insert(centred.end(), mobileButtons.begin(), mobileButtons.end());
    centred.insert(centred.end(), {m_layout.mobileSelectAll, m_ids.info});
    for (const int id : centred)
        AnchorControl(id, ANCHOR_TOPCENTER, ANCHOR_NONE);
    AnchorFormControls();
    CPaneFormView::OnInitialUpdate();
}

int CSyncPaneForm::PcKind() const
{
    return ImageButton(m_ids.outlookSelector)->GetCheck() ? kOutlookKind : kLocalKind;
}

CRecordListCtrl* CSyncPaneForm::ShownPcList() const
{
    return RecordList(PcKind() == kOutlookKind ? m_ids.outlookList : m_ids.pcList);
}

CRecordListCtrl* CSyncPaneForm::SwitchPcSource(bool outlook, const std::vector<int>& selectors, const QString& caption)
{
    CheckSelector(outlook ? m_ids.outlookSelector : m_layout.localSelector, selectors);
    CRecordListCtrl* shown = RecordList(outlook ? m_ids.outlookList : m_ids.pcList);
    shown->show();
    RecordList(outlook ? m_ids.pcList : m_ids.outlookList)->hide();
    FormButton(m_ids.pcRead)->setVisible(outlook);
    QGroupBox* pane = Caption(m_ids.pcCaption);
    pane->setTitle(caption);
    pane->setAccessibleName(caption);
    return shown;
}

void CSyncPaneForm::ShowPcTotal(const QString& format)
{
    QLabel* total = Static(m_layout.total);
    total->setText(QString(format).replace(QStringLiteral("%d"), QString::number(ShownPcList()->GetItemCount())));
    total->setAccessibleName(total->text());
}

void CSyncPaneForm::OnFilePrint()
{
    PrintList(RecordList(m_ids.pcList), m_layout.printTitle, m_printFooter);
}

void CSyncPaneForm::OnPcRead()
{
    if (!ImportPim())
        ShowPimError();
    RefreshList(kOutlookKind);
}

void CSyncPaneForm::OnPcWrite()
{
    if (!ExportPim())
        ShowPimError();
    RefreshList(kOutlookKind);
}

void CSyncPaneForm::ShowLocalList()
{
    ShowPcSource(false);
}
