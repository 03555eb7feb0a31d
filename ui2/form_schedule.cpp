#include "ui2/form_schedule.h"

#include "controls/image_button.h"
#include "controls/ms_flex_grid.h"
#include "controls/month_texts.h"
#include "controls/record_list_ctrl.h"
#include "platform/c_time.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui2/organizer_resource.h"
#include "ui2/resource.h"
#include "ui2/schedule_dlg.h"
#include "ui2/select_schedule_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace dh2 {

using namespace ids;
using namespace panelayout;

namespace {

// The PC pane's second row: Select All and the total at its left (the month arrows and label in
// their place with the calendar), the four view selectors at its right.
const QRect kTotalRect(kPcLeft + 92, kSelectRow + 2, 58, 20);
const QRect kPrevMonthRect(kPcLeft, kSelectRow, 32, 24);
const QRect kMonthLabelRect(kPcLeft + 36, kSelectRow + 2, 84, 20);
const QRect kNextMonthRect(kPcLeft + 124, kSelectRow, 32, 24);
// "View All", "Outlook", "Month" and "Day", each as wide as its text needs.
QRect selectorRect(int slot)
{
    static constexpr int kLeft[] = {172, 232, 286, 334};
    static constexpr int kWidth[] = {58, 52, 46, 38};
    return QRect(kLeft[slot], kSelectRow, kWidth[slot], 24);
}
// The calendar inside the local list's place: after a resize, and after a divider drag.
const QMargins kGridInset(6, 30, 6, 6);
const QMargins kGridDragInset(10, 10, 10, 10);

CDataForm::Layout scheduleLayout()
{
    CDataForm::Layout layout;
    layout.localSelector = IDC_LOCAL_SOURCE;
    layout.localText = QStringLiteral("View All");
    layout.pcSelectAll = IDC_ORGANIZER_PC_SELECT_ALL;
    layout.mobileSelectAll = IDC_ORGANIZER_MOBILE_SELECT_ALL;
    layout.total = IDC_TOTAL;
    layout.formColor = CForm_Schedule::kFormColor;
    layout.dividerLeftLimit = 400;
    // Five detail rows; the room goes to the list and to the calendar in its place.
    layout.detailHeight = 108;
    layout.printTitle = platform::LoadString(IDS_SCHEDULE) + QStringLiteral("\r\n");
    return layout;
}

QString firstLine(const QString& text)
{
    return text.left(text.indexOf(u'\r'));
}

} // namespace

CForm_Schedule::CForm_Schedule(CMVsyncDoc& doc, QWidget* parent)
    : COrganizerForm(doc, scheduleLayout(), CScheduleEntry::KindSchedule, parent), m_pDayGrid(new CMSFlexGrid)
{
    setObjectName(QStringLiteral("CForm_Schedule"));
    GetDlgItem(IDC_LOCAL_SOURCE)->setGeometry(selectorRect(0));
    GetDlgItem(IDC_OUTLOOK)->setGeometry(selectorRect(1));
    GetDlgItem(IDC_TOTAL)->setGeometry(kTotalRect);
    AddSelector(IDC_MONTH, QStringLiteral("Month"), QStringLiteral("monthSource"), selectorRect(2));
    AddSelector(IDC_DAY, QStringLiteral("Day"), QStringLiteral("daySource"), selectorRect(3));
    Divider divider = GetDivider();
    divider.shifted.push_back(IDC_MONTH);
    divider.shifted.push_back(IDC_DAY);
    SetDivider(divider);

    const QRect list = GetDlgItem(IDC_PC_LIST)->geometry();
    m_pCalendar = std::make_unique<CMonthCalendar>(
        *this,
        CMonthCalendar::Places{IDC_MONTH_GRID, list - kGridInset, IDC_MONTH_LABEL, kMonthLabelRect, IDC_PREV_MONTH,
                               kPrevMonthRect, IDC_NEXT_MONTH, kNextMonthRect},
        platform::LoadString(IDS_CALENDAR), QStringLiteral("PC pane"));
    GetFlexMan().SelectDate(CTime::GetCurrentTime(), true);
    AddDlgItem(IDC_DAY_GRID, NameControl(m_pDayGrid, QStringLiteral("dayGrid"), QStringLiteral("Day"), QStringLiteral("PC pane")),
               list);
    m_pDayGrid->hide();
    // Nothing ever fills the day grid: it shows as an empty table over its whole rectangle.
    m_pDayGrid->SetScrollBars(0);

    connect(ImageButton(IDC_MONTH), &QPushButton::clicked, this, &CForm_Schedule::ShowMonthView);
    connect(ImageButton(IDC_DAY), &QPushButton::clicked, this, &CForm_Schedule::ShowDayView);
    connect(m_pCalendar->PrevButton(), &QPushButton::clicked, this, &CForm_Schedule::OnPrevMonth);
    connect(m_pCalendar->NextButton(), &QPushButton::clicked, this, &CForm_Schedule::OnNextMonth);
    connect(GetGrid(), &CMSFlexGrid::SelChange, this, &CForm_Schedule::OnGridSelChange);
    connect(GetGrid(), &CMSFlexGrid::Click, this, &CForm_Schedule::OnClickGrid);
    connect(GetGrid(), &CMSFlexGrid::DblClick, this, &CForm_Schedule::OnDblClickGrid);
}

CForm_Schedule::~CForm_Schedule() = default;

void CForm_Schedule::OnInitialUpdate()
{
    COrganizerForm::OnInitialUpdate();
    PlaceGrids(0);
}

void CForm_Schedule::AnchorFormControls()
{
    AnchorControl(IDC_MONTH, ANCHOR_TOPCENTER, ANCHOR_NONE);
    AnchorControl(IDC_DAY, ANCHOR_TOPCENTER, ANCHOR_NONE);
}

std::vector<int> CForm_Schedule::SelectorIds() const
{
    return {IDC_LOCAL_SOURCE, IDC_OUTLOOK, IDC_MONTH, IDC_DAY};
}

bool CForm_Schedule::IsMonthShown() const
{
    return ImageButton(IDC_MONTH)->GetCheck() != 0;
}

bool CForm_Schedule::IsDayShown() const
{
    return ImageButton(IDC_DAY)->GetCheck() != 0;
}

void CForm_Schedule::SetPcCaption(const QString& text)
{
    QGroupBox* caption = Caption(IDC_PC_CAPTION);
    caption->setTitle(text);
    caption->setAccessibleName(text);
}

void CForm_Schedule::OnPcSourceShown(bool)
{
    // A read here that worked counts only while the list has not failed a read since.
    const bool read = m_bMobileRead && GetDocument().IsPhoneListRead();
    EnableControl(IDC_COPY_TO_MOBILE, read);
    EnableControl(IDC_COPY_TO_PC, read);
    Static(IDC_TOTAL)->show();
    CheckBox(IDC_ORGANIZER_PC_SELECT_ALL)->show();
    m_pCalendar->Show(false);
    m_pDayGrid->hide();
}

void CForm_Schedule::ShowMonthView()
{
    CheckSelector(IDC_MONTH, SelectorIds());
    m_pCalendar->Show(true);
    for (const int id : {int(IDC_TOTAL), int(IDC_PC_LIST), int(IDC_OUTLOOK_LIST), int(IDC_PC_READ), int(IDC_PC_WRITE),
                         int(IDC_DAY_GRID), int(IDC_ORGANIZER_PC_SELECT_ALL)})
        GetDlgItem(id)->hide();
    SetPcCaption(platform::LoadString(IDS_CALENDAR));
    // Always today's month, with today selected.
    m_pCalendar->ShowToday();
    DrawMonth();
    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), int(IDC_PC_DELETE)})
        EnableControl(id, false);
    GetGrid()->setFocus();
    GetFormSurface()->update();
}

void CForm_Schedule::ShowDayView()
{
    CheckSelector(IDC_DAY, SelectorIds());
    m_pDayGrid->show();
    for (const int id : {int(IDC_MONTH_GRID), int(IDC_PC_LIST), int(IDC_OUTLOOK_LIST), int(IDC_PC_READ), int(IDC_PC_WRITE),
                         int(IDC_ORGANIZER_PC_SELECT_ALL), int(IDC_MONTH_LABEL), int(IDC_PREV_MONTH), int(IDC_NEXT_MONTH)})
        GetDlgItem(id)->hide();
    SetPcCaption(QStringLiteral("Day"));
    // The day grid shows no entries: Delete would reach entries the user cannot see.
    EnableControl(IDC_PC_DELETE, false);
    GetFormSurface()->update();
}

void CForm_Schedule::OnCheckChanged(CRecordListCtrl* list)
{
    COrganizerForm::OnCheckChanged(list);
    if (IsMonthShown() || IsDayShown())
        EnableControl(IDC_PC_DELETE, false);
}

void CForm_Schedule::DrawMonth()
{
    m_pCalendar->Draw(CMonthCalendar::RowEntries(*RecordList(IDC_PC_LIST), GetDocument().m_arPcSchedules, &CMVsyncDoc::RecordId),
                      monthtexts::FourLaterOccurrences);
}

std::vector<quintptr> CForm_Schedule::SelectedDayEntries() const
{
    const QDate day = m_pCalendar->SelectedDay();
    const CRecordListCtrl* list = RecordList(IDC_PC_LIST);
    std::vector<quintptr> onDay;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const quintptr id = list->GetItemData(row);
        const CScheduleEntry* record = Find(CMVsyncDoc::ListPc, id);
        if (record && record->m_dtStart.date() == day)
            onDay.push_back(id);
    }
    return onDay;
}

void CForm_Schedule::OnPrevMonth()
{
    GetFlexMan().ShowPrevMonth();
    DrawMonth();
}

void CForm_Schedule::OnNextMonth()
{
    GetFlexMan().ShowNextMonth();
    DrawMonth();
}

void CForm_Schedule::OnGridSelChange()
{
    if (GetFlexMan().OnCellSelected())
        m_pCalendar->ShowLabel();
}

void CForm_Schedule::OnClickGrid()
{
    EnableControl(IDC_PC_EDIT, true);
    const std::vector<quintptr> onDay = SelectedDayEntries();
    ShowPcEntryInfo(onDay.empty() ? nullptr : Find(CMVsyncDoc::ListPc, onDay.front()));
}

void CForm_Schedule::OnDblClickGrid()
{
    // A day that shows nothing, or first a repeat mark, gets a new entry of its own.
    const QString text = GetFlexMan().GetDateText(GetFlexMan().GetSelectedDate());
    if (text.isEmpty() || text.startsWith(monthtexts::RepeatMark()))
        NewOnSelectedDay();
    else
        EditSelectedDay();
}

void CForm_Schedule::OnPcNew()
{
    if (IsMonthShown() || IsDayShown())
        NewOnSelectedDay();
    else
        COrganizerForm::OnPcNew();
}

void CForm_Schedule::OnPcEdit()
{
    if (IsMonthShown() || IsDayShown())
        EditSelectedDay();
    else
        COrganizerForm::OnPcEdit();
}

void CForm_Schedule::NewOnSelectedDay()
{
    const CTime day = GetFlexMan().GetSelectedDate();
    CScheduleEntry record = FreshRecord(COleDateTime(day.GetYear(), day.GetMonth(), day.GetDay(), 0, 0, 0));
    if (EditRecord(record, CScheduleDlg::ModeNew)) {
        Store(CMVsyncDoc::ListPc, record);
        RefreshList(CMVsyncDoc::ListPc);
    }
    DrawMonth();
}

void CForm_Schedule::EditSelectedDay()
{
    const std::vector<quintptr> onDay = SelectedDayEntries();
    quintptr id = 0;
    if (onDay.size() == 1) {
        id = onDay.front();
    } else if (onDay.size() > 1) {
        std::vector<CScheduleEntry*> candidates;
        for (const quintptr each : onDay)
            candidates.push_back(Find(CMVsyncDoc::ListPc, each));
        CSelectScheduleDlg pick(candidates, this);
        if (RunModal(pick) == QDialog::Accepted && pick.GetChosen())
            id = CMVsyncDoc::RecordId(pick.GetChosen());
    }
    if (id != 0 && EditStored(CMVsyncDoc::ListPc, id))
        RefreshList(CMVsyncDoc::ListPc);
    DrawMonth();
}

void CForm_Schedule::resizeEvent(QResizeEvent* event)
{
    COrganizerForm::resizeEvent(event);
    PlaceGrids(0);
}

void CForm_Schedule::OnPanesMoved()
{
    PlaceGrids(1);
}

void CForm_Schedule::PlaceGrids(int after)
{
    const QWidget* list = GetDlgItem(IDC_PC_LIST);
    if (!list || !IsInitialized())
        return;
    // A divider drag moves the calendar with the pane; the day grid stays where it was.
    if (after == 0) {
        m_pDayGrid->setGeometry(list->geometry());
        m_pDayGrid->CoverWithCells();
    }
    GetFlexMan().SetLayout(list->geometry() - (after == 0 ? kGridInset : kGridDragInset), true);
}

int CForm_Schedule::CopySourceList() const
{
    if (ImageButton(IDC_LOCAL_SOURCE)->GetCheck())
        return CMVsyncDoc::ListPc;
    if (ImageButton(IDC_OUTLOOK)->GetCheck())
        return CMVsyncDoc::ListOutlook;
    return 0;
}

int CForm_Schedule::CopyTargetList() const
{
    if (ImageButton(IDC_LOCAL_SOURCE)->GetCheck() || IsMonthShown())
        return CMVsyncDoc::ListPc;
    if (ImageButton(IDC_OUTLOOK)->GetCheck())
        return CMVsyncDoc::ListOutlook;
    return 0;
}

void CForm_Schedule::OnUpdate()
{
    const bool read = GetDocument().IsPhoneListRead();
    EnableControl(IDC_COPY_TO_MOBILE, read);
    EnableControl(IDC_COPY_TO_PC, read);
    COrganizerForm::OnUpdate();
}

void CForm_Schedule::AfterMobileRead(bool ok)
{
    m_bMobileRead = ok;
    if (IsMonthShown()) {
        EnableControl(IDC_COPY_TO_MOBILE, false);
        EnableControl(IDC_COPY_TO_PC, false);
    }
}

void CForm_Schedule::AfterPhoneRowsFilled(int ownRows)
{
    if (ownRows > 0) {
        for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), int(IDC_ORGANIZER_MOBILE_SELECT_ALL),
                             int(IDC_MOBILE_DELETE)})
            EnableControl(id, true);
    } else {
        EnableControl(IDC_ORGANIZER_MOBILE_SELECT_ALL, false);
        EnableControl(IDC_MOBILE_DELETE, false);
    }
}

void CForm_Schedule::AfterPcListFilled()
{
    if (IsMonthShown() || IsDayShown())
        DrawMonth();
}

void CForm_Schedule::AfterCopyToPc()
{
    if (IsMonthShown())
        DrawMonth();
}

std::vector<CDetailListCtrl::Row> CForm_Schedule::RecordDetails(const CScheduleEntry* record) const
{
    const auto label = [](int id) { return platform::LoadString(id); };
    std::vector<CDetailListCtrl::Row> rows{{6, label(IDS_SUBJECT), {}},
                                           {7, label(IDS_DATE), {}},
                                           {8, label(IDS_TIME), {}},
                                           {9, label(IDS_REPEAT), {}},
                                           {10, label(IDS_ALARM), {}}};
    if (!record)
        return rows;
    rows[0].value = firstLine(record->m_strSubject);
    rows[1].value = record->m_dtStart.Format(u"%d/%m/%Y");
    rows[2].value = record->m_dtStart.Format(u"%H:%M");
    rows[3].value = CMVsyncDoc::RepeatText(record->m_nRepeat);
    rows[4].value = CMVsyncDoc::AlarmText(record->m_nAlarm);
    return rows;
}

bool CForm_Schedule::EditRecord(CScheduleEntry& record, int mode)
{
    CScheduleDlg dialog(record, mode, this);
    return RunModal(dialog) == QDialog::Accepted;
}

} // namespace dh2
