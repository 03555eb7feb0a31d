#pragma once

#include "controls/month_calendar.h"
#include "ui2/organizer_form.h"

#include <memory>

class CMSFlexGrid;

namespace dh2 {

// The schedule page of Deskhand2. The PC pane shows the local list ("View All"), the PIM-side
// calendar ("Outlook"), a month calendar of the local list ("Month", with its own arrows and a
// repeat mark on the next four dates a repeating entry falls on) or an empty day grid ("Day");
// the Mobile pane the phone's schedule entries. In the calendar and the day grid New and Edit
// work on the calendar's selected day.
class CForm_Schedule : public COrganizerForm {
    Q_OBJECT

public:
    static constexpr COLORREF kFormColor = 0x4C9476;

    explicit CForm_Schedule(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Schedule() override;

    void OnInitialUpdate() override;
    void OnUpdate() override;
    bool IsMonthShown() const;
    bool IsDayShown() const;
    bool IsMobileRead() const { return m_bMobileRead; }
    CSchFlexMan& GetFlexMan() { return m_pCalendar->FlexMan(); }
    CMSFlexGrid* GetGrid() const { return m_pCalendar->Grid(); }
    CMSFlexGrid* GetDayGrid() const { return m_pDayGrid; }

public Q_SLOTS:
    void OnPcNew() override;
    void OnPcEdit() override;
    void ShowMonthView();
    void ShowDayView();
    void OnPrevMonth();
    void OnNextMonth();
    void OnGridSelChange();
    void OnClickGrid();
    void OnDblClickGrid();
    // Writes the subjects and repeat marks of the local list's rows into the shown month.
    void DrawMonth();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void OnPanesMoved() override;
    void AnchorFormControls() override;
    std::vector<int> SelectorIds() const override;
    void OnPcSourceShown(bool outlook) override;
    void OnCheckChanged(CRecordListCtrl* list) override;
    std::vector<CDetailListCtrl::Row> RecordDetails(const CScheduleEntry* record) const override;
    bool EditRecord(CScheduleEntry& record, int mode) override;
    int CopySourceList() const override;
    int CopyTargetList() const override;
    void AfterMobileRead(bool ok) override;
    void AfterPhoneRowsFilled(int ownRows) override;
    void AfterPcListFilled() override;
    void AfterCopyToPc() override;

private:
    // The identities of the local entries that start on the selected day, in row order.
    std::vector<quintptr> SelectedDayEntries() const;
    void NewOnSelectedDay();
    void EditSelectedDay();
    // After a resize (0) or a divider drag (1).
    void PlaceGrids(int after);
    void SetPcCaption(const QString& text);

    std::unique_ptr<CMonthCalendar> m_pCalendar;
    CMSFlexGrid* m_pDayGrid; // a control of the form
    bool m_bMobileRead = false;
};

} // namespace dh2
