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

#include <unordered_map>

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
    layout.printTitle = QStringLiteral("Schedules\r\n");
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
    : TPhoneListForm(doc, scheduleLayout(), scheduleCommands(), scheduleOps(), parent), m_pGrid(new CMSFlexGrid)
{
    setObjectName(QStringLiteral("CForm_Schedule"));
    GetDlgItem(IDC_LOCAL_SOURCE)->setGeometry(kViewAllRect);
    GetDlgItem(IDC_OUTLOOK)->setGeometry(kOutlookRect);
    GetDlgItem(IDC_SCHEDULE_TOTAL)->setGeometry(kTotalRect);
    AddSelector(IDC_MONTH, platform::LoadString(64111), QStringLiteral("monthSource"), kMonthRect);
    Divider divider = GetDivider();
    divider.shifted.push_back(IDC_MONTH);
    SetDivider(divider);

    const QString calendar = platform::LoadString(64112);
    m_pGrid->setObjectName(QStringLiteral("monthGrid"));
    m_pGrid->setAccessibleName(calendar);
    AddDlgItem(IDC_MONTH_GRID, m_pGrid, GetDlgItem(IDC_PC_LIST)->geometry().adjusted(kGridInset, kGridInset, -kGridInset, -kGridInset));
    auto* label = new QLabel(QStringLiteral("2002 / 03 / 23"));
    label->setObjectName(QStringLiteral("monthLabel"));
    label->setAlignment(Qt::AlignCenter);
    AddDlgItem(IDC_MONTH_LABEL, label, kMonthLabelRect);
    for (const auto& [id, text, name, rect] : {std::tuple{IDC_PREV_MONTH, QStringLiteral("<<"), QStringLiteral("prevMonth"), kPrevMonthRect},
                                                std::tuple{IDC_NEXT_MONTH, QStringLiteral(">>"), QStringLiteral("nextMonth"), kNextMonthRect}}) {
        auto* arrow = new CImageButton(text);
        arrow->setObjectName(name);
        arrow->setAccessibleName(text);
        arrow->setAccessibleDescription(calendar);
        AddDlgItem(id, arrow, rect);
    }
    ShowCalendarControls(false);

    m_flexMan.SetGrid(m_pGrid);
    m_flexMan.InitGrid();
    const CTime today = CTime::GetCurrentTime();
    m_flexMan.SetMonth(today.GetYear(), today.GetMonth());

    connect(ImageButton(IDC_MONTH), &QPushButton::clicked, this, &CForm_Schedule::OnMonth);
    connect(ImageButton(IDC_PREV_MONTH), &QPushButton::clicked, this, &CForm_Schedule::OnPrevMonth);
    connect(ImageButton(IDC_NEXT_MONTH), &QPushButton::clicked, this, &CForm_Schedule::OnNextMonth);
    connect(m_pGrid, &CMSFlexGrid::SelChange, this, &CForm_Schedule::OnGridSelChange);
    connect(m_pGrid, &CMSFlexGrid::DblClick, this, &CForm_Schedule::OnDblClickGrid);
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

void CForm_Schedule::ShowCalendarControls(bool show)
{
    for (const int id : {int(IDC_MONTH_GRID), int(IDC_MONTH_LABEL), int(IDC_PREV_MONTH), int(IDC_NEXT_MONTH)})
        GetDlgItem(id)->setVisible(show);
}

void CForm_Schedule::OnPcSourceShown(bool)
{
    EnableControl(IDC_COPY_TO_MOBILE, IsPhoneRead());
    EnableControl(IDC_COPY_TO_PC, IsPhoneRead());
    Static(IDC_SCHEDULE_TOTAL)->show();
    CheckBox(IDC_ORGANIZER_PC_SELECT_ALL)->show();
    ShowCalendarControls(false);
}

void CForm_Schedule::OnMonth()
{
    const platform::WaitCursor wait;
    CheckSelector(IDC_MONTH, PcSelectorIds());
    ShowCalendarControls(true);
    for (const int id : {int(IDC_PC_LIST), int(IDC_OUTLOOK_LIST), int(IDC_PC_READ), int(IDC_ORGANIZER_PC_SELECT_ALL),
                         int(IDC_SCHEDULE_TOTAL)})
        GetDlgItem(id)->hide();
    QGroupBox* caption = Caption(IDC_PC_CAPTION);
    caption->setTitle(platform::LoadString(64112));
    caption->setAccessibleName(caption->title());

    // Always today's month, with today selected.
    const CTime today = CTime::GetCurrentTime();
    m_flexMan.SetMonth(today.GetYear(), today.GetMonth());
    m_flexMan.SelectDate(today, true);
    DrawMonth();
    m_flexMan.SelectDate(today, true);
    ShowMonthLabel();

    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), int(IDC_PC_DELETE)})
        EnableControl(id, false);
    ApplySelectAll(ShownPcList(), CheckBox(IDC_ORGANIZER_PC_SELECT_ALL), false);
    DetailList(IDC_PC_DETAIL)->SetRows(DetailRows(nullptr));
    RefreshSelectionState();
    m_pGrid->setFocus();
    GetFormSurface()->update();
}

void CForm_Schedule::ShowMonthLabel()
{
    const CTime selected = m_flexMan.GetSelectedDate();
    Static(IDC_MONTH_LABEL)->setText(QString::asprintf("%04d / %02d", selected.GetYear(), selected.GetMonth()));
    Static(IDC_MONTH_LABEL)->setAccessibleName(Static(IDC_MONTH_LABEL)->text());
}

std::vector<monthtexts::Entry> CForm_Schedule::MonthEntries(std::vector<quintptr>& ids) const
{
    // Rows are resolved through the document once per drawing: a row whose record is gone
    // draws nothing.
    std::unordered_map<quintptr, const CScheduleEntry*> live;
    for (const auto& entry : GetDocument().m_pcSchedules) {
        if (!entry->IsDeleted())
            live.emplace(CMVsyncDoc::RecordId(entry.get()), entry.get());
    }
    const CRecordListCtrl* list = RecordList(IDC_PC_LIST);
    std::vector<monthtexts::Entry> entries;
    entries.reserve(size_t(list->GetItemCount()));
    ids.clear();
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const auto it = live.find(list->GetItemData(row));
        if (it == live.end())
            continue;
        const CScheduleEntry& entry = *it->second;
        entries.push_back({entry.m_dtStart.date(), entry.m_nRepeat, entry.m_strSubject});
        ids.push_back(it->first);
    }
    return entries;
}

void CForm_Schedule::DrawMonth()
{
    ShowMonthLabel();
    std::vector<quintptr> ids;
    m_flexMan.ShowEntries(MonthEntries(ids), monthtexts::EveryLaterOccurrence);
    RefreshSelectionState();
}

std::vector<quintptr> CForm_Schedule::SelectedDayEntries() const
{
    std::vector<quintptr> ids;
    const std::vector<monthtexts::Entry> entries = MonthEntries(ids);
    std::vector<quintptr> onDay;
    for (const int i : monthtexts::EntriesOn(entries, m_flexMan.GetSelectedDate().date()))
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
    m_flexMan.ShowPrevMonth();
    DrawMonth();
}

void CForm_Schedule::OnNextMonth()
{
    m_flexMan.ShowNextMonth();
    DrawMonth();
}

void CForm_Schedule::OnGridSelChange()
{
    if (!m_flexMan.OnCellSelected())
        return;
    ShowMonthLabel();
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
    const CTime day = m_flexMan.GetSelectedDate();
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
    m_flexMan.SetLayout(list->geometry().adjusted(kGridInset, kGridInset, -kGridInset, -kGridInset), true);
    m_pGrid->setVisible(IsMonthShown());
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
