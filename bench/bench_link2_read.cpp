// Deskhand2's phonebook reads against the phone simulator of each model: a 200-entry handset
// book and a 100-entry SIM book.
//  - on the virtual clock with the in-process phone, whose answers are there at the first poll:
//    the time the read's own pauses and polls add up to ("floor_s"), and the CPU cost of the
//    protocol code. A pseudo-terminal hands over at most 4095 bytes a poll, so a long reply
//    takes more of the loop's 400 ms passes there: "pty_floor_s" is the same read on a line that
//    does the same;
//  - over a real pseudo-terminal served by the simulator, on the real clock: what a user waits
//    ("wall_s") and the CPU time of the reading thread ("cpu_ms", "cpu_share" of the wall time).
#include "link2/model_profile.h"
#include "link2/phone_session.h"
#include "link2/progress_view.h"
#include "phonesim/dialect2_model.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"
#include "platform/serial/serial_device.h"
#include "tests/support/recording_progress.h"

#include "served_phone.h"
#include "qt_bench_main.h"


#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

namespace {

// 200 handset entries with three numbers, a name, e-mail, fax and group each; 100 SIM entries.
void FillBooks(phonesim::Phone& phone)
{
    phone.setLatencyMs(20);
    phonesim::PhoneState& state = phone.state();
    state.asleep = false;
    for (int index = 1; index <= 200; ++index) {
        phonesim::HandsetEntry2 entry;
        entry.name = QStringLiteral("Contact %1").arg(index);
        entry.numbers = {{{QStringLiteral("+49170%1").arg(1000000 + index), 1}, {QStringLiteral("030%1").arg(200000 + index), 2},
            {QStringLiteral("040%1").arg(300000 + index), 3}}};
        entry.email = QStringLiteral("c%1@example.org").arg(index);
        entry.fax = QStringLiteral("0301%1").arg(index);
        entry.group = state.dialect2.groups.empty() ? 255 : index % int(state.dialect2.groups.size());
        state.dialect2.handset.entries[index] = entry;
    }
    for (int index = 1; index <= 100; ++index)
        state.dialect2.sim.entries[index] = {QStringLiteral("SIM %1").arg(index), QStringLiteral("+8613%1").arg(800000 + index), 255};
    state.dialect2.sim.last = 100;
}

// A line that hands over at most what a pseudo-terminal's buffer holds at a time.
class PtyLikeLine final : public platform::SerialDevice {
public:
    static constexpr qsizetype kBufferBytes = 4095;

    explicit PtyLikeLine(std::unique_ptr<platform::SerialDevice> line) : m_line(std::move(line)) {}
    bool open(const QString& path) override { return m_line->open(path); }
    bool configure(const platform::SerialSettings& settings) override { return m_line->configure(settings); }
    bool close() override { return m_line->close(); }
    bool isOpen() const override { return m_line->isOpen(); }
    bool write(const char* data, qsizetype size) override { return m_line->write(data, size); }
    qsizetype queuedBytes() override { return std::min(m_line->queuedBytes(), kBufferBytes); }
    qsizetype read(char* buffer, qsizetype maxSize) override { return m_line->read(buffer, std::min(maxSize, kBufferBytes)); }
    bool purge() override { return m_line->purge(); }

private:
    std::unique_ptr<platform::SerialDevice> m_line;
};

class PtyLikeLines final : public platform::SerialDeviceFactory {
public:
    explicit PtyLikeLines(phonesim::SimulatedLineFactory& lines) : m_lines(lines) {}
    std::unique_ptr<platform::SerialDevice> createDevice() override
    {
        return std::make_unique<PtyLikeLine>(m_lines.createDevice());
    }

private:
    phonesim::SimulatedLineFactory& m_lines;
};

qint64 ThreadCpuNs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

bool Read(dh2::CPhoneSession& session, bool sim, size_t* entries)
{
    dh2::RecordList<dh2::CPhoneEntry> list;
    const bool ok = sim ? session.ReadSimBook(list) : session.ReadHandsetBook(list);
    *entries = list.size();
    return ok;
}

// state.range(0): the model; state.range(1): 0 handset, 1 SIM.
void BM_Link2Read_Floor(benchmark::State& state)
{
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard(clock);
    testsupport::ScopedRecordingProgress progress;
    phonesim::Phone phone(phonesim::MakeDialect2(int(state.range(0))));
    FillBooks(phone);
    phonesim::SimulatedLineFactory lines(phone);
    PtyLikeLines ptyLikeLines(lines);

    qint64 virtualMs[2] = {0, 0};
    size_t entries = 0;
    for (auto _ : state) {
        for (const bool ptyLike : {false, true}) {
            platform::ScopedSerialDeviceFactory linesGuard(ptyLike ? static_cast<platform::SerialDeviceFactory&>(ptyLikeLines) : lines);
            dh2::CPhoneSession session;
            const qint64 start = clock.nowMs();
            if (!Read(session, state.range(1) == 1, &entries))
                state.SkipWithError("the read failed");
            virtualMs[ptyLike] = clock.nowMs() - start;
            lines.clearWrites();
            phone.clearCommandLog();
        }
    }
    state.counters["entries"] = double(entries);
    state.counters["floor_s"] = double(virtualMs[0]) / 1000.0;
    state.counters["pty_floor_s"] = double(virtualMs[1]) / 1000.0;
}
BENCHMARK(BM_Link2Read_Floor)
    ->ArgsProduct({{1, 2, 3}, {0, 1}})
    ->ArgNames({"model", "sim"})
    ->Unit(benchmark::kMillisecond);

void BM_Link2Read_Pty(benchmark::State& state)
{
    testsupport::ScopedRecordingProgress progress;
    ServedPhone served(phonesim::MakeDialect2(int(state.range(0))), FillBooks);
    QString error;
    if (!served.Start(&error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    size_t entries = 0;
    qint64 cpuNs = 0;
    for (auto _ : state) {
        dh2::CPhoneSession session;
        session.m_port.m_nBaud = 115200;
        const qint64 cpuStart = ThreadCpuNs();
        if (!Read(session, state.range(1) == 1, &entries))
            state.SkipWithError("the read failed");
        cpuNs = ThreadCpuNs() - cpuStart;
    }
    state.counters["entries"] = double(entries);
    state.counters["cpu_ms"] = double(cpuNs) / 1e6;
}
BENCHMARK(BM_Link2Read_Pty)
    ->ArgsProduct({{1, 2, 3}, {0, 1}})
    ->ArgNames({"model", "sim"})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
