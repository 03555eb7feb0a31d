// The first family's own schedule ("AT+CXDR", "AT+CXDW") and memo ("AT+CMDR", "AT+CMDW")
// commands.
#include "phonesim/dialect.h"
#include "phonesim/command_fields.h"
#include "phonesim/text_field.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr int kMaxRepeat = 4;
constexpr int kMaxAlarm = 5;

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

// A read: the test form answers testLine; "a,b" reaching into the store lists the entries
// from a to b, each as `line` writes it.
template <typename Store, typename Line>
Response Read(const AtCommand& command, const Store& store, const QByteArray& testLine, Line line)
{
    if (command.form == Form::Test)
        return Response::ok({testLine});
    if (command.form != Form::Set)
        return Response::error();
    const std::optional<std::pair<int, int>> range = IndexPair(command.args);
    if (!range || range->first < 0 || range->first > range->second || range->first > store.last)
        return Response::cmeError(CME_INVALID_INDEX);
    QList<QByteArray> lines;
    for (auto it = store.entries.lower_bound(range->first); it != store.entries.end() && it->first <= range->second; ++it)
        lines << line(it->first, it->second);
    return Response::ok(lines);
}

// A write ("AT+XXXW"): one argument deletes that entry; `fieldCount` arguments write the entry
// that makeEntry builds from them at the index the first one names, and the reply names it.
// makeEntry sets the error to answer when it builds none.
template <typename Store, typename MakeEntry>
Response Write(const AtCommand& command, Store& store, PhoneState& state, const QByteArray& name, qsizetype fieldCount,
    MakeEntry makeEntry)
{
    if (command.form != Form::Set)
        return Response::error();
    const QList<QByteArray> args = SplitArguments(command.args);
    if (args.size() == 1)
        return DeleteEntry(args[0], store, state);
    if (args.size() != fieldCount)
        return Response::error();
    int error = 0;
    const std::optional<int> index = WriteIndex(args[0], store, &error);
    if (!index)
        return Response::cmeError(error);
    const auto entry = makeEntry(args, &error);
    if (!entry)
        return Response::cmeError(error);
    store.entries[*index] = *entry;
    state.contentsChanged = true;
    return Response::ok({name + ": " + QByteArray::number(*index)});
}

Response readSchedules(const AtCommand& command, PhoneState& state)
{
    const ScheduleStore& store = state.schedules;
    const QByteArray testLine = "+CXDR: " + RangeText(store) + ",(0-" + QByteArray::number(kMaxRepeat) + "),(0-"
        + QByteArray::number(kMaxAlarm) + ")," + QByteArray::number(store.textLength);
    return Read(command, store, testLine, [&](int index, const ScheduleItem& item) -> QByteArray {
        const QDate date = item.start.date();
        const QTime time = item.start.time();
        return "+CXDR: " + QByteArray::number(index) + ',' + QByteArray::number(item.repeat) + ','
            + QByteArray::number(item.alarm) + ",\"" + TwoDigits(date.year() % 100) + TwoDigits(date.month())
            + TwoDigits(date.day()) + "\",\"" + TwoDigits(time.hour()) + TwoDigits(time.minute()) + "\",\""
            + EncodeTextField(item.subject, state.charset) + '"';
    });
}

// AT+CXDW=index deletes; AT+CXDW=[index],repeat,alarm,"YYMMDDWW","HHMM","subject" writes.
Response writeSchedule(const AtCommand& command, PhoneState& state)
{
    ScheduleStore& store = state.schedules;
    const auto makeItem = [&](const QList<QByteArray>& args, int* error) -> std::optional<ScheduleItem> {
        const std::optional<int> repeat = Number(args[1]);
        const std::optional<int> alarm = Number(args[2]);
        const auto date = Pairs(args[3], 4);
        const auto time = Pairs(args[4], 2);
        if (!repeat || !alarm || *repeat < 0 || *repeat > kMaxRepeat || *alarm < 0 || *alarm > kMaxAlarm || !date || !time) {
            *error = CME_OPERATION_NOT_SUPPORTED;
            return std::nullopt;
        }
        const QDate day(2000 + (*date)[0], (*date)[1], (*date)[2]);
        const QTime clock((*time)[0], (*time)[1]);
        // The weekday must be the date's own (0 Sunday to 6 Saturday).
        if (!day.isValid() || !clock.isValid() || day.dayOfWeek() % 7 != (*date)[3]) {
            *error = CME_OPERATION_NOT_SUPPORTED;
            return std::nullopt;
        }
        // Twice the length for texts outside the GSM alphabet, which take two bytes a character.
        const std::optional<QString> subject = TextArgument(args[5], 2 * store.textLength, state.charset, error);
        if (!subject)
            return std::nullopt;
        return ScheduleItem {QDateTime(day, clock), *repeat, *alarm, *subject};
    };
    return Write(command, store, state, "+CXDW", 6, makeItem);
}

Response readMemos(const AtCommand& command, PhoneState& state)
{
    const MemoStore& store = state.memos;
    const QByteArray testLine = "+CMDR: " + RangeText(store) + ',' + QByteArray::number(store.textLength);
    return Read(command, store, testLine, [&](int index, const QString& text) -> QByteArray {
        return "+CMDR: " + QByteArray::number(index) + ",\"" + EncodeTextField(text, state.charset) + '"';
    });
}

// AT+CMDW=index deletes; AT+CMDW=[index],"text" writes.
Response writeMemo(const AtCommand& command, PhoneState& state)
{
    MemoStore& store = state.memos;
    return Write(command, store, state, "+CMDW", 2, [&](const QList<QByteArray>& args, int* error) {
        return TextArgument(args[1], 2 * store.textLength, state.charset, error);
    });
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
