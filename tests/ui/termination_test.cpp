// SIGTERM reaching the program: a running phone command ends as Abort ends it, and the window
// closes as Exit closes it, saving the data.
#include "organizer_fixture.h"

#include "controls/termination_watch.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <csignal>

#include <gmock/gmock.h>

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::OrganizerTest;

using Termination = OrganizerTest;

QStringList SavedMemos(const QString& folder)
{
    CMVsyncDoc saved;
    saved.SetDataDir(folder);
    saved.LoadLocalData();
    QStringList texts;
    for (const auto& memo : saved.m_pcMemos)
        texts << memo->m_strText;
    return texts;
}

TEST_F(Termination, WhileIdleOpenDialogsCloseThenTheWindowAndTheDataIsSaved)
{
    CTerminationWatch watch([this] { return doc->IsBusy(); }, *frame);
    AddMemo("Keep me");
    // The signal comes while a dialog waits for the user.
    QDialog dialog(frame.get());
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    EXPECT_EQ(dialog.exec(), int(QDialog::Rejected));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 5000));
    EXPECT_THAT(SavedMemos(dataDir.path()), ElementsAre("Keep me"));
}

TEST_F(Termination, DuringAReadTheCommandEndsAsAnAbortThenTheWindowCloses)
{
    for (int i = 6; i <= 20; ++i)
        phone.state().schedules.entries[i] = {QDateTime(QDate(2004, 4, i), QTime(9, 0)), 0, 0, QStringLiteral("S%1").arg(i)};
    CTerminationWatch watch([this] { return doc->IsBusy(); }, *frame);
    AddMemo("Keep me too");
    ShowPage(1);
    ui.rec.onPump = [&](int) {
        if (!platform::TerminationRequested() && !Sent("AT+CXDR=?").isEmpty())
            std::raise(SIGTERM);
    };
    Press(schedule, IDC_MOBILE_READ);
    ui.rec.onPump = nullptr;

    EXPECT_THAT(Boxes(), ElementsAre("Failed to read data. - User abort"));
    EXPECT_TRUE(Sent("AT+CXDR=1,30").isEmpty());
    EXPECT_EQ(Sent("AT+SYNCSTOP").size(), 1);
    EXPECT_FALSE(lines.lineOpen());
    EXPECT_FALSE(doc->m_session.m_bConnected);
    EXPECT_EQ(schedule->RecordList(IDC_PHONE_LIST)->GetItemCount(), 0);

    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 5000));
    EXPECT_THAT(SavedMemos(dataDir.path()), ElementsAre("Keep me too"));
}

// A signal asks to end and nobody may be there to answer a box: when the save fails the window
// closes without asking, and the previous file stays.
TEST_F(Termination, WhenTheSaveFailsTheWindowClosesWithoutAsking)
{
    CTerminationWatch watch([this] { return doc->IsBusy(); }, *frame);
    AddMemo("Lost");
    ASSERT_TRUE(QDir(dataDir.path()).mkdir(QStringLiteral("mvsync.dat")));
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 5000));
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_TRUE(QFileInfo(dataDir.filePath(QStringLiteral("mvsync.dat"))).isDir());
}

} // namespace
