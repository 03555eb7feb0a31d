#pragma once

#include "phonesim/at_command.h"
#include "phonesim/phone_state.h"
#include "phonesim/response.h"

#include <functional>
#include <map>
#include <memory>

namespace phonesim {

// The commands one phone family understands: a handler per command name. A dialect is built
// by adding groups of commands (the session commands, the phonebook, ...).
class Dialect {
public:
    using Handler = std::function<Response(const AtCommand&, PhoneState&)>;

    explicit Dialect(int number) : m_number(number) {}

    int number() const { return m_number; }
    // name as AtCommand::name gives it: "" for AT, "E", "+CPBR", ...
    void add(const QByteArray& name, Handler handler);
    bool handles(const QByteArray& name) const;
    // Runs the handler; an invalid line or an unknown command gets ERROR.
    Response dispatch(const AtCommand& command, PhoneState& state) const;

private:
    int m_number;
    std::map<QByteArray, Handler> m_handlers;
};

// The dialect of a phone family, or nullptr for one not available.
std::unique_ptr<Dialect> MakeDialect(int number);

// First family: AT, ATE0/ATE1, AT+SYNCSTART, AT+SYNCSTOP, AT+CMEE, AT+CSCS.
void AddDialect1SessionCommands(Dialect& dialect);
// First family: AT+CPGR, AT+CPBS, AT+CPBR, AT+CPBW.
void AddDialect1PhonebookCommands(Dialect& dialect);
// First family: AT+CXDR, AT+CXDW, AT+CMDR, AT+CMDW.
void AddDialect1OrganizerCommands(Dialect& dialect);
// First family: AT+CMGF, AT+CPMS, AT+CMGL, AT+CMGD.
void AddDialect1MessageCommands(Dialect& dialect);

} // namespace phonesim
