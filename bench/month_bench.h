#pragma once

// What the two programs' month-calendar benchmarks share: a main window whose schedule page holds
// 2,000 local entries, four in five repeating (daily, weekly, monthly, yearly) and starting in
// the three years from a first day, and the two measures: opening the month calendar, and
// moving to another month, each until the grid has painted the month.
//
// Program gives the types (Doc, Frame, Form, Entry) and how to reach them: Schedules(doc), the
// document's local schedule list; OpenMonth(form), the calendar view; FirstStart(), the first
// start date; FirstMonth(), the month the switching starts from.
#include "controls/ms_flex_grid.h"
#include "controls/qt_ui_services.h"
#include "controls/sch_flex_man.h"
#include "controls/splitter_tab_wnd.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace monthbench {

constexpr int kEntries = 2000;

template <typename Program>
struct ScheduleWindow {
    ScheduleWindow()
    {
        qputenv("DESKHAND_PIM_DIR", dir.filePath(QStringLiteral("pim")).toLocal8Bit());
        platform::UiServices::install(&ui);
        doc.SetDataDir(dir.path());
        const QDate first = Program::FirstStart();
        for (int i = 0; i < kEntries; ++i) {
            auto entry = std::make_unique<typename Program::Entry>();
            entry->m_strSubject = QStringLiteral("Entry %1").arg(i);
            const QDate day = first.addDays((i * 7919) % (3 * 365));
            entry->m_dtStart = COleDateTime(day.year(), day.month(), day.day(), i % 24, (i * 7) % 60, 0);
            entry->m_nRepeat = i % 5;
            entry->m_nAlarm = i % 6;
            Program::Schedules(doc).push_back(std::move(entry));
        }
        frame.emplace(doc);
        ui.SetMainWindow(&*frame);
        frame->InitialUpdateFrame();
        frame->resize(1280, 960);
        frame->GetSplitter()->SelectView(1);
        frame->show();
        QCoreApplication::processEvents();
        form = qobject_cast<typename Program::Form*>(frame->GetForm(1));
    }
    ~ScheduleWindow()
    {
        ui.SetMainWindow(nullptr);
        frame.reset();
        platform::UiServices::install(nullptr);
    }
    ScheduleWindow(const ScheduleWindow&) = delete;
    ScheduleWindow& operator=(const ScheduleWindow&) = delete;

    // Paints the grid now, as the next turn of the event loop would.
    void Paint() { form->GetGrid()->viewport()->repaint(); }

    // The most texts one day cell of the shown month holds.
    int BusiestCell() const
    {
        int most = 0;
        const CMSFlexGrid* grid = form->GetGrid();
        for (int row = 2; row < CSchFlexMan::kRows; row += 2) {
            for (int col = 0; col < CSchFlexMan::kCols; ++col) {
                const QString text = grid->GetTextMatrix(row, col);
                most = std::max(most, text.isEmpty() ? 0 : int(text.count(u'\r')) + 1);
            }
        }
        return most;
    }

    QTemporaryDir dir;
    QtUiServices ui;
    typename Program::Doc doc;
    std::optional<typename Program::Frame> frame;
    typename Program::Form* form = nullptr;
};

template <typename Program>
void OpenMonthView(benchmark::State& state)
{
    ScheduleWindow<Program> window;
    for (auto _ : state) {
        Program::OpenMonth(*window.form);
        window.Paint();
    }
    state.counters["entries"] = kEntries;
    state.counters["busiest_cell_texts"] = window.BusiestCell();
}

// Back and forth between the first month and the next.
template <typename Program>
void SwitchMonth(benchmark::State& state)
{
    ScheduleWindow<Program> window;
    Program::OpenMonth(*window.form);
    const QDate month = Program::FirstMonth();
    window.form->GetFlexMan().SetMonth(month.year(), month.month());
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            window.form->OnNextMonth();
        else
            window.form->OnPrevMonth();
        forward = !forward;
        window.Paint();
    }
    state.counters["entries"] = kEntries;
    state.counters["busiest_cell_texts"] = window.BusiestCell();
}

} // namespace monthbench
