// Deskhand2's schedule page with 2,000 local entries starting in the three years around today
// (its calendar marks only the next four dates of a repeating entry, so today's month is among
// the starts): opening the month calendar, and moving to the next month and back, each until
// the grid has painted the month. The goal is under 50 ms.
#include "document2/mvsync_doc.h"
#include "ui2/form_schedule.h"
#include "ui2/main_frame.h"

#include "month_bench.h"
#include "window_bench_main.h"

namespace {

using monthbench::OpenMonthView;
using monthbench::SwitchMonth;

struct Deskhand2 {
    using Doc = dh2::CMVsyncDoc;
    using Frame = dh2::CMainFrame;
    using Form = dh2::CForm_Schedule;
    using Entry = dh2::CScheduleEntry;
    static dh2::RecordList<Entry>& Schedules(Doc& doc) { return doc.m_arPcSchedules; }
    static void OpenMonth(Form& form) { form.ShowMonthView(); }
    static QDate FirstStart() { return QDate::currentDate().addYears(-2); }
    static QDate FirstMonth() { return QDate::currentDate(); }
};

BENCHMARK_TEMPLATE(OpenMonthView, Deskhand2)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(SwitchMonth, Deskhand2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
