#pragma once

// A session test bench: the simulated phone of the first family, a recorded progress view, and
// the capacity globals at the values the document starts with.
#include "link/capacities.h"
#include "link/phone_session.h"
#include "link/progress_view.h"
#include "simulated_phone_fixture.h"

#include <QRegularExpression>
#include <QStringList>

#include <memory>

struct ProgressLog {
    QStringList steps;
    int opened = 0;
    int finished = 0;
};

class RecordingProgressView final : public common::IProgressView {
public:
    explicit RecordingProgressView(ProgressLog& log) : m_log(log) { ++m_log.opened; }
    void Step(const QString& text) override { m_log.steps << text; }
    void Finish() override { ++m_log.finished; }

private:
    ProgressLog& m_log;
};

class PhoneSessionTest : public SimulatedPhoneTest {
protected:
    PhoneSessionTest()
    {
        g_nHandsetFirstIndex = 1;
        g_nHandsetCapacity = 255;
        g_nHandsetNumberLen = 40;
        g_nHandsetNameLen = 20;
        g_nHandsetEmailLen = 30;
        g_nHandsetMemoLen = 50;
        g_nSimFirstIndex = 1;
        g_nSimCapacity = 100;
        g_nSimNumberLen = 20;
        g_nSimNameLen = 12;
        g_nScheduleCapacity = 30;
        g_nScheduleTextLen = 30;
        g_nMemoFirstIndex = 0;
        g_nMemoCapacity = 20;
        g_nMemoTextLen = 40;
        g_arrGroupNames.clear();
    }

    // The commands the phone received, as text.
    QStringList commands() const
    {
        QStringList list;
        for (const QByteArray& entry : phone.commandLog())
            list << QString::fromLatin1(entry);
        return list;
    }
    // Those that begin with the prefix, in order.
    QStringList commands(const QString& prefix) const { return commands().filter(QRegularExpression(u'^' + QRegularExpression::escape(prefix))); }

    ProgressLog progress;
    CPhoneSession session;

private:
    common::ScopedProgressViewFactory m_progressGuard {[this](const common::ProgressRequest&) { return std::make_unique<RecordingProgressView>(progress); }};
};
