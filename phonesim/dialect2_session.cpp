// The second family's session commands: identification, the synchronisation mode with its
// sleep setting, and the "GSM" and "SYNC" character sets.
//
// AT+SSLP=n keeps the phone awake through up to n seconds of silence until AT+SEND, which
// ends the synchronisation mode, drops a schedule list written only in part and brings the
// phone's own sleep delay back. "SYNC" can be chosen only in synchronisation mode.
#include "phonesim/command_fields.h"
#include "phonesim/dialect.h"
#include "phonesim/dialect2_model.h"
#include "phonesim/standard_commands.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr int kMaxSleepSeconds = 65535;

Response identify(const AtCommand& command, PhoneState& state)
{
    if (command.args != "" && command.args != "0")
        return Response::error();
    return Response::ok(Model2Of(state).identification);
}

Response firmware(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    return Response::ok({Model2Of(state).firmware});
}

Response sleepDelay(const AtCommand& command, PhoneState& state)
{
    const std::optional<int> seconds = command.form == Form::Set ? Number(command.args) : std::nullopt;
    if (!seconds || *seconds < 0 || *seconds > kMaxSleepSeconds)
        return Response::error();
    state.sleepAfterMs = *seconds * 1000;
    return Response::ok();
}

Response beginSync(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    state.sessionOpen = true;
    return Response::ok();
}

Response endSync(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    state.sessionOpen = false;
    state.dialect2.pendingOrganizer.reset();
    state.sleepAfterMs = state.dialect2.lineStart.sleepAfterMs;
    return Response::ok();
}

} // namespace

void AddDialect2SessionCommands(Dialect& dialect)
{
    AddStandardCommands(dialect);
    dialect.add("I", identify);
    dialect.add("+SINF", firmware);
    dialect.add("+SSLP", sleepDelay);
    dialect.add("+SBEG", beginSync);
    dialect.add("+SEND", endSync);
    dialect.add("+CSCS", CharsetCommand({"GSM", "SYNC"},
                             [](const QByteArray& name, const PhoneState& state) { return name != "SYNC" || state.sessionOpen; }));
}

} // namespace phonesim
