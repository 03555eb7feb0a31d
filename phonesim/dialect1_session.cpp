// The first family's session commands: session start and stop and its character sets, beside
// the probe, echo and error reporting mode that both families share.
#include "phonesim/dialect.h"
#include "phonesim/standard_commands.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

Response syncStart(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    state.sessionOpen = true;
    return Response::ok();
}

Response syncStop(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    state.sessionOpen = false;
    return Response::ok();
}

} // namespace

void AddDialect1SessionCommands(Dialect& dialect)
{
    AddStandardCommands(dialect);
    dialect.add("+SYNCSTART", syncStart);
    dialect.add("+SYNCSTOP", syncStop);
    dialect.add("+CSCS", CharsetCommand({"IRA", "Base64"}));
}

} // namespace phonesim
