// The second family's combined list of schedule entries and memos: read whole with AT+SSCR,
// written whole with AT+SSCI, one AT+SSCM per entry and AT+SSCW.
//
// How this phone answers where nothing else decides it:
// - The commands work in synchronisation mode only (else +CME ERROR: 3).
// - AT+SSCR lists the entries in the order they were written:
//     +SSCR: 1,<index>,"<subject>",2004-03-07,09:05:00,<repeat>,0
//     +SSCR: 1,<index>,"<subject>",2004-03-07,09:05:00,<repeat>,1,2004-03-07,08:55:00
//     +SSCR: 2,<index>,"<memo text>",2004-03-01,12:00:00
// - AT+SSCI starts a new list; AT+SSCM=kind,index,"text",Y,M,D,h,m,s,repeat,alarm,Y,M,D,h,m,s
//   adds to it: kind 1 or 2, index 0-19 and not yet in the list, text of at most 30 characters
//   (its padding blanks dropped), times in the years 1900 to 2100; the alarm moment counts only
//   with alarm 1, and a memo keeps its text and date alone. The 21st entry answers
//   +CME ERROR: 20.
// - AT+SSCW makes the new list the phone's. Without AT+SSCI before it, it answers OK and
//   changes nothing; AT+SEND drops a list that was never ended by AT+SSCW.
#include "phonesim/command_fields.h"
#include "phonesim/dialect.h"
#include "phonesim/text_field.h"

#include <algorithm>

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr int kTextLength = 30;
constexpr int kMaxRepeat = 4;
constexpr qsizetype kWriteFields = 17;

QByteArray DateAndTime(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-dd,HH:mm:ss")).toLatin1();
}

QByteArray Line(const OrganizerEntry& entry, const PhoneState& state)
{
    QByteArray line = "+SSCR: " + QByteArray::number(entry.kind) + ',' + QByteArray::number(entry.index) + ",\""
        + EncodeTextField(entry.text, state.charset) + "\"," + DateAndTime(entry.start);
    if (entry.kind == 2)
        return line;
    line += ',' + QByteArray::number(entry.repeat) + (entry.alarm ? ",1," + DateAndTime(*entry.alarm) : QByteArray(",0"));
    return line;
}

// Six numbers from `first` on: year, month, day, hour, minute, second, in the phone's years.
std::optional<QDateTime> Moment(const QList<QByteArray>& args, int first)
{
    int values[6];
    for (int i = 0; i < 6; ++i) {
        const std::optional<int> value = Number(args[first + i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    const QDate date(values[0], values[1], values[2]);
    const QTime time(values[3], values[4], values[5]);
    if (!date.isValid() || !time.isValid() || values[0] < Dialect2State::kFirstYear || values[0] > Dialect2State::kLastYear)
        return std::nullopt;
    return QDateTime(date, time);
}

Response read(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    if (!state.sessionOpen)
        return Response::cmeError(CME_OPERATION_NOT_ALLOWED);
    QList<QByteArray> lines;
    for (const OrganizerEntry& entry : state.dialect2.organizer)
        lines << Line(entry, state);
    return Response::ok(lines);
}

Response begin(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    if (!state.sessionOpen)
        return Response::cmeError(CME_OPERATION_NOT_ALLOWED);
    state.dialect2.pendingOrganizer.emplace();
    return Response::ok();
}

std::optional<OrganizerEntry> Entry(const QList<QByteArray>& args, const std::vector<OrganizerEntry>& list,
    const PhoneState& state, int* error)
{
    OrganizerEntry entry;
    const std::optional<int> kind = Number(args[0]);
    const std::optional<int> index = Number(args[1]);
    const std::optional<int> repeat = Number(args[9]);
    const std::optional<int> alarm = Number(args[10]);
    const std::optional<QDateTime> start = Moment(args, 3);
    const bool alarmSet = alarm == 1;
    const std::optional<QDateTime> alarmMoment = alarmSet ? Moment(args, 11) : std::nullopt;
    *error = CME_INCORRECT_PARAMETERS;
    if (!kind || (*kind != 1 && *kind != 2) || !start || !repeat || *repeat < 0 || *repeat > kMaxRepeat || !alarm
        || (*alarm != 0 && !alarmSet) || (alarmSet && !alarmMoment))
        return std::nullopt;
    const bool taken = std::any_of(list.begin(), list.end(), [&](const OrganizerEntry& other) { return other.index == index; });
    if (!index || *index < 0 || *index >= Dialect2State::kOrganizerCapacity || taken) {
        *error = CME_INVALID_INDEX;
        return std::nullopt;
    }
    const std::optional<QString> text = PaddedTextArgument(args[2], kTextLength, state.charset, error);
    if (!text)
        return std::nullopt;
    entry.kind = *kind;
    entry.index = *index;
    entry.text = *text;
    entry.start = *start;
    if (entry.kind == 1) {
        entry.repeat = *repeat;
        entry.alarm = alarmMoment;
    }
    return entry;
}

Response add(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set)
        return Response::error();
    std::optional<std::vector<OrganizerEntry>>& list = state.dialect2.pendingOrganizer;
    if (!state.sessionOpen || !list)
        return Response::cmeError(CME_OPERATION_NOT_ALLOWED);
    const QList<QByteArray> args = SplitArguments(command.args);
    if (args.size() != kWriteFields)
        return Response::error();
    if (int(list->size()) >= Dialect2State::kOrganizerCapacity)
        return Response::cmeError(CME_MEMORY_FULL);
    int error = 0;
    const std::optional<OrganizerEntry> entry = Entry(args, *list, state, &error);
    if (!entry)
        return Response::cmeError(error);
    list->push_back(*entry);
    return Response::ok();
}

Response write(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Action)
        return Response::error();
    if (!state.sessionOpen)
        return Response::cmeError(CME_OPERATION_NOT_ALLOWED);
    Dialect2State& phone = state.dialect2;
    if (phone.pendingOrganizer) {
        phone.organizer = std::move(*phone.pendingOrganizer);
        phone.pendingOrganizer.reset();
        state.contentsChanged = true;
    }
    return Response::ok();
}

} // namespace

void AddDialect2OrganizerCommands(Dialect& dialect)
{
    dialect.add("+SSCR", read);
    dialect.add("+SSCI", begin);
    dialect.add("+SSCM", add);
    dialect.add("+SSCW", write);
}

} // namespace phonesim
