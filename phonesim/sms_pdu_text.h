#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace phonesim {

// What a stored PDU holds, as a text-mode listing shows it.
struct PduContent {
    enum Alphabet { Gsm = 0, Data = 1, Ucs2 = 2 };

    bool received = true; // SMS-DELIVER; false for an SMS-SUBMIT
    QString number;       // '+' first when international
    QDateTime time;       // received messages only
    int zoneQuarters = 0; // of the time stamp, signed
    Alphabet alphabet = Gsm;
    QString text;    // GSM and UCS-2 messages, without the user-data header
    QByteArray data; // 8-bit messages, without the user-data header
};

// Reads a hexadecimal PDU with its service centre part; nothing for any other message type or
// a field that runs past the end.
std::optional<PduContent> ReadPdu(const QByteArray& pduHex);

} // namespace phonesim
