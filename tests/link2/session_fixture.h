#pragma once

// A session test bench for the second family: a simulated phone of one model on the virtual
// clock, the session with a recorded progress view, the profile and group table as the program
// starts, and the phone's command log.
#include "link2/message_pump.h"
#include "link2/model_profile.h"
#include "link2/phone_session.h"
#include "link2/progress_view.h"
#include "phonesim/dialect2_model.h"
#include "phonesim/text_field.h"
#include "support/recording_progress.h"
#include "support/simulated_line_fixture.h"

#include <QStringList>

#include <memory>

namespace link2test {

// A text field as the phone sends and takes it in "SYNC".
inline QString Sync(const QString& text)
{
    return QString::fromLatin1(phonesim::EncodeTextField(text, "SYNC"));
}

class SessionTest : public SimulatedLineTest {
protected:
    explicit SessionTest(int model = 2) : SimulatedLineTest(phonesim::MakeDialect2(model))
    {
        dh2::g_bCancel = false;
        dh2::ModelProfile().SetModel(dh2::CModelProfile::TypeCorvo);
        dh2::ResetDefaultGroups();
    }
    ~SessionTest() override { dh2::g_bCancel = false; }

    // The commands the phone received, as text (ESC as "\x1b").
    QStringList commands() const
    {
        QStringList list;
        for (const QByteArray& entry : phone.commandLog())
            list << QString::fromLatin1(entry);
        return list;
    }
    // Those that begin with the prefix, in order.
    QStringList commands(const QString& prefix) const
    {
        QStringList list;
        for (const QString& command : commands()) {
            if (command.startsWith(prefix))
                list << command;
        }
        return list;
    }

    phonesim::Dialect2State& phoneState() { return phone.state().dialect2; }

    testsupport::ProgressLog progress;
    dh2::CPhoneSession session;

private:
    testsupport::ScopedRecordingProgress m_progressGuard {&progress};
};

} // namespace link2test
