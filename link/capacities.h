#pragma once

namespace dh1 {

// What the phone can hold: entry counts and field lengths per list. The document's constructor
// gives the first values, every phone read overwrites them from the phone's test replies, and
// the command builders, the document's full tests and the dialogs' length limits read them.

extern int g_nHandsetFirstIndex;
extern int g_nHandsetCapacity;   // last index - first index + 1
extern int g_nHandsetNumberLen;
extern int g_nHandsetNameLen;
extern int g_nHandsetEmailLen;
extern int g_nHandsetMemoLen;

extern int g_nSimFirstIndex;
extern int g_nSimCapacity;       // the last index of the SIM book
extern int g_nSimNumberLen;
extern int g_nSimNameLen;

extern int g_nScheduleCapacity;
extern int g_nScheduleTextLen;
extern int g_nMemoFirstIndex;
extern int g_nMemoCapacity;
extern int g_nMemoTextLen;

// Message storage counts, written by a message read.
extern int g_nSmsHandsetUsed;
extern int g_nSmsHandsetTotal;
extern int g_nSmsSimUsed;
extern int g_nSmsSimTotal;

} // namespace dh1
