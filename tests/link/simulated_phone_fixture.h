#pragma once

// A transport test bench: the virtual clock, a recording user interface, and every serial line
// connected to one simulated phone of the first family.
#include "link/globals.h"
#include "phonesim/phone.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"
#include "platform/serial/serial_device.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <gtest/gtest.h>

class SimulatedPhoneTest : public ::testing::Test {
protected:
    SimulatedPhoneTest()
    {
        g_bUserAbort = false;
        g_nLastError = 0;
        g_nProgressRange = 10;
        g_nIrCommChunk = 20;
        g_nIrCommPause = 20;
        g_nIrCommTimeout = -1;
    }

    testsupport::RecordingUiServices& ui() { return m_ui.ui; }
    qint64 now() { return clock.nowMs(); }

    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    platform::VirtualClock clock;
    phonesim::Phone phone;
    phonesim::SimulatedLineFactory lines {phone};

private:
    platform::ScopedClock m_clockGuard {clock};
    testsupport::ScopedRecordingUi m_ui;
    platform::ScopedSerialDeviceFactory m_factoryGuard {lines};
};
