#pragma once

#include <QString>

namespace dh1 {

// Dispatches pending window events so that the progress dialog's Abort button works during a
// transfer. Stops early once the user has aborted; a termination signal counts as an abort
// (see platform::ScopedTerminationSignals). True when the user has not aborted; false also when
// the application is quitting.
bool PumpMessages();

// The phone error box: the message, " - " and the reason for g_nLastError, which it then clears.
// After a write or delete whose answer never came (`unconfirmed`) a second line says that the
// phone may have done it and that the list wants reading before another try.
void ShowError(int stringId, bool unconfirmed = false);
void ShowErrorText(const QString& text, bool unconfirmed = false);

// The reason the phone error box appends for a last-error code; empty for codes without one.
QString ErrorReasonText(int lastError);

} // namespace dh1
