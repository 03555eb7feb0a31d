// The first family's phonebook commands: caller groups, book selection, the handset ("ME") and
// SIM ("AD") books, read, write and delete.
#include "phonesim/dialect.h"
#include "phonesim/command_fields.h"
#include "phonesim/text_field.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr int kTypeInternational = 145;
constexpr int kTypeNational = 129;
constexpr int kTypeEmpty = 255;
constexpr int kGroupNameLength = 12;
constexpr int EXT_FDN = 14;

bool IsSim(const PhoneState& state)
{
    return state.book == "AD";
}

Book& SelectedBook(PhoneState& state)
{
    return IsSim(state) ? state.sim : state.handset;
}

// A number as a phone line carries it: its digits with the type of address.
QByteArray NumberFields(const QString& number)
{
    if (number.isEmpty())
        return "\"\"," + QByteArray::number(kTypeEmpty);
    if (number.startsWith(u'+'))
        return '"' + number.mid(1).toLatin1() + "\"," + QByteArray::number(kTypeInternational);
    return '"' + number.toLatin1() + "\"," + QByteArray::number(kTypeNational);
}

QByteArray Quoted(const QString& text, const PhoneState& state)
{
    return '"' + EncodeTextField(text, state.charset) + '"';
}

QByteArray EntryLine(int index, const BookEntry& entry, bool sim, const PhoneState& state)
{
    QByteArray line = "+CPBR: " + QByteArray::number(index) + ',' + QByteArray::number(entry.group) + ','
        + NumberFields(entry.mobile);
    if (sim)
        return line + ',' + Quoted(entry.name, state);
    return line + ',' + NumberFields(entry.home) + ',' + NumberFields(entry.office) + ',' + Quoted(entry.name, state)
        + ',' + Quoted(entry.email, state) + ',' + Quoted(entry.memo, state);
}

// A dialled number as written: digits, '*', '#', pause letters and a leading '+'. Nothing for
// a number with other characters.
std::optional<QString> DialNumber(const QByteArray& field, const QByteArray& type, int maxLength, int* error)
{
    const QString number = QString::fromLatin1(Unquoted(field));
    for (qsizetype i = 0; i < number.size(); ++i) {
        const QChar c = number[i];
        const bool allowed = (c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'p' || c == u'P'
            || (c == u'+' && i == 0);
        if (!allowed) {
            *error = CME_INVALID_CHARACTERS;
            return std::nullopt;
        }
    }
    const QString digits = number.startsWith(u'+') ? number.mid(1) : number;
    if (digits.size() > maxLength) {
        *error = CME_DIAL_STRING_TOO_LONG;
        return std::nullopt;
    }
    if (!digits.isEmpty() && type.trimmed().toInt() == kTypeInternational)
        return u'+' + digits;
    return number;
}

Response groups(const AtCommand& command, PhoneState& state)
{
    if (command.form == Form::Test)
        return Response::ok({"+CPGR: (0-" + QByteArray::number(PhoneState::kGroupCount - 1) + ")," + QByteArray::number(kGroupNameLength)});
    if (command.form != Form::Set)
        return Response::error();
    const std::optional<std::pair<int, int>> range = IndexPair(command.args);
    if (!range || range->first < 0 || range->second >= PhoneState::kGroupCount || range->first > range->second)
        return Response::cmeError(CME_INVALID_INDEX);
    QList<QByteArray> lines;
    for (int group = range->first; group <= range->second && group < state.groups.size(); ++group)
        lines << "+CPGR: " + QByteArray::number(group) + ',' + Quoted(state.groups[group], state);
    return Response::ok(lines);
}

Response selectBook(const AtCommand& command, PhoneState& state)
{
    switch (command.form) {
    case Form::Set: {
        const QByteArray name = Unquoted(command.args).toUpper();
        if (name != "ME" && name != "AD")
            return Response::cmeError(CME_OPERATION_NOT_SUPPORTED);
        state.book = name;
        return Response::ok();
    }
    case Form::Query: {
        const Book& book = SelectedBook(state);
        return Response::ok({"+CPBS: \"" + state.book + "\"," + QByteArray::number(book.used()) + ','
            + QByteArray::number(book.capacity())});
    }
    case Form::Test:
        return Response::ok({"+CPBS: (\"ME\",\"AD\")"});
    case Form::Action:
        break;
    }
    return Response::error();
}

Response readBook(const AtCommand& command, PhoneState& state)
{
    const bool sim = IsSim(state);
    if (sim && state.fdn)
        return Response::extError(EXT_FDN);
    const Book& book = SelectedBook(state);
    if (command.form == Form::Test) {
        QByteArray line = "+CPBR: (" + QByteArray::number(book.first) + '-' + QByteArray::number(book.last) + "),"
            + QByteArray::number(book.numberLength) + ',' + QByteArray::number(book.nameLength);
        if (!sim)
            line += ',' + QByteArray::number(book.emailLength) + ',' + QByteArray::number(book.memoLength);
        return Response::ok({line});
    }
    if (command.form != Form::Set)
        return Response::error();
    const std::optional<std::pair<int, int>> range = IndexPair(command.args);
    // A range may start below the first index (the PC reads from 0) but must reach into the book.
    if (!range || range->first < 0 || range->first > range->second || range->first > book.last)
        return Response::cmeError(CME_INVALID_INDEX);
    // One index asked for and nothing there; a range with nothing in it is simply empty.
    if (!command.args.contains(',') && !book.entries.count(range->first))
        return Response::cmeError(CME_NOT_FOUND);
    QList<QByteArray> lines;
    for (auto it = book.entries.lower_bound(range->first); it != book.entries.end() && it->first <= range->second; ++it)
        lines << EntryLine(it->first, it->second, sim, state);
    return Response::ok(lines);
}

// AT+CPBW=index deletes; AT+CPBW=[index],group,... writes and reports the index it used.
Response writeBook(const AtCommand& command, PhoneState& state)
{
    const bool sim = IsSim(state);
    if (sim && state.fdn)
        return Response::extError(EXT_FDN);
    Book& book = SelectedBook(state);
    if (command.form == Form::Test) {
        return Response::ok({"+CPBW: (" + QByteArray::number(book.first) + '-' + QByteArray::number(book.last) + "),"
            + QByteArray::number(book.numberLength) + ",(129,145,255)," + QByteArray::number(book.nameLength)});
    }
    if (command.form != Form::Set)
        return Response::error();
    const QList<QByteArray> args = SplitArguments(command.args);
    if (args.size() == 1)
        return DeleteEntry(args[0], book, state);
    if (args.size() != (sim ? 5 : 11))
        return Response::error();

    int error = 0;
    const std::optional<int> index = WriteIndex(args[0], book, &error);
    if (!index)
        return Response::cmeError(error);
    const std::optional<int> group = Number(args[1].trimmed());
    if (!group || *group < 0 || *group >= PhoneState::kGroupCount)
        return Response::cmeError(CME_INVALID_INDEX);

    BookEntry entry;
    entry.group = *group;
    const int numberFields = sim ? 1 : 3;
    QString* const numbers[] = {&entry.mobile, &entry.home, &entry.office};
    for (int n = 0; n < numberFields; ++n) {
        const std::optional<QString> number = DialNumber(args[2 + 2 * n], args[3 + 2 * n], book.numberLength, &error);
        if (!number)
            return Response::cmeError(error);
        *numbers[n] = *number;
    }
    const int firstText = sim ? 4 : 8;
    QString* const texts[] = {&entry.name, &entry.email, &entry.memo};
    const int limits[] = {book.nameLength, book.emailLength, book.memoLength};
    for (int t = 0; t < (sim ? 1 : 3); ++t) {
        const std::optional<QString> text = TextArgument(args[firstText + t], limits[t], state.charset, &error);
        if (!text)
            return Response::cmeError(error);
        *texts[t] = *text;
    }
    book.entries[*index] = entry;
    state.contentsChanged = true;
    return Response::ok({"+CPBW: " + QByteArray::number(*index)});
}

} // namespace

void AddDialect1PhonebookCommands(Dialect& dialect)
{
    dialect.add("+CPGR", groups);
    dialect.add("+CPBS", selectBook);
    dialect.add("+CPBR", readBook);
    dialect.add("+CPBW", writeBook);
}

} // namespace phonesim
