// The first family's session commands: probe, echo, session start and stop, error reporting
// mode and character set.
#include "phonesim/dialect.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

Response bareAt(const AtCommand& command, PhoneState&)
{
    return command.args.isEmpty() ? Response::ok() : Response::error();
}

// ATE is ATE0.
Response echo(const AtCommand& command, PhoneState& state)
{
    if (command.args.isEmpty() || command.args == "0")
        state.echo = false;
    else if (command.args == "1")
        state.echo = true;
    else
        return Response::error();
    return Response::ok();
}

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

Response cmee(const AtCommand& command, PhoneState& state)
{
    switch (command.form) {
    case Form::Set:
        if (command.args != "0" && command.args != "1" && command.args != "2")
            return Response::error();
        state.cmee = command.args.toInt();
        return Response::ok();
    case Form::Query:
        return Response::ok({"+CMEE: " + QByteArray::number(state.cmee)});
    case Form::Test:
        return Response::ok({"+CMEE: (0-2)"});
    case Form::Action:
        break;
    }
    return Response::error();
}

Response cscs(const AtCommand& command, PhoneState& state)
{
    switch (command.form) {
    case Form::Set: {
        const QByteArray name = Unquoted(command.args);
        if (name.compare("IRA", Qt::CaseInsensitive) == 0)
            state.charset = "IRA";
        else if (name.compare("Base64", Qt::CaseInsensitive) == 0)
            state.charset = "Base64";
        else
            return Response::cmeError(CME_OPERATION_NOT_SUPPORTED);
        return Response::ok();
    }
    case Form::Query:
        return Response::ok({"+CSCS: \"" + state.charset + "\""});
    case Form::Test:
        return Response::ok({"+CSCS: (\"IRA\",\"Base64\")"});
    case Form::Action:
        break;
    }
    return Response::error();
}

} // namespace

void AddDialect1SessionCommands(Dialect& dialect)
{
    dialect.add("", bareAt);
    dialect.add("E", echo);
    dialect.add("+SYNCSTART", syncStart);
    dialect.add("+SYNCSTOP", syncStop);
    dialect.add("+CMEE", cmee);
    dialect.add("+CSCS", cscs);
}

} // namespace phonesim
