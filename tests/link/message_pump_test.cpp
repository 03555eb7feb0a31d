#include "link/message_pump.h"

#include "link/globals.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <gtest/gtest.h>

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

TEST_F(MessagePumpTest, ErrorBoxAppendsTheReasonAndClearsIt)
{
    ShowError(62000);
    g_nLastError = 14;
    ShowErrorText(QStringLiteral("Failed to connect to mobile."));
    EXPECT_EQ(g_nLastError, 0);
    ShowError(62002);
    g_nLastError = 11;
    ShowError(62000);
    EXPECT_EQ(recording.ui.boxTexts(),
        QStringList({QStringLiteral("Failed to read data. - "), QStringLiteral("Failed to connect to mobile. - Timeout"),
            QStringLiteral("Failed to write data. - "), QStringLiteral("Failed to read data. - FDN is checked")}));
    for (const auto& box : recording.ui.boxes)
        EXPECT_EQ(box.style, unsigned(platform::MB_ICONINFORMATION));
}

} // namespace
