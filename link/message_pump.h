#pragma once

#include <QString>

namespace dh1 {

// Dispatches pending window events so that the progress dialog's Abort button works during a
// transfer. Stops early once the user has aborted; a termination signal counts as an abort
// (see platform::ScopedTerminationSignals). True when the user has not aborted; false also when
// the application is quitting.
bool PumpMessages();

// The phone error box: the message, " - " and the reason for g_nLastError, which it then clears.
void ShowError(int stringId);
void ShowErrorText(const QString& text);

} // namespace dh1
