// A full read of a 255-entry handset book against the phone simulator:
//  - on the virtual clock with the in-process phone: the CPU cost of the protocol code (the
//    "virtual_ms" counter is the time the read would take on a real line);
//  - over a real pseudo-terminal served by the simulator, on the real clock: what a user waits.
#include "link/globals.h"
#include "link/phone_session.h"
#include "link/progress_view.h"
#include "phonesim/phone.h"
#include "phonesim/pty_server.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"
#include "platform/serial/serial_device.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <csignal>
#include <thread>

namespace {

class SilentProgress final : public IProgressView {
public:
    void Step(const QString&) override {}
    void Finish() override {}
};

// A phone with every index of 1..255 in use, with names, numbers and memos of typical length.
void FillPhone(phonesim::Phone& phone)
{
    phone.setLatencyMs(20);
    for (int index = 1; index <= 255; ++index) {
        phonesim::BookEntry entry;
        entry.group = index % 7;
        entry.name = QStringLiteral("Contact %1").arg(index);
        entry.mobile = QStringLiteral("+49170%1").arg(1000000 + index);
        entry.office = QStringLiteral("030%1").arg(200000 + index);
        entry.email = QStringLiteral("c%1@example.org").arg(index);
        entry.memo = QStringLiteral("Met at the fair");
        phone.state().handset.entries[index] = entry;
    }
}

void BM_HandsetRead_VirtualClock(benchmark::State& state)
{
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard(clock);
    ScopedProgressViewFactory progress([] { return std::make_unique<SilentProgress>(); });
    phonesim::Phone phone;
    FillPhone(phone);
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
    ScopedProgressViewFactory progress([] { return std::make_unique<SilentProgress>(); });
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("com1"));
    phonesim::Phone phone;
    FillPhone(phone);
    phonesim::PtyServer server(phone, link);
    QString error;
    if (!server.start(&error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    volatile std::sig_atomic_t stop = 0;
    std::thread serving([&] { server.run(&stop); });
    qputenv("DESKHAND_COM1", link.toLocal8Bit());

    size_t entries = 0;
    for (auto _ : state) {
        CPhoneSession session;
        RecordList<CPhoneEntry> list;
        if (!session.ReadHandsetBook(list))
            state.SkipWithError("the read failed");
        entries = list.size();
    }
    stop = 1;
    serving.join();
    state.counters["entries"] = double(entries);
}
BENCHMARK(BM_HandsetRead_Pty)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
