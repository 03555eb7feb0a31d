#include "link/message_pump.h"

#include "link/globals.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <gtest/gtest.h>

using namespace dh1;

namespace {

class MessagePumpTest : public ::testing::Test {
protected:
    MessagePumpTest()
    {
        g_bUserAbort = false;
        g_nLastError = 0;
    }
    ~MessagePumpTest() override { g_bUserAbort = false; }

    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingUi recording;
};

TEST_F(MessagePumpTest, PumpReportsTheAbortAndTheEnd)
{
    EXPECT_TRUE(PumpMessages());
    EXPECT_EQ(recording.ui.pumpCount, 1);

    // An Abort pressed while events are dispatched is seen at once.
    recording.ui.onPump = [](int) { g_bUserAbort = true; };
    EXPECT_FALSE(PumpMessages());
    EXPECT_TRUE(g_bUserAbort); // the pump reports it; the transport consumes it

    // Once aborted, nothing more is dispatched.
    EXPECT_FALSE(PumpMessages());
    EXPECT_EQ(recording.ui.pumpCount, 2);

    g_bUserAbort = false;
    recording.ui.onPump = nullptr;
    recording.ui.quitting = true;
    EXPECT_FALSE(PumpMessages());
}

// The box names the reason of the last phone error and clears it, so that the next box
// without a new failure names none.
TEST_F(MessagePumpTest, ErrorBoxAppendsTheReasonAndClearsIt)
{
    const struct {
        int lastError;
        const char* reason;
    } cases[] = {
        {0, ""},           {5, "Invalid index."}, {6, "Invalid index."}, {7, "Memory is full"},
        {8, "Too long number"}, {11, "FDN is checked"}, {14, "Timeout"},   {17, "Port is invalid"},
        {25, "User abort"}, {26, "Calling"},      {-1, ""},
        // The session's own failures.
        {3, "The phone refused the command"}, {4, "The phone reported an error"},
        {15, "The phone's answer could not be read"}, {19, "The line to the phone was lost"},
        {27, "Nothing was sent to the phone"}, {28, "The phone named no index for the new entry"},
    };
    for (const auto& c : cases) {
        recording.ui.boxes.clear();
        g_nLastError = c.lastError;
        ShowError(62000);
        ShowErrorText(QStringLiteral("Failed to connect to mobile."));
        EXPECT_EQ(recording.ui.boxTexts(),
            QStringList({QStringLiteral("Failed to read data. - ") + QLatin1String(c.reason),
                QStringLiteral("Failed to connect to mobile. - ")}))
            << c.lastError;
        EXPECT_EQ(g_nLastError, 0);
        EXPECT_EQ(recording.ui.boxes[0].style, unsigned(platform::MB_ICONINFORMATION));
    }

    // A write whose answer never came: what the phone may have done, and what to do first.
    recording.ui.boxes.clear();
    g_nLastError = 14;
    ShowError(62002, true);
    EXPECT_EQ(recording.ui.boxTexts(),
        QStringList({"Failed to write data. - Timeout\nThe phone may have done it before its answer was lost: read the "
                     "list again before you try again."}));
}

} // namespace
