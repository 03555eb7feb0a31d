#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace phonesim {

// The GSM 03.38 default alphabet, one septet value per byte: the "GSM" character set of the
// AT line and the unpacked form of 7-bit message text. Characters of the extension table go
// as the escape (27) and their code.

// The codes of a text; a character outside the alphabet becomes '?' and clears *allMapped.
QByteArray ToGsmCodes(const QString& text, bool* allMapped = nullptr);
// The text of codes; nothing for a code above 127 or an escape without a known code after it.
std::optional<QString> FromGsmCodes(const QByteArray& codes);

} // namespace phonesim
