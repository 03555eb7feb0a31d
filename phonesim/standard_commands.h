#pragma once

// Commands and helpers that both families answer alike.
#include "phonesim/dialect.h"

#include <QList>

#include <functional>

namespace phonesim {

// +CMS ERROR codes of the message commands.
enum CmsCode : int {
    CMS_OPERATION_NOT_ALLOWED = 302,
    CMS_OPERATION_NOT_SUPPORTED = 303,
    CMS_INVALID_PDU_PARAMETER = 304,
    CMS_INVALID_TEXT_PARAMETER = 305,
    CMS_INVALID_INDEX = 321,
    CMS_MEMORY_FULL = 322,
};

// The message storage of that name: "SM" the SIM, anything else the handset.
MessageStore& MessageStorage(PhoneState& state, const QByteArray& name);

// AT+CMGL=stat in PDU mode: a header line and the PDU per message; listing marks unread
// messages read. Refused in text mode.
Response ListMessagesInPduMode(const AtCommand& command, PhoneState& state);

// AT, ATE0/ATE1 and AT+CMEE.
void AddStandardCommands(Dialect& dialect);
// AT+CMGF, AT+CPMS and AT+CMGD.
void AddStandardMessageCommands(Dialect& dialect);

// AT+CSCS offering the names given; `allowed`, when set, may refuse a name in the present state
// with +CME ERROR: 3.
Dialect::Handler CharsetCommand(QList<QByteArray> names,
    std::function<bool(const QByteArray& name, const PhoneState& state)> allowed = {});

} // namespace phonesim
