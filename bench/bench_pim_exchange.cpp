// The PIM exchange of 1,000 items through the document's own commands: writing new contacts
// and appointments into an empty store, updating them all, and reading them back.
#include "document/mvsync_doc.h"
#include "link/progress_view.h"
#include "tests/support/recording_progress.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace dh1;

namespace {

constexpr int kItems = 1000;

void fillContacts(CMVsyncDoc& doc)
{
    for (int i = 0; i < kItems; ++i) {
        auto e = std::make_unique<CPhoneEntry>();
        e->m_strName = QStringLiteral("Contact number %1").arg(i);
        e->m_strMobile = QStringLiteral("+4917%1").arg(10000000 + i);
        e->m_strHome = QStringLiteral("030%1").arg(i);
        e->m_strEmail = QStringLiteral("person%1@example.org").arg(i);
        e->m_strMemo = i % 3 ? QStringLiteral("short note") : QStringLiteral("张三的备注 %1\r\nsecond line").arg(i);
        e->m_nState = CSyncRecord::StateNew;
        doc.m_outlookContacts.push_back(std::move(e));
    }
}

void fillSchedules(CMVsyncDoc& doc)
{
    for (int i = 0; i < kItems; ++i) {
        auto e = std::make_unique<CScheduleEntry>();
        e->m_strSubject = QStringLiteral("Meeting %1").arg(i);
        e->m_dtStart = COleDateTime(2004, 1 + i % 12, 1 + i % 28, 8 + i % 10, 30, 0);
        e->m_nRepeat = i % 5;
        e->m_nAlarm = i % 6;
        e->m_nState = CSyncRecord::StateNew;
        doc.m_outlookSchedules.push_back(std::move(e));
    }
}

// A store of its own for each benchmark, and the document that exchanges with it.
struct Fixture {
    Fixture() { qputenv("DESKHAND_PIM_DIR", dir.filePath(QStringLiteral("pim")).toUtf8()); }
    ~Fixture() { qunsetenv("DESKHAND_PIM_DIR"); }
    QTemporaryDir dir;
    CMVsyncDoc doc;
};

template <typename Fill, typename Export>
void saveNew(benchmark::State& state, Fill fill, Export exportList)
{
    std::unique_ptr<Fixture> f;
    for (auto _ : state) {
        state.PauseTiming();
        f.reset(); // the last store's removal is no part of the save
        f = std::make_unique<Fixture>();
        fill(f->doc);
        state.ResumeTiming();
        if (!exportList(f->doc))
            state.SkipWithError("export failed");
    }
}

template <typename Fill, typename Export, typename Edit>
void update(benchmark::State& state, Fill fill, Export exportList, Edit edit)
{
    Fixture f;
    fill(f.doc);
    exportList(f.doc);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        edit(f.doc, ++round);
        state.ResumeTiming();
        if (!exportList(f.doc))
            state.SkipWithError("export failed");
    }
}

template <typename Fill, typename Export, typename Import>
void read(benchmark::State& state, Fill fill, Export exportList, Import importList)
{
    Fixture f;
    fill(f.doc);
    exportList(f.doc);
    for (auto _ : state) {
        if (!importList(f.doc))
            state.SkipWithError("import failed");
    }
}

void BM_SaveContacts(benchmark::State& state)
{
    saveNew(state, fillContacts, [](CMVsyncDoc& doc) { return doc.ExportOutlookContacts(); });
}
BENCHMARK(BM_SaveContacts)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SaveAppointments(benchmark::State& state)
{
    saveNew(state, fillSchedules, [](CMVsyncDoc& doc) { return doc.ExportOutlookSchedules(); });
}
BENCHMARK(BM_SaveAppointments)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_UpdateContacts(benchmark::State& state)
{
    update(
        state, fillContacts, [](CMVsyncDoc& doc) { return doc.ExportOutlookContacts(); },
        [](CMVsyncDoc& doc, int round) {
            for (const auto& e : doc.m_outlookContacts) {
                e->m_strHome = QStringLiteral("089%1").arg(round);
                e->m_nState = CSyncRecord::StateChanged;
            }
        });
}
BENCHMARK(BM_UpdateContacts)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_UpdateAppointments(benchmark::State& state)
{
    update(
        state, fillSchedules, [](CMVsyncDoc& doc) { return doc.ExportOutlookSchedules(); },
        [](CMVsyncDoc& doc, int round) {
            for (const auto& e : doc.m_outlookSchedules) {
                e->m_strSubject = QStringLiteral("Moved %1").arg(round);
                e->m_nState = CSyncRecord::StateChanged;
            }
        });
}
BENCHMARK(BM_UpdateAppointments)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReadContacts(benchmark::State& state)
{
    read(
        state, fillContacts, [](CMVsyncDoc& doc) { return doc.ExportOutlookContacts(); },
        [](CMVsyncDoc& doc) { return doc.ImportOutlookContacts(); });
}
BENCHMARK(BM_ReadContacts)->Unit(benchmark::kMillisecond);

void BM_ReadAppointments(benchmark::State& state)
{
    read(
        state, fillSchedules, [](CMVsyncDoc& doc) { return doc.ExportOutlookSchedules(); },
        [](CMVsyncDoc& doc) { return doc.ImportOutlookSchedules(); });
}
BENCHMARK(BM_ReadAppointments)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testsupport::ScopedRecordingProgress progress;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
