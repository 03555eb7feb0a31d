// The commands both families answer alike: probe, echo, error reporting mode, character set,
// and the standard message commands.
#include "phonesim/standard_commands.h"

#include "phonesim/command_fields.h"
#include "phonesim/sms_pdu.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr int kAllMessages = 4;

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

QByteArray Counts(PhoneState& state, const QByteArray& name)
{
    const MessageStore& store = MessageStorage(state, name);
    return QByteArray::number(store.used()) + ',' + QByteArray::number(store.total);
}

Response format(const AtCommand& command, PhoneState& state)
{
    switch (command.form) {
    case Form::Set: {
        const std::optional<int> mode = Number(command.args);
        if (!mode || (*mode != 0 && *mode != 1))
            return Response::error();
        state.messageFormat = *mode;
        return Response::ok();
    }
    case Form::Query:
        return Response::ok({"+CMGF: " + QByteArray::number(state.messageFormat)});
    case Form::Test:
        return Response::ok({"+CMGF: (0,1)"});
    case Form::Action:
        break;
    }
    return Response::error();
}

// AT+CPMS="read"[,"write"[,"receive"]]: an empty name keeps a storage as it is.
Response storages(const AtCommand& command, PhoneState& state)
{
    switch (command.form) {
    case Form::Set: {
        const QList<QByteArray> args = SplitArguments(command.args);
        if (args.size() > 3)
            return Response::cmsError(CMS_INVALID_PDU_PARAMETER);
        QByteArray* const targets[] = {&state.readStorage, &state.writeStorage, &state.receiveStorage};
        QByteArray chosen[3] = {state.readStorage, state.writeStorage, state.receiveStorage};
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QByteArray name = Unquoted(args[i]).toUpper();
            if (name.isEmpty() && i > 0)
                continue;
            if (name != "ME" && name != "SM")
                return Response::cmsError(CMS_INVALID_PDU_PARAMETER);
            chosen[i] = name;
        }
        for (int i = 0; i < 3; ++i)
            *targets[i] = chosen[i];
        return Response::ok({"+CPMS: " + Counts(state, state.readStorage) + ',' + Counts(state, state.writeStorage) + ','
            + Counts(state, state.receiveStorage)});
    }
    case Form::Query:
        return Response::ok({"+CPMS: \"" + state.readStorage + "\"," + Counts(state, state.readStorage) + ",\""
            + state.writeStorage + "\"," + Counts(state, state.writeStorage) + ",\"" + state.receiveStorage + "\","
            + Counts(state, state.receiveStorage)});
    case Form::Test:
        return Response::ok({"+CPMS: (\"ME\",\"SM\"),(\"ME\",\"SM\"),(\"ME\",\"SM\")"});
    case Form::Action:
        break;
    }
    return Response::error();
}

Response remove(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set)
        return Response::error();
    const std::optional<int> index = Number(SplitArguments(command.args).value(0));
    MessageStore& store = MessageStorage(state, state.readStorage);
    if (!index || !store.entries.erase(*index))
        return Response::cmsError(CMS_INVALID_INDEX);
    state.contentsChanged = true;
    return Response::ok();
}

} // namespace

MessageStore& MessageStorage(PhoneState& state, const QByteArray& name)
{
    return name == "SM" ? state.simMessages : state.handsetMessages;
}

// AT+CMGL=stat in PDU mode: a header line and the PDU per message; listing marks unread
// messages read.
Response ListMessagesInPduMode(const AtCommand& command, PhoneState& state)
{
    if (command.form == Form::Test)
        return Response::ok({"+CMGL: (0-4)"});
    if (state.messageFormat != 0)
        return Response::cmsError(CMS_OPERATION_NOT_ALLOWED);
    const std::optional<int> stat = command.form == Form::Action ? std::optional<int>(0) : Number(command.args);
    if (!stat || *stat < 0 || *stat > kAllMessages)
        return Response::cmsError(CMS_INVALID_PDU_PARAMETER);
    QList<QByteArray> lines;
    for (auto& [index, message] : MessageStorage(state, state.readStorage).entries) {
        if (*stat != kAllMessages && message.stat != *stat)
            continue;
        QByteArray alpha = message.alpha.isEmpty() ? QByteArray() : '"' + message.alpha.toLatin1() + '"';
        lines << "+CMGL: " + QByteArray::number(index) + ',' + QByteArray::number(message.stat) + ',' + alpha + ','
                + QByteArray::number(TpduLength(message.pdu));
        lines << message.pdu;
        if (message.stat == 0) {
            message.stat = 1;
            state.contentsChanged = true;
        }
    }
    return Response::ok(lines);
}

void AddStandardCommands(Dialect& dialect)
{
    dialect.add("", bareAt);
    dialect.add("E", echo);
    dialect.add("+CMEE", cmee);
}

void AddStandardMessageCommands(Dialect& dialect)
{
    dialect.add("+CMGF", format);
    dialect.add("+CPMS", storages);
    dialect.add("+CMGD", remove);
}

Dialect::Handler CharsetCommand(QList<QByteArray> names,
    std::function<bool(const QByteArray& name, const PhoneState& state)> allowed)
{
    return [names = std::move(names), allowed = std::move(allowed)](const AtCommand& command, PhoneState& state) {
        switch (command.form) {
        case Form::Set: {
            const QByteArray wanted = Unquoted(command.args);
            for (const QByteArray& name : names) {
                if (wanted.compare(name, Qt::CaseInsensitive) != 0)
                    continue;
                if (allowed && !allowed(name, state))
                    return Response::cmeError(CME_OPERATION_NOT_ALLOWED);
                state.charset = name;
                return Response::ok();
            }
            return Response::cmeError(CME_OPERATION_NOT_SUPPORTED);
        }
        case Form::Query:
            return Response::ok({"+CSCS: \"" + state.charset + "\""});
        case Form::Test:
            return Response::ok({"+CSCS: (\"" + names.join("\",\"") + "\")"});
        case Form::Action:
            break;
        }
        return Response::error();
    };
}

} // namespace phonesim
