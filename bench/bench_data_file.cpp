// Load and save of a data file holding 10,000 PC contacts, through the document's own code.
#include "document/mvsync_doc.h"
#include "qt_bench_main.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace dh1;

namespace {

void fillContacts(CMVsyncDoc& doc, int count)
{
    for (int i = 0; i < count; ++i) {
        auto e = std::make_unique<CPhoneEntry>();
        e->m_nIndex = i % 255;
        e->m_nList = 1;
        e->m_strName = QStringLiteral("Contact number %1").arg(i);
        e->m_strMobile = QStringLiteral("+4917%1").arg(10000000 + i);
        e->m_strHome = QStringLiteral("030%1").arg(i);
        e->m_strEmail = QStringLiteral("person%1@example.org").arg(i);
        e->m_strMemo = i % 3 ? QStringLiteral("short note") : QStringLiteral("张三的备注 %1").arg(i);
        e->m_nGroup = i % 7;
        doc.m_pcContacts.push_back(std::move(e));
    }
}

void BM_SaveTenThousandContacts(benchmark::State& state)
{
    QTemporaryDir dir;
    CMVsyncDoc doc;
    doc.SetDataDir(dir.path());
    fillContacts(doc, 10000);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.SaveLocalData());
}
BENCHMARK(BM_SaveTenThousandContacts)->Unit(benchmark::kMillisecond);

void BM_LoadTenThousandContacts(benchmark::State& state)
{
    QTemporaryDir dir;
    {
        CMVsyncDoc doc;
        doc.SetDataDir(dir.path());
        fillContacts(doc, 10000);
        doc.SaveLocalData();
    }
    const QString path = dir.filePath(QStringLiteral("mvsync.dat"));
    for (auto _ : state) {
        CMVsyncDoc doc;
        benchmark::DoNotOptimize(doc.LoadLocalData(path, nullptr));
    }
}
BENCHMARK(BM_LoadTenThousandContacts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
