// Deskhand's window with 10,000 PC contacts in the data file: from start to the first painted
// frame (no splash), filling the PC list, sorting it by each column; and, while the phonebook
// page reads a 255-entry handset book from the simulator over a pseudo-terminal, the longest
// stretch the event loop stands still and how long calls from another thread (as a screen
// reader's reach the window) wait for their answer.
#include "controls/event_loop_clock.h"
#include "controls/qt_ui_services.h"
#include "controls/record_list_ctrl.h"
#include "document/mvsync_doc.h"
#include "ui/form_contact.h"
#include "ui/main_frame.h"
#include "ui/resource.h"

#include "served_phone.h"
#include "window_bench_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace dh1;

namespace {

constexpr int kContacts = 10000;

// A data folder whose mvsync.dat holds 10,000 PC contacts.
class TenThousandContacts {
public:
    TenThousandContacts()
    {
        qputenv("DESKHAND_PIM_DIR", m_dir.filePath(QStringLiteral("pim")).toLocal8Bit());
        CMVsyncDoc doc;
        doc.SetDataDir(m_dir.path());
        for (int i = 0; i < kContacts; ++i) {
            auto e = std::make_unique<CPhoneEntry>();
            e->m_nIndex = i % 3 ? -1 : i % 255 + 1;
            e->m_nList = 1;
            e->m_strName = QStringLiteral("Contact %1").arg((i * 7919) % kContacts);
            e->m_strMobile = QStringLiteral("+4917%1").arg(10000000 + (i * 104729) % kContacts);
            e->m_strHome = QStringLiteral("030 %1").arg(i);
            e->m_strEmail = QStringLiteral("person%1@example.org").arg(i);
            e->m_strMemo = i % 3 ? QStringLiteral("short note") : QStringLiteral("张三的备注 %1").arg(i);
            e->m_nGroup = i % 7;
            doc.m_pcContacts.push_back(std::move(e));
        }
        doc.SaveLocalData();
    }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// How long calls from another thread waited for their answer.
struct ReplyTimes {
    int calls = 0;
    double totalMs = 0;
    double worstMs = 0;
    double MeanMs() const { return calls ? totalMs / calls : 0; }
};

// Calls into the window's thread from another thread, one after the other as a screen reader's
// arrive, for as long as it lives; the times are complete once it has gone.
class ReplyProbe {
public:
    ReplyProbe(QObject& target, ReplyTimes& times) : m_times(times), m_thread([this, &target] { Run(target); }) {}
    ~ReplyProbe()
    {
        m_stop = true;
        // The last call is answered before the thread can end.
        while (!m_done)
            QCoreApplication::processEvents();
        m_thread.join();
    }

private:
    void Run(QObject& target)
    {
        while (!m_stop) {
            QSemaphore answered;
            QElapsedTimer watch;
            watch.start();
            QMetaObject::invokeMethod(&target, [&answered] { answered.release(); }, Qt::QueuedConnection);
            answered.acquire();
            const double ms = double(watch.nsecsElapsed()) / 1e6;
            ++m_times.calls;
            m_times.totalMs += ms;
            m_times.worstMs = std::max(m_times.worstMs, ms);
        }
        m_done = true;
    }

    ReplyTimes& m_times;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Tells when a widget has painted.
class PaintWatch final : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// The program's start-up order: document with its data, frame, forms, shown and painted.
void BM_StartToFirstPaint(benchmark::State& state)
{
    const TenThousandContacts data;
    QtUiServices ui;
    platform::ScopedUiServices uiGuard(ui);
    for (auto _ : state) {
        CMVsyncDoc doc;
        doc.SetDataDir(data.Path());
        doc.OnNewDocument();
        CMainFrame frame(doc);
        ui.SetMainWindow(&frame);
        PaintWatch watch;
        frame.installEventFilter(&watch);
        frame.InitialUpdateFrame();
        frame.show();
        while (!watch.painted)
            QCoreApplication::processEvents();
        state.PauseTiming();
        frame.removeEventFilter(&watch);
        ui.SetMainWindow(nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

struct WindowOnData {
    explicit WindowOnData(const QString& folder) : frame((doc.SetDataDir(folder), doc.OnNewDocument(), doc))
    {
        frame.InitialUpdateFrame();
        frame.show();
        QCoreApplication::processEvents();
        form = qobject_cast<CForm_Contact*>(frame.GetForm(0));
    }
    CMVsyncDoc doc;
    CMainFrame frame;
    CForm_Contact* form = nullptr;
};

void BM_FillPcList(benchmark::State& state)
{
    const TenThousandContacts data;
    WindowOnData window(data.Path());
    for (auto _ : state) {
        window.form->RefreshList(CMVsyncDoc::ListPc);
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = double(window.form->RecordList(ids::IDC_PC_LIST)->GetItemCount());
}
BENCHMARK(BM_FillPcList)->Unit(benchmark::kMillisecond);

// Each column in turn, each time in the other direction (as header clicks do).
void BM_SortPcList(benchmark::State& state)
{
    const TenThousandContacts data;
    WindowOnData window(data.Path());
    CRecordListCtrl* list = window.form->RecordList(ids::IDC_PC_LIST);
    const int column = int(state.range(0));
    bool ascending = true;
    for (auto _ : state) {
        list->SortColumn(column, ascending);
        ascending = !ascending;
    }
    state.SetLabel(list->headerItem()->text(column).toStdString());
}
BENCHMARK(BM_SortPcList)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

// The phonebook page's Read over a pseudo-terminal with the program's clock and services: the
// longest time between two turns of the event loop.
void BM_HandsetReadEventLoopGap(benchmark::State& state)
{
    ServedPhone served;
    QString error;
    if (!served.Start(&error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }

    QtUiServices ui;
    platform::ScopedUiServices uiGuard(ui);
    EventLoopClock clock;
    platform::ScopedClock clockGuard(clock);
    CMVsyncDoc doc;
    doc.SetDataDir(served.Folder());
    doc.OnNewDocument();
    CMainFrame frame(doc);
    ui.SetMainWindow(&frame);
    frame.InitialUpdateFrame();
    frame.show();
    QCoreApplication::processEvents();
    auto* form = qobject_cast<CForm_Contact*>(frame.GetForm(0));

    qint64 longest = 0;
    double seconds = 0;
    int rows = 0;
    ReplyTimes replies;
    for (auto _ : state) {
        QElapsedTimer watch;
        QTimer ticker;
        ticker.setInterval(1);
        qint64 last = 0;
        longest = 0;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = watch.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        ticker.start();
        watch.start();
        replies = {};
        {
            const ReplyProbe probe(frame, replies);
            form->OnMobileRead();
        }
        longest = std::max(longest, watch.elapsed() - last);
        seconds = double(watch.elapsed()) / 1000.0;
        rows = form->RecordList(ids::IDC_HANDSET_LIST)->GetItemCount();
    }
    ui.SetMainWindow(nullptr);
    state.counters["longest_gap_ms"] = double(longest);
    state.counters["read_s"] = seconds;
    state.counters["rows"] = rows;
    state.counters["calls"] = replies.calls;
    state.counters["reply_ms"] = replies.MeanMs();
    state.counters["worst_reply_ms"] = replies.worstMs;
}
BENCHMARK(BM_HandsetReadEventLoopGap)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
