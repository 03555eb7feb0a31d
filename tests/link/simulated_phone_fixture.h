#pragma once

// A transport test bench: the shared line bench with a phone of the first family, and the
// link's globals as a session starts with them.
#include "link/globals.h"
#include "support/simulated_line_fixture.h"

using namespace dh1;

class SimulatedPhoneTest : public SimulatedLineTest {
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
};
