#pragma once

// The schedule and memo pages (tabs 1 and 2) of Deskhand2's real main window over the simulated
// phone of the second family.
#include "controls/limited_line_edit.h"
#include "controls/ms_flex_grid.h"
#include "main_window2_fixture.h"
#include "ui2/form_memo.h"
#include "ui2/form_schedule.h"
#include "ui2/memo_dlg.h"
#include "ui2/organizer_resource.h"
#include "ui2/schedule_dlg.h"
#include "ui2/select_schedule_dlg.h"

namespace ui2test {

class OrganizerTest : public MainWindow2Test {
protected:
    void SetUp() override
    {
        MainWindow2Test::SetUp();
        schedules = qobject_cast<CForm_Schedule*>(frame->GetForm(1));
        memos = qobject_cast<CForm_Memo*>(frame->GetForm(2));
        ASSERT_NE(schedules, nullptr);
        ASSERT_NE(memos, nullptr);
    }

    // Exit and a new start over the same data folder and the same phone.
    void Restart()
    {
        frame->close();
        doc->OnCloseDocument();
        frame.reset();
        StartWindow();
        schedules = qobject_cast<CForm_Schedule*>(frame->GetForm(1));
        memos = qobject_cast<CForm_Memo*>(frame->GetForm(2));
    }

    // An entry of the phone's combined list.
    void PutOnPhone(int kind, int index, const QString& text, const QDateTime& start = QDateTime({2004, 3, 7}, {9, 0}))
    {
        phoneState().organizer.push_back({kind, index, text, start, 0, std::nullopt});
    }
    // n entries of a kind from index first on.
    void FillPhone(int kind, int first, int n)
    {
        for (int i = 0; i < n; ++i)
            PutOnPhone(kind, first + i, QStringLiteral("%1-%2").arg(kind).arg(first + i));
    }
    // A record of a PC-side list of the document, shown after a refresh of the page.
    CScheduleEntry* AddPc(COrganizerForm* page, const QString& text, const QDate& date = {2004, 3, 17}, int repeat = 0,
                          int list = CMVsyncDoc::ListPc)
    {
        auto entry = std::make_unique<CScheduleEntry>();
        entry->m_strSubject = text;
        entry->m_dtStart = COleDateTime(date.year(), date.month(), date.day(), 12, 0, 0);
        entry->m_nRepeat = repeat;
        entry->m_nKind = page->RecordKind();
        CScheduleEntry* raw = entry.get();
        (page == memos ? doc->MemoList(list) : doc->ScheduleList(list))->push_back(std::move(entry));
        page->RefreshList(list);
        return raw;
    }

    static void ClickOn(COrganizerForm* page, int id) { qobject_cast<QAbstractButton*>(page->GetDlgItem(id))->click(); }
    static bool EnabledOn(const COrganizerForm* page, int id) { return page->GetDlgItem(id)->isEnabled(); }
    static QString TextOn(const COrganizerForm* page, int id) { return page->Static(id)->text(); }
    static CRecordListCtrl* ListOn(const COrganizerForm* page, int id) { return page->RecordList(id); }
    // Column 1 of every row.
    static QStringList Texts(const CRecordListCtrl* list) { return Names(list); }

    // The calendar's text of a day of the shown month.
    QString DayText(int day) const
    {
        const CTime shown = schedules->GetFlexMan().GetShownMonth();
        return schedules->GetFlexMan().GetDateText(CTime(shown.GetYear(), shown.GetMonth(), day, 0, 0, 0));
    }
    // The calendar shows that month with that day selected.
    void ShowDay(int year, int month, int day)
    {
        schedules->GetFlexMan().SetMonth(year, month);
        schedules->GetFlexMan().SelectDate(CTime(year, month, day, 0, 0, 0), true);
        schedules->DrawMonth();
    }

    CForm_Schedule* schedules = nullptr;
    CForm_Memo* memos = nullptr;
};

} // namespace ui2test
