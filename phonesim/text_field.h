#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace phonesim {

// Text fields in the phone's character set. In "Base64" (the first family) and "SYNC" (the
// second) a text travels as Base64 of its UTF-16 units, low byte first, ended by a zero unit
// (an empty text as an empty field); in "GSM" as codes of the GSM default alphabet; in "IRA"
// as plain ASCII. Characters a set cannot carry, and the double quote outside Base64, go as
// '?'. The phone stores decoded text.
QByteArray EncodeTextField(const QString& text, const QByteArray& charset);
// Nothing when the field is not valid in the character set.
std::optional<QString> DecodeTextField(const QByteArray& field, const QByteArray& charset);

} // namespace phonesim
