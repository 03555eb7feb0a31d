#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace phonesim {

// Hexadecimal PDUs of stored messages, with an empty service centre part, for state files that
// give a message by its number, text and time. The text goes in the GSM alphabet when every
// character maps one to one, else in UCS-2.

// A received message (SMS-DELIVER) from the number, sent at the time.
QByteArray MakeDeliverPdu(const QString& number, const QString& text, const QDateTime& time);
// A message stored for sending (SMS-SUBMIT) to the number.
QByteArray MakeSubmitPdu(const QString& number, const QString& text);

// The TPDU length that a message list reports: the octets after the service centre part;
// -1 for text that is not a PDU.
int TpduLength(const QByteArray& pduHex);

} // namespace phonesim
