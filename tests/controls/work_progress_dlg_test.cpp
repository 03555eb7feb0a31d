// The progress window in the styles of both programs, on the flags of their links.
#include "controls/work_progress_dlg.h"

#include "controls/event_loop_clock.h"
#include "link/globals.h"
#include "link/progress_view.h"
#include "link2/message_pump.h"
#include "link2/progress_view.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace dh1;

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
    CWorkProgressDlg dialog(CWorkProgressDlg::kDeskhand, MakeProgressRequest(), &mainWindow);
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    EXPECT_EQ(recording.ui.enableCalls, std::vector<bool> {false});
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("progressing...."));
    EXPECT_EQ(dialog.StopButton()->text(), QStringLiteral("Abort"));
}

TEST_F(WorkProgressDlgTest, AbortSetsTheFlagAndCloses)
{
    CWorkProgressDlg dialog(CWorkProgressDlg::kDeskhand, MakeProgressRequest());
    dialog.Step(QStringLiteral("Connecting to mobile"));
    ASSERT_TRUE(dialog.isVisible());
    dialog.StopButton()->click();
    EXPECT_TRUE(g_bUserAbort);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(WorkProgressDlgTest, EscapeHidesWithoutAbortingAndEnterDoesNothing)
{
    CWorkProgressDlg dialog(CWorkProgressDlg::kDeskhand, MakeProgressRequest());
    dialog.Step(QStringLiteral("Connecting to mobile"));
    dialog.StopButton()->setFocus();
    press(dialog.StopButton(), Qt::Key_Return);
    press(dialog.StopButton(), Qt::Key_Enter);
    press(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(g_bUserAbort);

    press(dialog.StopButton(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(g_bUserAbort);

    // The next step shows it again.
    dialog.Step(QStringLiteral("Closing connection"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(WorkProgressDlgTest, StepsBeyondTheRangeAreClampedAndFinishResetsTheRange)
{
    CWorkProgressDlg dialog(CWorkProgressDlg::kDeskhand, MakeProgressRequest());
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
    CWorkProgressDlg dialog(CWorkProgressDlg::kDeskhand, MakeProgressRequest());
    g_nProgressRange = 4;
    dialog.Step(QStringLiteral("a"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
    dialog.Step(QStringLiteral("b"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 1);
    EXPECT_EQ(dialog.ProgressBar()->maximum(), 4);
}

using dh2::g_bCancel;

class ProgressDialog2Test : public ::testing::Test {
protected:
    ProgressDialog2Test() { g_bCancel = true; }
    ~ProgressDialog2Test() override { g_bCancel = false; }
    testsupport::ScopedRecordingUi recording;
};

// Cancel and Esc only set the flag; the window stays until the operation closes it.
TEST_F(ProgressDialog2Test, CancelAndEscapeSetTheFlagAndKeepTheWindow)
{
    CWorkProgressDlg dialog(CWorkProgressDlg::kDeskhand2, dh2::MakeProgressRequest());
    EXPECT_FALSE(g_bCancel); // a new dialog starts a new operation
    dialog.PlayAnimation();
    dialog.show();
    EXPECT_TRUE(dialog.IsAnimating());
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    dialog.StopButton()->click();
    EXPECT_TRUE(g_bCancel);
    EXPECT_TRUE(dialog.isVisible());

    g_bCancel = false;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
    EXPECT_TRUE(g_bCancel);
    EXPECT_TRUE(dialog.isVisible());

    g_bCancel = false;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &enter);
    EXPECT_FALSE(g_bCancel);
    EXPECT_TRUE(dialog.isVisible());
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ProgressDialog2Test, TwoLooks)
{
    CWorkProgressDlg dialog(CWorkProgressDlg::kDeskhand2, dh2::MakeProgressRequest());
    dialog.Step(QStringLiteral("Loading data... 1-200"));
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("Loading data... 1-200"));
    for (const bool phone : {true, false}) {
        dialog.SetLook(phone);
        const QImage image = dialog.grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 0), platform::toQColor(phone ? 0xCF7C5F : 0x30BBFC));
        EXPECT_EQ(image.pixelColor(1, 1), platform::toQColor(phone ? 0xF3DDD5 : 0x8BD9F8));
        EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::white));
    }
}

// A screen reader finds the stop button of either program's window from the application's root,
// usable, and its Press stops the operation once a pause of the transfer turns the event loop.
TEST(ProgressWindowAccessibility, TheStopButtonIsInTheTreeAndAScreenReadersPressStops)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingUi recording;
    EventLoopClock clock;
    platform::ScopedClock clockGuard{clock};
    const struct {
        const CWorkProgressDlg::Style& style;
        common::ProgressRequest request;
        bool& stopFlag;
        QString name;
    } windows[] = {
        {CWorkProgressDlg::kDeskhand, MakeProgressRequest(), g_bUserAbort, QStringLiteral("Abort")},
        {CWorkProgressDlg::kDeskhand2, dh2::MakeProgressRequest(), g_bCancel, QStringLiteral("Cancel")},
    };
    for (const auto& window : windows) {
        SCOPED_TRACE(window.name.toStdString());
        window.stopFlag = false;
        const std::unique_ptr<CWorkProgressDlg> dialog = CWorkProgressDlg::Open(window.style, window.request);

        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(qApp);
        ASSERT_NE(root, nullptr);
        QAccessibleInterface* shown = nullptr;
        for (int i = 0; i < root->childCount(); ++i) {
            if (root->child(i) && root->child(i)->object() == dialog.get())
                shown = root->child(i);
        }
        ASSERT_NE(shown, nullptr) << "the progress window is not among the application's windows";
        QAccessibleInterface* button = nullptr;
        for (int i = 0; i < shown->childCount(); ++i) {
            QAccessibleInterface* child = shown->child(i);
            if (child && child->role() == QAccessible::Button && child->text(QAccessible::Name) == window.name)
                button = child;
        }
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->state().invisible);
        EXPECT_FALSE(button->state().disabled);
        EXPECT_TRUE(button->state().focusable);
        ASSERT_NE(button->actionInterface(), nullptr);
        EXPECT_TRUE(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        for (int pause = 0; pause < 200 && !window.stopFlag; ++pause)
            platform::Sleep(20);
        EXPECT_TRUE(window.stopFlag);
        window.stopFlag = false;
    }
}

} // namespace
