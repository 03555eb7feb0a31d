#pragma once

#include "controls/month_calendar.h"
#include "ui/phone_list_form.h"

#include <memory>

namespace dh1 {

// The schedule tab: the PC pane shows the local schedule list, the PIM calendar, or a month
// calendar of the local list with a mark on every day a repeating entry falls on; the Mobile
// pane shows the phone's schedule entries. In the calendar, New, Edit and a double click work
// on the selected day: a day without entries of its own gets a new one, a day with one opens
// it, a day with several lets the user pick.
class CForm_Schedule : public TPhoneListForm<CScheduleEntry> {
    Q_OBJECT

public:
    explicit CForm_Schedule(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Schedule() override;

    void OnInitialUpdate() override;
    bool IsMonthShown() const;
    CSchFlexMan& GetFlexMan() { return m_pCalendar->FlexMan(); }
    CMSFlexGrid* GetGrid() const { return m_pCalendar->Grid(); }

public Q_SLOTS:
    void OnPcNew() override;
    void OnPcEdit() override;
    void OnMonth();
    void OnPrevMonth();
    void OnNextMonth();
    void OnGridSelChange();
    void OnDblClickGrid();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void OnPanesMoved() override;
    void AnchorFormControls() override;
    std::vector<int> PcSelectorIds() const override;
    void OnPcSourceShown(bool outlook) override;
    void RefreshSelectionState() override;
    CRecordListCtrl* CopySource() const override;
    bool CanCopyToMobile() const override;
    std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record) const override;
    bool EditRecord(CSyncRecord& record, int mode, int kind) override;
    void AfterPcNew(int kind, quintptr id) override;
    void BeforeRefresh(int kind) override;
    void AfterListRefreshed(int kind) override;

private:
    // Writes the subjects and repeat marks of the local list's rows into the shown month and
    // selects the selected day again.
    void DrawMonth();
    // The local list's live records in row order, as calendar entries, with their identities.
    std::vector<monthtexts::Entry> MonthEntries(std::vector<quintptr>& ids) const;
    // The identities of the local entries that start on the selected day, in row order.
    std::vector<quintptr> SelectedDayEntries() const;
    void NewOnSelectedDay();
    void EditSelectedDay();
    // The grid takes the local list's place, 10 pixels inside it; it is shown only with the
    // calendar.
    void PlaceGrid();

    std::unique_ptr<CMonthCalendar> m_pCalendar;
};

} // namespace dh1
