#pragma once

// A session test bench: the simulated phone of the first family, a recorded progress view, and
// the capacity globals at the values the document starts with.
#include "link/capacities.h"
#include "link/phone_session.h"
#include "link/progress_view.h"
#include "simulated_phone_fixture.h"
#include "support/recording_progress.h"

#include <QRegularExpression>
#include <QStringList>

#include <memory>

using namespace dh1;

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
        g_nMemoFirstIndex = 1;
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

    testsupport::ProgressLog progress;
    CPhoneSession session;

private:
    testsupport::ScopedRecordingProgress m_progressGuard {&progress};
};
