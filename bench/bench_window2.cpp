// Deskhand2's phonebook page with 10,000 PC contacts: filling the PC list, sorting it by each
// column (the number column groups by kind and renumbers), and checking every row at once.
#include "controls/record_list_ctrl.h"
#include "document2/mvsync_doc.h"
#include "platform/clock.h"
#include "ui2/form_contact.h"
#include "ui2/main_frame.h"
#include "ui2/resource.h"

#include "window_bench_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace dh2;

constexpr int kContacts = 10000;

struct PhonebookWindow {
    PhonebookWindow()
    {
        qputenv("DESKHAND_PIM_DIR", dir.filePath(QStringLiteral("pim")).toLocal8Bit());
        platform::Clock::install(&clock);
        doc.SetDataDir(dir.path());
        doc.OnNewDocument();
        for (int i = 0; i < kContacts; ++i) {
            auto e = std::make_unique<CPhoneEntry>();
            e->m_nIndex = i % 3 ? -1 : i % 200 + 1;
            e->m_nSimIndex = i % 5 ? -1 : i % 100 + 1;
            e->m_strName = QStringLiteral("Contact %1").arg((i * 7919) % kContacts);
            e->m_strMobile = QStringLiteral("+4917%1").arg(10000000 + (i * 104729) % kContacts);
            e->m_strHome = QStringLiteral("030 %1").arg(i);
            e->m_strEmail = QStringLiteral("person%1@example.org").arg(i);
            e->m_nGroup = i % 8;
            doc.m_arPcContacts.push_back(std::move(e));
        }
        frame = std::make_unique<CMainFrame>(doc);
        frame->InitialUpdateFrame();
        frame->show();
        QCoreApplication::processEvents();
        form = qobject_cast<CForm_Contact*>(frame->GetForm(0));
    }
    ~PhonebookWindow()
    {
        frame.reset();
        platform::Clock::install(nullptr);
    }

    QTemporaryDir dir;
    platform::VirtualClock clock;
    CMVsyncDoc doc;
    std::unique_ptr<CMainFrame> frame;
    CForm_Contact* form = nullptr;
};

void BM_Fill10kContacts(benchmark::State& state)
{
    PhonebookWindow window;
    for (auto _ : state) {
        window.form->RefreshList(CMVsyncDoc::ListPc);
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = double(window.form->RecordList(ids::IDC_PC_LIST)->GetItemCount());
}
BENCHMARK(BM_Fill10kContacts)->Unit(benchmark::kMillisecond);

// Each column in turn, each time in the other direction (as header clicks do).
void BM_Sort10kContacts(benchmark::State& state)
{
    PhonebookWindow window;
    CRecordListCtrl* list = window.form->RecordList(ids::IDC_PC_LIST);
    const int column = int(state.range(0));
    bool ascending = true;
    for (auto _ : state) {
        list->SortColumn(column, ascending);
        ascending = !ascending;
    }
    state.SetLabel(list->headerItem()->text(column).toStdString());
}
BENCHMARK(BM_Sort10kContacts)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

// Select All on and off: every check box, then the pane's state once.
void BM_SelectAll10kContacts(benchmark::State& state)
{
    PhonebookWindow window;
    QCheckBox* box = window.form->CheckBox(ids::IDC_PC_SELECT_ALL);
    for (auto _ : state) {
        box->click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SelectAll10kContacts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
