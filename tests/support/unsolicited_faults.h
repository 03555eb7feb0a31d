#pragma once

// What a phone on a bad day puts before or among the lines of an answer: unsolicited result
// codes (some with a PDU line of their own) and line noise. Both families' lists read whole
// whatever of these comes.
#include "phonesim/fault.h"
#include "phonesim/sms_pdu.h"

#include <QDateTime>

#include <vector>

namespace testsupport {

struct UnsolicitedFault {
    const char* what;
    phonesim::Fault fault;
};

inline const QByteArray& OtherMessagePdu()
{
    static const QByteArray pdu = phonesim::MakeDeliverPdu(QStringLiteral("+1999"), QStringLiteral("other"),
        QDateTime(QDate(2004, 3, 7), QTime(9, 5)));
    return pdu;
}

// With `calls` false, without the RING lines of a call.
inline std::vector<UnsolicitedFault> UnsolicitedFaults(bool calls = true)
{
    using phonesim::Fault;
    const QByteArray pdu = OtherMessagePdu();
    std::vector<UnsolicitedFault> faults {
        {"+CMTI first", Fault::before("\r\n+CMTI: \"SM\",5\r\n")},
        {"+CREG first", Fault::before("\r\n+CREG: 1\r\n")},
        {"RING first", Fault::before("\r\nRING\r\n")},
        {"noise first", Fault::before("\r\n\x7f#~ *!\r\n")},
        {"network and cell first", Fault::before("\r\n+CREG: 1,\"00C3\",\"1A2B\"\r\n+CIEV: 2,3\r\n")},
        {"+CMTI amid", Fault::amid("+CMTI: \"SM\",5\r\n")},
        {"+CREG amid", Fault::amid("+CREG: 1\r\n")},
        {"RING amid", Fault::amid("RING\r\n")},
        {"+CBM amid, with its page", Fault::amid("+CBM: 88\r\n" + pdu + "\r\n")},
        {"+CDS amid, with its PDU", Fault::amid("+CDS: 25\r\n" + pdu + "\r\n")},
        {"+CMT amid, with its PDU", Fault::amid("+CMT: ,25\r\n" + pdu + "\r\n")},
        {"noise amid", Fault::amid("AT\xff\x01#\r\n")},
    };
    if (!calls)
        std::erase_if(faults, [](const UnsolicitedFault& f) { return QByteArray(f.what).startsWith("RING"); });
    return faults;
}

} // namespace testsupport
