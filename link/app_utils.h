#pragma once

#include <QString>

namespace dh1 {

// Application-wide helpers of the phone link.

// What a number field takes of a number (Deskhand's number rule): the digits, '#', '*', every
// pause letter 'p' or 'P', and a '+' only as the first character.
QString CleanPhoneNumber(const QString& number);

// The family test of the original platform. Linux counts as the NT family, so settings kept
// per family come from the NT-family section.
bool IsWindowsNT();

// The help page for the system language ("help_en.html" unless a translation exists).
void GetHelpFileName(QString& name);

// The reason the phone error box appends for a last-error code; empty for codes without one.
QString ErrorReasonText(int lastError);

} // namespace dh1
