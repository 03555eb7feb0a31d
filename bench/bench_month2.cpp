// Deskhand2's schedule page with 2,000 local entries, four in five repeating (daily, weekly,
// monthly, yearly) and starting in the three years around today: opening the month calendar, and moving
// to another month, each until the grid has painted the month. The goal is under 50 ms.
#include "controls/ms_flex_grid.h"
#include "controls/qt_ui_services.h"
#include "controls/splitter_tab_wnd.h"
#include "document2/mvsync_doc.h"
#include "ui2/form_schedule.h"
#include "ui2/main_frame.h"

#include "window_bench_main.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>

namespace {

using namespace dh2;

constexpr int kEntries = 2000;

struct ScheduleWindow {
    ScheduleWindow()
    {
        qputenv("DESKHAND_PIM_DIR", dir.filePath(QStringLiteral("pim")).toLocal8Bit());
        platform::UiServices::install(&ui);
        doc.SetDataDir(dir.path());
        // Today's month is among the starts, so the calendar that opens on it is full.
        const QDate first = QDate::currentDate().addYears(-2);
        for (int i = 0; i < kEntries; ++i) {
            auto entry = std::make_unique<CScheduleEntry>();
            entry->m_strSubject = QStringLiteral("Entry %1").arg(i);
            const QDate day = first.addDays((i * 7919) % (3 * 365));
            entry->m_dtStart = COleDateTime(day.year(), day.month(), day.day(), i % 24, (i * 7) % 60, 0);
            entry->m_nRepeat = i % 5;
            entry->m_nAlarm = i % 6;
            doc.m_arPcSchedules.push_back(std::move(entry));
        }
        frame.emplace(doc);
        ui.SetMainWindow(&*frame);
        frame->InitialUpdateFrame();
        frame->resize(1280, 960);
        frame->GetSplitter()->SelectView(1);
        frame->show();
        QCoreApplication::processEvents();
        form = qobject_cast<CForm_Schedule*>(frame->GetForm(1));
    }
    ~ScheduleWindow()
    {
        ui.SetMainWindow(nullptr);
        frame.reset();
        platform::UiServices::install(nullptr);
    }

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
    CMVsyncDoc doc;
    std::optional<CMainFrame> frame;
    CForm_Schedule* form = nullptr;
};

void BM_OpenMonthView(benchmark::State& state)
{
    ScheduleWindow window;
    for (auto _ : state) {
        window.form->ShowMonthView();
        window.Paint();
    }
    state.counters["entries"] = kEntries;
    state.counters["busiest_cell_texts"] = window.BusiestCell();
}
BENCHMARK(BM_OpenMonthView)->Unit(benchmark::kMillisecond);

// Back and forth between this month and the next, among the starts.
void BM_SwitchMonth(benchmark::State& state)
{
    ScheduleWindow window;
    window.form->ShowMonthView();
    const QDate today = QDate::currentDate();
    window.form->GetFlexMan().SetMonth(today.year(), today.month());
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
BENCHMARK(BM_SwitchMonth)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
