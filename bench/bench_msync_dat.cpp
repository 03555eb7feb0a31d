// Deskhand2's data file with 10,000 PC contacts: saved (atomically, as the program saves) and
// loaded through the document's own code. The goal is under 50 ms each.
#include "document2/mvsync_doc.h"
#include "qt_bench_main.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kContacts = 10000;

// A document as a user with a full PC phonebook has it: names and numbers of every kind, some
// of them Chinese, spread over the caller groups.
std::unique_ptr<dh2::CMVsyncDoc> fullDocument(const QString& dir)
{
    auto doc = std::make_unique<dh2::CMVsyncDoc>();
    doc->SetDataDir(dir);
    for (int i = 0; i < kContacts; ++i) {
        auto e = std::make_unique<dh2::CPhoneEntry>();
        e->m_nList = dh2::CMVsyncDoc::ListPc;
        e->m_nIndex = i % 3 ? -1 : 1 + i % 200;
        e->m_strName = i % 5 ? QStringLiteral("Contact number %1").arg(i) : QStringLiteral("张三 %1").arg(i);
        e->m_strMobile = QStringLiteral("+4917%1").arg(10000000 + i);
        e->m_strOffice = QStringLiteral("030-%1").arg(i);
        e->m_strFax = i % 2 ? QStringLiteral("030-9%1").arg(i) : QString();
        e->m_strEmail = QStringLiteral("person%1@example.org").arg(i);
        e->m_nGroup = i % 8;
        doc->m_arPcContacts.push_back(std::move(e));
    }
    return doc;
}

void BM_SaveMsyncDat(benchmark::State& state)
{
    QTemporaryDir dir;
    const auto doc = fullDocument(dir.path());
    for (auto _ : state) {
        if (!doc->SaveLocalData())
            state.SkipWithError("the data file was not written");
    }
}
BENCHMARK(BM_SaveMsyncDat)->Unit(benchmark::kMillisecond);

void BM_LoadMsyncDat(benchmark::State& state)
{
    QTemporaryDir dir;
    fullDocument(dir.path())->SaveLocalData();
    const QString path = dir.filePath(QStringLiteral("msync.dat"));
    for (auto _ : state) {
        dh2::CMVsyncDoc doc;
        if (!doc.LoadLocalData(path, nullptr) || doc.m_arPcContacts.size() != size_t(kContacts))
            state.SkipWithError("the data file did not load whole");
    }
}
BENCHMARK(BM_LoadMsyncDat)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
