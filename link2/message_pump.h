#pragma once

namespace dh2 {

// The cancel flag: set by the progress dialog's Cancel (and Esc), by a termination signal and
// by the application quitting during an operation; cleared only when the progress dialog is made
// or closed and by the session's Disconnect. While it is set every wait ends with result 21.
extern bool g_bCancel;

// Dispatches pending window events unless the cancel flag is set; true while it is clear. A
// quit request seen here cancels the operation and is passed on once the session has closed
// its progress dialog.
bool PumpMessages();

} // namespace dh2
