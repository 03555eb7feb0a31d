// A full read of a 255-entry handset book against the phone simulator:
//  - on the virtual clock with the in-process phone: the CPU cost of the protocol code (the
//    "virtual_ms" counter is the time the read would take on a real line);
//  - over a real pseudo-terminal served by the simulator, on the real clock: what a user waits.
#include "link/globals.h"
#include "link/phone_session.h"
#include "link/progress_view.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"
#include "platform/serial/serial_device.h"
#include "tests/support/recording_progress.h"

#include "served_phone.h"
#include "qt_bench_main.h"


#include <benchmark/benchmark.h>

using namespace dh1;

namespace {

void BM_HandsetRead_VirtualClock(benchmark::State& state)
{
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard(clock);
    testsupport::ScopedRecordingProgress progress;
    phonesim::Phone phone;
    FillHandsetBook(phone);
    phonesim::SimulatedLineFactory lines(phone);
    platform::ScopedSerialDeviceFactory linesGuard(lines);

    qint64 virtualMs = 0;
    size_t entries = 0;
    for (auto _ : state) {
        CPhoneSession session;
        RecordList<CPhoneEntry> list;
        const qint64 start = clock.nowMs();
        if (!session.ReadHandsetBook(list))
            state.SkipWithError("the read failed");
        virtualMs = clock.nowMs() - start;
        entries = list.size();
        lines.clearWrites();
        phone.clearCommandLog();
    }
    state.counters["entries"] = double(entries);
    state.counters["virtual_ms"] = double(virtualMs);
}
BENCHMARK(BM_HandsetRead_VirtualClock)->Unit(benchmark::kMillisecond);

void BM_HandsetRead_Pty(benchmark::State& state)
{
    testsupport::ScopedRecordingProgress progress;
    ServedPhone served;
    QString error;
    if (!served.Start(&error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }

    size_t entries = 0;
    for (auto _ : state) {
        CPhoneSession session;
        RecordList<CPhoneEntry> list;
        if (!session.ReadHandsetBook(list))
            state.SkipWithError("the read failed");
        entries = list.size();
    }
    state.counters["entries"] = double(entries);
}
BENCHMARK(BM_HandsetRead_Pty)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
