// The first family's own schedule ("AT+CXDR", "AT+CXDW") and memo ("AT+CMDR", "AT+CMDW")
// commands.
#include "phonesim/dialect.h"
#include "phonesim/dialect1_fields.h"
#include "phonesim/text_field.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr int kMaxRepeat = 4;
constexpr int kMaxAlarm = 5;
constexpr int CME_INVALID_CHARACTERS = 25;

QByteArray TwoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// Digits only, exactly `count` of them, as pairs.
std::optional<QList<int>> Pairs(const QByteArray& field, int count)
{
    const QByteArray digits = Unquoted(field);
    if (digits.size() != count * 2)
        return std::nullopt;
    QList<int> pairs;
    for (int i = 0; i < count; ++i) {
        const std::optional<int> pair = Number(digits.mid(i * 2, 2));
        if (!pair)
            return std::nullopt;
        pairs << *pair;
    }
    return pairs;
}

template <typename Store>
QByteArray RangeText(const Store& store)
{
    return '(' + QByteArray::number(store.first) + '-' + QByteArray::number(store.last) + ')';
}

// The index of a read: "a,b" reaching into the store.
template <typename Store>
std::optional<std::pair<int, int>> ReadRange(const AtCommand& command, const Store& store)
{
    const std::optional<std::pair<int, int>> range = IndexPair(command.args);
    if (!range || range->first < 0 || range->first > range->second || range->first > store.last)
        return std::nullopt;
    return range;
}

// The index of a write: the given one within the range, or the lowest free one for an empty
// field. Sets the error to answer otherwise.
template <typename Store>
std::optional<int> WriteIndex(const QByteArray& field, const Store& store, int* error)
{
    if (field.trimmed().isEmpty()) {
        const std::optional<int> free = store.firstFree();
        if (!free)
            *error = CME_MEMORY_FULL;
        return free;
    }
    const std::optional<int> index = Number(field);
    if (!index || !store.inRange(*index)) {
        *error = CME_INVALID_INDEX;
        return std::nullopt;
    }
    return index;
}

template <typename Store>
Response Delete(const QByteArray& field, Store& store, PhoneState& state)
{
    const std::optional<int> index = Number(field);
    if (!index || !store.inRange(*index))
        return Response::cmeError(CME_INVALID_INDEX);
    state.contentsChanged |= store.entries.erase(*index) > 0;
    return Response::ok();
}

Response readSchedules(const AtCommand& command, PhoneState& state)
{
    const ScheduleStore& store = state.schedules;
    if (command.form == Form::Test) {
        return Response::ok({"+CXDR: " + RangeText(store) + ",(0-" + QByteArray::number(kMaxRepeat) + "),(0-"
            + QByteArray::number(kMaxAlarm) + ")," + QByteArray::number(store.textLength)});
    }
    if (command.form != Form::Set)
        return Response::error();
    const auto range = ReadRange(command, store);
    if (!range)
        return Response::cmeError(CME_INVALID_INDEX);
    QList<QByteArray> lines;
    for (auto it = store.entries.lower_bound(range->first); it != store.entries.end() && it->first <= range->second; ++it) {
        const ScheduleItem& item = it->second;
        const QDate date = item.start.date();
        const QTime time = item.start.time();
        lines << "+CXDR: " + QByteArray::number(it->first) + ',' + QByteArray::number(item.repeat) + ','
                + QByteArray::number(item.alarm) + ",\"" + TwoDigits(date.year() % 100) + TwoDigits(date.month())
                + TwoDigits(date.day()) + "\",\"" + TwoDigits(time.hour()) + TwoDigits(time.minute()) + "\",\""
                + EncodeTextField(item.subject, state.charset) + '"';
    }
    return Response::ok(lines);
}

// AT+CXDW=index deletes; AT+CXDW=[index],repeat,alarm,"YYMMDDWW","HHMM","subject" writes.
Response writeSchedule(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set)
        return Response::error();
    ScheduleStore& store = state.schedules;
    const QList<QByteArray> args = SplitArguments(command.args);
    if (args.size() == 1)
        return Delete(args[0], store, state);
    if (args.size() != 6)
        return Response::error();

    int error = 0;
    const std::optional<int> index = WriteIndex(args[0], store, &error);
    if (!index)
        return Response::cmeError(error);
    const std::optional<int> repeat = Number(args[1]);
    const std::optional<int> alarm = Number(args[2]);
    const auto date = Pairs(args[3], 4);
    const auto time = Pairs(args[4], 2);
    if (!repeat || !alarm || *repeat < 0 || *repeat > kMaxRepeat || *alarm < 0 || *alarm > kMaxAlarm || !date || !time)
        return Response::cmeError(CME_OPERATION_NOT_SUPPORTED);
    const QDate day(2000 + (*date)[0], (*date)[1], (*date)[2]);
    const QTime clock((*time)[0], (*time)[1]);
    // The weekday must be the date's own (0 Sunday to 6 Saturday).
    if (!day.isValid() || !clock.isValid() || day.dayOfWeek() % 7 != (*date)[3])
        return Response::cmeError(CME_OPERATION_NOT_SUPPORTED);
    const std::optional<QString> subject = DecodeTextField(Unquoted(args[5]), state.charset);
    if (!subject)
        return Response::cmeError(CME_INVALID_CHARACTERS);
    // Twice the length for texts outside the GSM alphabet, which take two bytes a character.
    if (subject->size() > 2 * store.textLength)
        return Response::cmeError(CME_TEXT_TOO_LONG);

    store.entries[*index] = ScheduleItem {QDateTime(day, clock), *repeat, *alarm, *subject};
    state.contentsChanged = true;
    return Response::ok({"+CXDW: " + QByteArray::number(*index)});
}

Response readMemos(const AtCommand& command, PhoneState& state)
{
    const MemoStore& store = state.memos;
    if (command.form == Form::Test)
        return Response::ok({"+CMDR: " + RangeText(store) + ',' + QByteArray::number(store.textLength)});
    if (command.form != Form::Set)
        return Response::error();
    const auto range = ReadRange(command, store);
    if (!range)
        return Response::cmeError(CME_INVALID_INDEX);
    QList<QByteArray> lines;
    for (auto it = store.entries.lower_bound(range->first); it != store.entries.end() && it->first <= range->second; ++it)
        lines << "+CMDR: " + QByteArray::number(it->first) + ",\"" + EncodeTextField(it->second, state.charset) + '"';
    return Response::ok(lines);
}

// AT+CMDW=index deletes; AT+CMDW=[index],"text" writes.
Response writeMemo(const AtCommand& command, PhoneState& state)
{
    if (command.form != Form::Set)
        return Response::error();
    MemoStore& store = state.memos;
    const QList<QByteArray> args = SplitArguments(command.args);
    if (args.size() == 1)
        return Delete(args[0], store, state);
    if (args.size() != 2)
        return Response::error();
    int error = 0;
    const std::optional<int> index = WriteIndex(args[0], store, &error);
    if (!index)
        return Response::cmeError(error);
    const std::optional<QString> text = DecodeTextField(Unquoted(args[1]), state.charset);
    if (!text)
        return Response::cmeError(CME_INVALID_CHARACTERS);
    if (text->size() > 2 * store.textLength)
        return Response::cmeError(CME_TEXT_TOO_LONG);
    store.entries[*index] = *text;
    state.contentsChanged = true;
    return Response::ok({"+CMDW: " + QByteArray::number(*index)});
}

} // namespace

void AddDialect1OrganizerCommands(Dialect& dialect)
{
    dialect.add("+CXDR", readSchedules);
    dialect.add("+CXDW", writeSchedule);
    dialect.add("+CMDR", readMemos);
    dialect.add("+CMDW", writeMemo);
}

} // namespace phonesim
