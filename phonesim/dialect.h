#pragma once

#include "phonesim/at_command.h"
#include "phonesim/phone_state.h"
#include "phonesim/response.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>

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
    // Runs the handler; an invalid line, an unknown command or one longer than the phone takes
    // gets ERROR.
    Response dispatch(const AtCommand& command, PhoneState& state) const;

    // Command lines longer than this (without the CR) are refused; 0 takes any.
    void setMaxCommandLength(qsizetype length) { m_maxCommandLength = length; }

    // Sets a phone of the family to the way it comes up: its defaults and settings.
    void setPowerOn(std::function<void(PhoneState&)> powerOn) { m_powerOn = std::move(powerOn); }
    void powerOn(PhoneState& state) const;

    // What text typed at the prompt and ended by Ctrl-Z does; without it, Ctrl-Z gets ERROR.
    using PromptHandler = std::function<Response(const QByteArray& text, PhoneState&)>;
    void setPromptHandler(PromptHandler handler) { m_promptHandler = std::move(handler); }
    std::optional<Response> finishPrompt(const QByteArray& text, PhoneState& state) const;

private:
    int m_number;
    std::map<QByteArray, Handler> m_handlers;
    qsizetype m_maxCommandLength = 0;
    std::function<void(PhoneState&)> m_powerOn;
    PromptHandler m_promptHandler;
};

// The dialect of a phone family, or nullptr for one not available; the second family as its
// model 2.
std::unique_ptr<Dialect> MakeDialect(int number);
// The second family as one of its models (1, 2 or 3), or nullptr for another.
std::unique_ptr<Dialect> MakeDialect2(int model);

// First family: AT, ATE0/ATE1, AT+SYNCSTART, AT+SYNCSTOP, AT+CMEE, AT+CSCS.
void AddDialect1SessionCommands(Dialect& dialect);
// First family: AT+CPGR, AT+CPBS, AT+CPBR, AT+CPBW.
void AddDialect1PhonebookCommands(Dialect& dialect);
// First family: AT+CXDR, AT+CXDW, AT+CMDR, AT+CMDW.
void AddDialect1OrganizerCommands(Dialect& dialect);
// First family: AT+CMGF, AT+CPMS, AT+CMGL, AT+CMGD.
void AddDialect1MessageCommands(Dialect& dialect);

// Second family: ATI, AT+SINF, AT+SSLP, AT+SBEG, AT+SEND, AT+CSCS and the standard commands.
void AddDialect2SessionCommands(Dialect& dialect);
// Second family: AT+CPGR, AT+CPBS, AT+CPBR, AT+CPBW.
void AddDialect2PhonebookCommands(Dialect& dialect);
// Second family: AT+SSCR, AT+SSCI, AT+SSCM, AT+SSCW.
void AddDialect2OrganizerCommands(Dialect& dialect);
// Second family: AT+CMGL and AT+CMGR in both modes, AT+CMGW, AT+CMSS and the standard ones.
void AddDialect2MessageCommands(Dialect& dialect);

} // namespace phonesim
