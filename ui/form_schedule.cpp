#include "ui/form_schedule.h"

#include "controls/image_button.h"
#include "controls/ms_flex_grid.h"
#include "platform/c_time.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui/resource.h"
#include "ui/schedule_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace dh1 {

using namespace ids;

namespace {

// The PC pane's second row: the three source selectors at its right end, and in their place
// with the calendar the month arrows and label at its left.
constexpr int kSelectRow = 62;
const QRect kViewAllRect(176, kSelectRow, 64, 24);
const QRect kOutlookRect(242, kSelectRow, 64, 24);
const QRect kMonthRect(308, kSelectRow, 64, 24);
const QRect kTotalRect(116, kSelectRow + 2, 58, 20);
const QRect kPrevMonthRect(20, kSelectRow, 32, 24);
const QRect kMonthLabelRect(56, kSelectRow + 2, 100, 20);
const QRect kNextMonthRect(160, kSelectRow, 32, 24);
constexpr int kGridInset = 10;

CDataForm::Layout scheduleLayout()
{
    CDataForm::Layout layout;
    layout.localSelector = IDC_LOCAL_SOURCE;
    layout.localText = platform::LoadString(64110);
    layout.pcSelectAll = IDC_ORGANIZER_PC_SELECT_ALL;
    layout.mobileSelectAll = IDC_ORGANIZER_MOBILE_SELECT_ALL;
    layout.total = IDC_SCHEDULE_TOTAL;
    layout.dividerLeftLimit = 450;
    // Five detail rows; the room goes to the list and to the calendar in its place.
    layout.detailHeight = 108;
    layout.printTitle = QStringLiteral("Schedules\r\n\r\n"); // a blank line under the title
    return layout;
}

PhoneListOps<CScheduleEntry> scheduleOps()
{
    return {CMVsyncDoc::ColumnsSchedules,
            static_cast<RecordList<CScheduleEntry>* (CMVsyncDoc::*)(int)>(&CMVsyncDoc::ScheduleList),
            &CMVsyncDoc::FindSchedule,
            &CMVsyncDoc::StoreSchedule,
            &CMVsyncDoc::ScheduleToRow,
            &CMVsyncDoc::ImportOutlookSchedules,
            &CMVsyncDoc::ExportOutlookSchedules,
            &CMVsyncDoc::ReadPhoneSchedules,
            &CMVsyncDoc::ConnectForSchedules,
            &CMVsyncDoc::WritePhoneSchedule,
            &CMVsyncDoc::CopyToPhoneSchedules,
            &CMVsyncDoc::UpdatePhoneSchedule,
            &CMVsyncDoc::DeleteFromPhoneSchedules,
            &CMVsyncDoc::IsPhoneScheduleFull,
            &CMVsyncDoc::DropStaleScheduleLinks,
            &CMVsyncDoc::PhoneCapacities::m_nScheduleCapacity};
}

CPhoneListForm::PhoneCommands scheduleCommands()
{
    CPhoneListForm::PhoneCommands commands;
    commands.readSetsProgressRange = true;
    commands.clearInfoWhenIdle = true;
    return commands;
}

} // namespace

CForm_Schedule::CForm_Schedule(CMVsyncDoc& doc, QWidget* parent)
    : TPhoneListForm(doc, scheduleLayout(), scheduleCommands(), scheduleOps(), parent)
{
    setObjectName(QStringLiteral("CForm_Schedule"));
    GetDlgItem(IDC_LOCAL_SOURCE)->setGeometry(kViewAllRect);
    GetDlgItem(IDC_OUTLOOK)->setGeometry(kOutlookRect);
    GetDlgItem(IDC_SCHEDULE_TOTAL)->setGeometry(kTotalRect);
    AddSelector(IDC_MONTH, platform::LoadString(64111), QStringLiteral("monthSource"), kMonthRect);
    Divider divider = GetDivider();
    divider.shifted.push_back(IDC_MONTH);
    SetDivider(divider);

    const QRect grid = GetDlgItem(IDC_PC_LIST)->geometry().adjusted(kGridInset, kGridInset, -kGridInset, -kGridInset);
    m_pCalendar = std::make_unique<CMonthCalendar>(
        *this,
        CMonthCalendar::Places{IDC_MONTH_GRID, grid, IDC_MONTH_LABEL, kMonthLabelRect, IDC_PREV_MONTH, kPrevMonthRect,
                               IDC_NEXT_MONTH, kNextMonthRect},
        platform::LoadString(64112), QString());

    connect(ImageButton(IDC_MONTH), &QPushButton::clicked, this, &CForm_Schedule::OnMonth);
    connect(m_pCalendar->PrevButton(), &QPushButton::clicked, this, &CForm_Schedule::OnPrevMonth);
    connect(m_pCalendar->NextButton(), &QPushButton::clicked, this, &CForm_Schedule::OnNextMonth);
    connect(GetGrid(), &CMSFlexGrid::SelChange, this, &CForm_Schedule::OnGridSelChange);
    connect(GetGrid(), &CMSFlexGrid::DblClick, this, &CForm_Schedule::OnDblClickGrid);
}

CForm_Schedule::~CForm_Schedule() = default;

void CForm_Schedule::OnInitialUpdate()
{
    TPhoneListForm::OnInitialUpdate();
    PlaceGrid();
}

void CForm_Schedule::AnchorFormControls()
{
    AnchorControl(IDC_MONTH, ANCHOR_TOPCENTER, ANCHOR_NONE);
}

std::vector<int> CForm_Schedule::PcSelectorIds() const
{
    return {IDC_LOCAL_SOURCE, IDC_OUTLOOK, IDC_MONTH};
}

bool CForm_Schedule::IsMonthShown() const
{
    return ImageButton(IDC_MONTH)->GetCheck() != 0;
}

void CForm_Schedule::OnPcSourceShown(bool)
{
    EnableControl(IDC_COPY_TO_MOBILE, IsPhoneRead());
    EnableControl(IDC_COPY_TO_PC, IsPhoneRead());
    Static(IDC_SCHEDULE_TOTAL)->show();
    CheckBox(IDC_ORGANIZER_PC_SELECT_ALL)->show();
    m_pCalendar->Show(false);
}

void CForm_Schedule::OnMonth()
{
    const platform::WaitCursor wait;
    CheckSelector(IDC_MONTH, PcSelectorIds());
    m_pCalendar->Show(true);
    for (const int id : {int(IDC_PC_LIST), int(IDC_OUTLOOK_LIST), int(IDC_PC_READ), int(IDC_ORGANIZER_PC_SELECT_ALL),
                         int(IDC_SCHEDULE_TOTAL)})
        GetDlgItem(id)->hide();
    QGroupBox* caption = Caption(IDC_PC_CAPTION);
    caption->setTitle(platform::LoadString(64112));
    caption->setAccessibleName(caption->title());

    // Always today's month, with today selected.
    m_pCalendar->ShowToday();
    DrawMonth();

    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), int(IDC_PC_DELETE)})
        EnableControl(id, false);
    ApplySelectAll(ShownPcList(), CheckBox(IDC_ORGANIZER_PC_SELECT_ALL), false);
    DetailList(IDC_PC_DETAIL)->SetRows(DetailRows(nullptr));
    RefreshSelectionState();
    GetGrid()->setFocus();
    GetFormSurface()->update();
}

std::vector<monthtexts::Entry> CForm_Schedule::MonthEntries(std::vector<quintptr>& ids) const
{
    return CMonthCalendar::RowEntries(*RecordList(IDC_PC_LIST), GetDocument().m_pcSchedules, &CMVsyncDoc::RecordId, &ids);
}

void CForm_Schedule::DrawMonth()
{
    std::vector<quintptr> ids;
    m_pCalendar->Draw(MonthEntries(ids), monthtexts::EveryLaterOccurrence);
    RefreshSelectionState();
}

std::vector<quintptr> CForm_Schedule::SelectedDayEntries() const
{
    std::vector<quintptr> ids;
    const std::vector<monthtexts::Entry> entries = MonthEntries(ids);
    std::vector<quintptr> onDay;
    for (const int i : monthtexts::EntriesOn(entries, m_pCalendar->SelectedDay()))
        onDay.push_back(ids[size_t(i)]);
    return onDay;
}

void CForm_Schedule::RefreshSelectionState()
{
    CPhoneListForm::RefreshSelectionState();
    // In the calendar, Edit opens the selected day's own entries.
    if (IsMonthShown())
        EnableControl(IDC_PC_EDIT, !SelectedDayEntries().empty());
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
    if (!GetFlexMan().OnCellSelected())
        return;
    m_pCalendar->ShowLabel();
    RefreshSelectionState();
}

void CForm_Schedule::OnDblClickGrid()
{
    // Decided by the day's own entries as the document holds them now: a day that shows only
    // repeat marks, or whose entry was deleted meanwhile, gets a new entry.
    if (monthtexts::ActionForDay(int(SelectedDayEntries().size())) == monthtexts::DayAction::New)
        NewOnSelectedDay();
    else
        EditSelectedDay();
}

void CForm_Schedule::OnPcNew()
{
    if (IsMonthShown())
        NewOnSelectedDay();
    else
        CPhoneListForm::OnPcNew();
}

void CForm_Schedule::OnPcEdit()
{
    if (IsMonthShown())
        EditSelectedDay();
    else
        CPhoneListForm::OnPcEdit();
}

void CForm_Schedule::NewOnSelectedDay()
{
    // A day with an entry of its own gets no second one from the calendar.
    if (monthtexts::ActionForDay(int(SelectedDayEntries().size())) != monthtexts::DayAction::New)
        return;
    const CTime day = GetFlexMan().GetSelectedDate();
    CScheduleEntry entry;
    entry.m_dtStart = COleDateTime(day.GetYear(), day.GetMonth(), day.GetDay(), 0, 0, 0);
    if (!EditRecord(entry, ModeNew, CMVsyncDoc::ListPc))
        return;
    GetDocument().StoreSchedule(CMVsyncDoc::ListPc, entry);
    RefreshList(CMVsyncDoc::ListPc); // sorts, fills the rows and draws the month again
}

void CForm_Schedule::EditSelectedDay()
{
    const std::vector<quintptr> onDay = SelectedDayEntries();
    quintptr id = 0;
    switch (monthtexts::ActionForDay(int(onDay.size()))) {
    case monthtexts::DayAction::New:
        return;
    case monthtexts::DayAction::Edit:
        id = onDay.front();
        break;
    case monthtexts::DayAction::Pick: {
        std::vector<const CScheduleEntry*> candidates;
        for (const quintptr each : onDay)
            candidates.push_back(GetDocument().FindSchedule(CMVsyncDoc::ListPc, each));
        CSelectScheduleDlg pick(candidates, this);
        if (RunModal(pick) != QDialog::Accepted || pick.GetChosen() < 0) {
            DrawMonth();
            return;
        }
        id = onDay[size_t(pick.GetChosen())];
        break;
    }
    }
    const CScheduleEntry* record = GetDocument().FindSchedule(CMVsyncDoc::ListPc, id);
    if (!record)
        return;
    CScheduleEntry edited;
    edited.Assign(*record);
    if (!EditRecord(edited, ModeEdit, CMVsyncDoc::ListPc))
        return;
    CScheduleEntry* target = GetDocument().FindSchedule(CMVsyncDoc::ListPc, id);
    if (!target)
        return;
    target->Assign(edited);
    target->m_nState = CSyncRecord::StateChanged;
    RefreshList(CMVsyncDoc::ListPc);
}

void CForm_Schedule::resizeEvent(QResizeEvent* event)
{
    CPhoneListForm::resizeEvent(event);
    PlaceGrid();
}

void CForm_Schedule::OnPanesMoved()
{
    PlaceGrid();
}

void CForm_Schedule::PlaceGrid()
{
    const QWidget* list = GetDlgItem(IDC_PC_LIST);
    if (!list || !IsInitialized())
        return;
    GetFlexMan().SetLayout(list->geometry().adjusted(kGridInset, kGridInset, -kGridInset, -kGridInset), true);
    GetGrid()->setVisible(IsMonthShown());
}

CRecordListCtrl* CForm_Schedule::CopySource() const
{
    return IsMonthShown() ? nullptr : ShownPcList();
}

bool CForm_Schedule::CanCopyToMobile() const
{
    return !IsMonthShown();
}

void CForm_Schedule::BeforeRefresh(int kind)
{
    GetDocument().SortSchedules(kind);
}

void CForm_Schedule::AfterListRefreshed(int kind)
{
    if (kind == CMVsyncDoc::ListPc && IsMonthShown())
        DrawMonth();
}

std::vector<CDetailListCtrl::Row> CForm_Schedule::DetailRows(const CSyncRecord* record) const
{
    const auto label = [](int id) { return platform::LoadString(id); };
    std::vector<CDetailListCtrl::Row> rows{{6, label(63013), {}}, {7, label(63014), {}}, {8, label(63015), {}},
                                           {9, label(63016), {}}, {10, label(63017), {}}};
    if (!record)
        return rows;
    // The values are the row's texts: the subject's first line, date, time, repeat, alarm.
    QStringList cells;
    GetDocument().ScheduleToRow(Of(*record), cells);
    for (size_t i = 0; i < rows.size() && i < size_t(cells.size()); ++i)
        rows[i].value = cells[qsizetype(i)];
    return rows;
}

bool CForm_Schedule::EditRecord(CSyncRecord& record, int mode, int)
{
    CScheduleDlg dialog(Of(record), mode, this);
    return RunModal(dialog) == QDialog::Accepted;
}

void CForm_Schedule::AfterPcNew(int kind, quintptr id)
{
    // The list stays in the order of the start times.
    RefreshList(kind);
    ScrollToRecord(*ShownPcList(), id);
}

} // namespace dh1
