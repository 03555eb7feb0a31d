#pragma once

#include "common/command_exchange.h"

#include <QByteArray>

#include <memory>

namespace common {

// Sends one of the commands that end a session, without waiting for its reply: the transport's
// own write and timing, but none of its abort checks, so that no window event is dispatched and
// neither Abort nor a termination request (which stays until the program ends) can keep the
// phone in its session. Ends Sent, NoLine, ReadFailed, or Refused with the write's failure.
CollectOutcome SendClosingCommand(std::unique_ptr<CSerialLine>& line, const QByteArray& command, ICollectPolicy& policy);

} // namespace common
