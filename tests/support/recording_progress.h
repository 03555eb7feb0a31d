#pragma once

// The progress view of the tests and benchmarks: what the sessions and exchanges show, recorded,
// or nothing at all.
#include "common/progress_view.h"

#include <QStringList>

#include <memory>

namespace testsupport {

// What the progress views of the operations showed.
struct ProgressLog {
    QStringList steps;
    int opened = 0;   // views made
    int open = 0;     // views alive now
    int finished = 0; // closing runs
};

// A view that records into the log; without one it shows nothing.
class RecordingProgressView final : public common::IProgressView {
public:
    explicit RecordingProgressView(ProgressLog* log = nullptr) : m_log(log)
    {
        if (m_log) {
            ++m_log->opened;
            ++m_log->open;
        }
    }
    ~RecordingProgressView() override
    {
        if (m_log)
            --m_log->open;
    }
    void Step(const QString& text) override
    {
        if (m_log)
            m_log->steps << text;
    }
    void Finish() override
    {
        if (m_log)
            ++m_log->finished;
    }

private:
    ProgressLog* m_log;
};

// Installs recording views for the lifetime of the guard: into the log, or silent ones without.
class ScopedRecordingProgress {
public:
    explicit ScopedRecordingProgress(ProgressLog* log = nullptr)
        : m_guard([log](const common::ProgressRequest&) { return std::make_unique<RecordingProgressView>(log); })
    {
    }

private:
    common::ScopedProgressViewFactory m_guard;
};

} // namespace testsupport
