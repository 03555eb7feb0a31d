#pragma once

// A serial-line test bench: the virtual clock, a recording user interface, English texts, and
// every serial line connected to one simulated phone (of the first family unless a dialect is
// given). Needs dh_phonesim.
#include "phonesim/dialect.h"
#include "phonesim/phone.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"
#include "platform/serial/serial_device.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <gtest/gtest.h>

#include <memory>

class SimulatedLineTest : public ::testing::Test {
protected:
    SimulatedLineTest() : SimulatedLineTest(phonesim::MakeDialect(1)) {}
    explicit SimulatedLineTest(std::unique_ptr<phonesim::Dialect> dialect) : phone(std::move(dialect)) {}

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
