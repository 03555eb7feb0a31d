// SIGTERM reaching Deskhand2: a running read ends as Cancel ends it, the phone still gets its
// closing commands, and the window closes as Exit closes it, saving the data.
#include "main_window2_fixture.h"

#include "controls/termination_watch.h"
#include "platform/termination_signals.h"

#include <QFileInfo>
#include <QTest>

#include <csignal>

namespace {

using namespace ui2test;

using Termination2 = MainWindow2Test;

TEST_F(Termination2, DuringAReadThePhoneLeavesItsSessionThenTheWindowCloses)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    CTerminationWatch watch([this] { return doc->IsBusy(); }, *frame);
    AddPcContact(QStringLiteral("Keep me"), QStringLiteral("0302"));
    ui.rec.onPump = [&](int) {
        if (!platform::TerminationRequested() && !Sent("AT+CPBS=\"PM\"").isEmpty())
            std::raise(SIGTERM);
    };
    Click(IDC_MOBILE_READ);
    ui.rec.onPump = nullptr;

    EXPECT_EQ(Boxes(), QStringList {"Failed to read Mobile."});
    EXPECT_TRUE(Sent("AT+CPBR=1").isEmpty());
    const QStringList log = Sent({});
    EXPECT_EQ(log.mid(log.size() - 3), QStringList({"AT+SEND", "AT+CSCS=\"GSM\"", "ATE1"}));
    EXPECT_EQ(phone.state().charset, QByteArray("GSM"));
    EXPECT_TRUE(phone.state().echo);

    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 5000));
    CMVsyncDoc saved;
    saved.SetDataDir(dataDir.path());
    saved.LoadLocalData();
    ASSERT_EQ(saved.m_arPcContacts.size(), 1u);
    EXPECT_EQ(saved.m_arPcContacts[0]->m_strName, QStringLiteral("Keep me"));
}

} // namespace
