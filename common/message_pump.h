#pragma once

namespace common {

// What a pump does when it finds the application quitting while an operation runs.
enum class QuitRule {
    Report,          // return false; the caller decides
    RememberAsAbort, // set the abort flag and remember the request, so that the operation ends
                     // as an abort does and the program quits once it has unwound (ResumeQuit)
};

// Dispatches pending window events so that a progress window's Abort or Cancel works during a
// transfer; nothing is dispatched once `abortFlag` is set. A termination signal sets the flag
// (see platform::ScopedTerminationSignals). True when the flag is clear.
bool PumpMessages(bool& abortFlag, QuitRule rule);

// True while a quit request is remembered.
bool QuitRemembered();
// Passes a remembered quit request on to the application and forgets it; true when there was
// one. Called when the operation that saw it has ended.
bool ResumeQuit();

} // namespace common
