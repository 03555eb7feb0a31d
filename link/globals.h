#pragma once

#include <QString>
#include <QStringList>

namespace dh1 {

// Process-wide state of the phone link, shared by the transport, the session, the progress
// dialog and the document.

// Set by the progress dialog's Abort button; cleared by whoever reports or ends the operation.
extern bool g_bUserAbort;
// Last phone error for the error box (transport codes 5, 6, 7, 8, 11, 14, 25, 26; 7 from the
// forms for a full list); the error box clears it.
extern int g_nLastError;
// Upper end of the progress bar; set before an operation, back to 10 when it finishes.
extern int g_nProgressRange;
// The program's folder with a trailing separator.
extern QString g_strProgramDir;
// The phone's caller-group names as the last phonebook read delivered them.
extern QStringList g_arrGroupNames;

// Infrared write pacing and silence limit from config.ini; -1 means the built-in value.
extern int g_nIrCommChunk;   // bytes per write piece
extern int g_nIrCommPause;   // ms between pieces
extern int g_nIrCommTimeout; // seconds of silence

// The debug options' trace switch; nothing else acts on it.
extern bool g_bTrace;

} // namespace dh1
