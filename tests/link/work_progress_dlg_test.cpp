#include "link/work_progress_dlg.h"

#include "link/globals.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class WorkProgressDlgTest : public ::testing::Test {
protected:
    WorkProgressDlgTest()
    {
        g_bUserAbort = false;
        g_nProgressRange = 10;
    }
    ~WorkProgressDlgTest() override { g_bUserAbort = false; }

    // A key as the user types it: to the focused widget, passed up while nobody takes it.
    void press(QWidget* target, Qt::Key key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard {clock};
    testsupport::ScopedRecordingUi recording;
};

TEST_F(WorkProgressDlgTest, IsATopLevelWindowThatDisablesTheMainWindow)
{
    QWidget mainWindow;
    CWorkProgressDlg dialog(&mainWindow);
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    EXPECT_EQ(recording.ui.enableCalls, std::vector<bool> {false});
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("progressing...."));
    EXPECT_EQ(dialog.AbortButton()->text(), QStringLiteral("Abort"));
}

TEST_F(WorkProgressDlgTest, AbortSetsTheFlagAndCloses)
{
    CWorkProgressDlg dialog;
    dialog.Step(QStringLiteral("Connecting to mobile"));
    ASSERT_TRUE(dialog.isVisible());
    dialog.AbortButton()->click();
    EXPECT_TRUE(g_bUserAbort);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(WorkProgressDlgTest, EscapeHidesWithoutAbortingAndEnterDoesNothing)
{
    CWorkProgressDlg dialog;
    dialog.Step(QStringLiteral("Connecting to mobile"));
    dialog.AbortButton()->setFocus();
    press(dialog.AbortButton(), Qt::Key_Return);
    press(dialog.AbortButton(), Qt::Key_Enter);
    press(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(g_bUserAbort);

    press(dialog.AbortButton(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(g_bUserAbort);

    // The next step shows it again.
    dialog.Step(QStringLiteral("Closing connection"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(WorkProgressDlgTest, StepsBeyondTheRangeAreClampedAndFinishResetsTheRange)
{
    CWorkProgressDlg dialog;
    const qint64 start = clock.nowMs();
    for (int i = 0; i < 12; ++i)
        dialog.Step(QStringLiteral("Reading phonebook %1").arg(i));
    EXPECT_EQ(clock.nowMs() - start, 1200);
    EXPECT_EQ(dialog.StepCount(), 12);
    EXPECT_EQ(dialog.ProgressBar()->maximum(), 10);
    EXPECT_EQ(dialog.ProgressBar()->value(), 10);
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("Reading phonebook 11"));

    g_nProgressRange = 30;
    dialog.Step(QStringLiteral("more"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 12);

    const qint64 finishStart = clock.nowMs();
    dialog.Finish();
    EXPECT_EQ(clock.nowMs() - finishStart, 600);
    EXPECT_EQ(g_nProgressRange, 10);
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("Updating data"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 30);
}

TEST_F(WorkProgressDlgTest, FirstStepStartsAtZero)
{
    CWorkProgressDlg dialog;
    g_nProgressRange = 4;
    dialog.Step(QStringLiteral("a"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
    dialog.Step(QStringLiteral("b"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 1);
    EXPECT_EQ(dialog.ProgressBar()->maximum(), 4);
}

} // namespace
