// Deskhand's schedule page with 2,000 local entries, four in five repeating (daily, weekly,
// monthly, yearly) and starting between 2003 and 2005: opening the month calendar, and moving
// to another month, each until the grid has painted the month. The goal is under 50 ms.
#include "document/mvsync_doc.h"
#include "ui/form_schedule.h"
#include "ui/main_frame.h"

#include "month_bench.h"
#include "window_bench_main.h"

using namespace dh1;

namespace {

using monthbench::OpenMonthView;
using monthbench::SwitchMonth;

struct Deskhand {
    using Doc = CMVsyncDoc;
    using Frame = CMainFrame;
    using Form = CForm_Schedule;
    using Entry = CScheduleEntry;
    static RecordList<Entry>& Schedules(Doc& doc) { return doc.m_pcSchedules; }
    static void OpenMonth(Form& form) { form.OnMonth(); }
    static QDate FirstStart() { return QDate(2003, 1, 1); }
    // Across the new year of 2006, after every start: every daily entry marks every day.
    static QDate FirstMonth() { return QDate(2005, 12, 1); }
};

BENCHMARK_TEMPLATE(OpenMonthView, Deskhand)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(SwitchMonth, Deskhand)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
