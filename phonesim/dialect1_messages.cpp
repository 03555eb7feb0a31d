// The first family's stored-message commands: format, storages, list in PDU mode, delete.
#include "phonesim/dialect.h"
#include "phonesim/dialect1_fields.h"
#include "phonesim/sms_pdu.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

enum CmsCode : int {
    CMS_OPERATION_NOT_ALLOWED = 302,
    CMS_INVALID_PARAMETER = 304,
    CMS_INVALID_INDEX = 321,
};

constexpr int kAllMessages = 4;

MessageStore& Storage(PhoneState& state, const QByteArray& name)
{
    return name == "SM" ? state.simMessages : state.handsetMessages;
}

QByteArray Counts(PhoneState& state, const QByteArray& name)
{
    const MessageStore& store = Storage(state, name);
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
            return Response::cmsError(CMS_INVALID_PARAMETER);
        QByteArray* const targets[] = {&state.readStorage, &state.writeStorage, &state.receiveStorage};
        QByteArray chosen[3] = {state.readStorage, state.writeStorage, state.receiveStorage};
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QByteArray name = Unquoted(args[i]).toUpper();
            if (name.isEmpty() && i > 0)
                continue;
            if (name != "ME" && name != "SM")
                return Response::cmsError(CMS_INVALID_PARAMETER);
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

// AT+CMGL=stat in PDU mode: a header line and the PDU per message; listing marks unread
// messages read.
Response list(const AtCommand& command, PhoneState& state)
{
    if (command.form == Form::Test)
        return Response::ok({"+CMGL: (0-4)"});
    if (state.messageFormat != 0)
        return Response::cmsError(CMS_OPERATION_NOT_ALLOWED);
    const std::optional<int> stat = command.form == Form::Action ? std::optional<int>(0) : Number(command.args);
    if (!stat || *stat < 0 || *stat > kAllMessages)
        return Response::cmsError(CMS_INVALID_PARAMETER);
    QList<QByteArray> lines;
    for (auto& [index, message] : Storage(state, state.readStorage).entries) {
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

Response remove(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set)
        return Response::error();
    const std::optional<int> index = Number(SplitArguments(command.args).value(0));
    MessageStore& store = Storage(state, state.readStorage);
    if (!index || !store.entries.erase(*index))
        return Response::cmsError(CMS_INVALID_INDEX);
    state.contentsChanged = true;
    return Response::ok();
}

} // namespace

void AddDialect1MessageCommands(Dialect& dialect)
{
    dialect.add("+CMGF", format);
    dialect.add("+CPMS", storages);
    dialect.add("+CMGL", list);
    dialect.add("+CMGD", remove);
}

} // namespace phonesim
