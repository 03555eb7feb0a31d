#pragma once

// The schedule and memo pages of the real main window against the simulated phone, with
// "today" on the virtual clock: Wednesday 17 March 2004, 09:30.
#include "main_window_fixture.h"

#include "controls/caption_bar.h"
#include "controls/ms_flex_grid.h"
#include "ui/form_memo.h"
#include "ui/form_schedule.h"

#include <QKeyEvent>
#include <QTest>

using namespace dh1;

namespace uitest {

// Types the text into the widget key by key, as a keyboard or an input method gives it.
inline void Type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

class OrganizerTest : public MainWindowTest {
protected:
    static QDate Today() { return QDate(2004, 3, 17); }

    OrganizerTest()
    {
        auto& schedules = phone.state().schedules.entries;
        schedules[2] = {QDateTime(QDate(2004, 3, 20), QTime(10, 0)), 0, 1, QStringLiteral("Dentist")};
        schedules[5] = {QDateTime(QDate(2004, 3, 1), QTime(8, 0)), 3, 0, QStringLiteral("Rent")};
        auto& memos = phone.state().memos.entries;
        memos[1] = QStringLiteral("Buy milk");
        memos[2] = QStringLiteral("Call Bob");
        memos[3] = QStringLiteral("Pay bills");
    }

    void SetUp() override
    {
        clock.setCurrentDateTime(QDateTime(Today(), QTime(9, 30)));
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        schedule = qobject_cast<CForm_Schedule*>(frame->GetForm(1));
        memo = qobject_cast<CForm_Memo*>(frame->GetForm(2));
        ASSERT_NE(schedule, nullptr);
        ASSERT_NE(memo, nullptr);
    }

    // A local schedule entry, shown after a refresh.
    CScheduleEntry* AddSchedule(const QString& subject, const QDate& date, int repeat = 0, const QTime& time = QTime(12, 0),
                                int kind = CMVsyncDoc::ListPc)
    {
        auto entry = std::make_unique<CScheduleEntry>();
        entry->m_strSubject = subject;
        entry->m_dtStart = COleDateTime::FromQDateTime(QDateTime(date, time));
        entry->m_nRepeat = repeat;
        CScheduleEntry* raw = entry.get();
        doc->ScheduleList(kind)->push_back(std::move(entry));
        schedule->RefreshList(kind);
        return raw;
    }
    CMemoEntry* AddMemo(const QString& text, int kind = CMVsyncDoc::ListPc)
    {
        auto entry = std::make_unique<CMemoEntry>();
        entry->m_strText = text;
        CMemoEntry* raw = entry.get();
        doc->MemoList(kind)->push_back(std::move(entry));
        memo->RefreshList(kind);
        return raw;
    }

    static void Press(CDataForm* page, int id) { qobject_cast<QAbstractButton*>(page->GetDlgItem(id))->click(); }
    static bool IsOn(CDataForm* page, int id) { return page->GetDlgItem(id)->isEnabled(); }
    // Column 1 (the subject or the memo) of every row.
    static QStringList Firsts(const CRecordListCtrl* list) { return Names(list); }

    void ShowPage(int n) { frame->GetSplitter()->SelectView(n); }

    // The text row cell of a day of the shown month, as (column, row); (-1, -1) when not shown.
    QPoint DayCell(const QDate& day)
    {
        const int index = int(schedule->GetFlexMan().GetDateKeys().indexOf(
            CSchFlexMan::DateKey(day.year(), day.month(), day.day())));
        if (index < 0)
            return QPoint(-1, -1);
        return QPoint(index % CSchFlexMan::kCols, 2 * (index / CSchFlexMan::kCols) + 2);
    }
    QString DayText(const QDate& day) { return schedule->GetFlexMan().GetDateText(CTime(day.year(), day.month(), day.day())); }
    // What the user does: a click on the day's cell, then a double click on it.
    void DoubleClickDay(const QDate& day)
    {
        const QPoint cell = DayCell(day);
        ASSERT_GE(cell.x(), 0) << day.toString().toStdString();
        CMSFlexGrid* grid = schedule->GetGrid();
        const QPoint centre = grid->visualRect(grid->model()->index(cell.y(), cell.x())).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    }

    CForm_Schedule* schedule = nullptr;
    CForm_Memo* memo = nullptr;
};

} // namespace uitest
