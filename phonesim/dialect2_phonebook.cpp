// The second family's phonebook: the caller-group table, the handset ("PM") and SIM ("SM")
// books, read, write and delete.
//
// How this phone answers where nothing else decides it:
// - "AT+CPBR=?" reports the name length in bytes, three to a character.
// - A range or an index with nothing in it is a bare OK, so that reads in blocks, halves, pairs
//   and single indices all get through empty places.
// - A handset entry goes as index, then three (number, type, kind) places with the name after
//   the first number: `+CPBR: 1,"4917012",145,"<name>",1,"",129,2,"",129,3,"<e-mail>","<fax>",0`.
//   The places come back as they were written. A number goes without its leading '+', with type
//   145 when international, else (and when empty) 129; a '+' further on is a pause.
// - Model 1 lists every entry twice, first in the short form `+CPBR: 1,"4917012",145,"<name>"`
//   and then in its full form (which for the SIM is the short form again).
// - Names, e-mail and a model 1 fax go in the character set. The fax of models 2 and 3 goes as
//   plain bytes, its record filled up to 24 bytes with 0xFF.
// - Trailing blanks of written texts are the PC's padding and are not stored; the limits apply
//   to what is left (name: the book's, e-mail and fax: 24).
// - A write answers a bare OK: the PC chooses the index.
// - A write into a caller group that holds as many handset entries as its capacity answers
//   "+CGR ERROR" (the SIM book's group field is kept but not counted).
// - With the SIM not ready, reads and writes of "SM" answer +CME ERROR: 10.
#include "phonesim/command_fields.h"
#include "phonesim/dialect.h"
#include "phonesim/dialect2_model.h"
#include "phonesim/text_field.h"

namespace phonesim {

namespace {

using Form = AtCommand::Form;

constexpr int kTypeInternational = 145;
constexpr int kTypeNational = 129;
constexpr int kTextLength = 24; // e-mail and fax
constexpr char kUnusedByte = char(0xFF);

bool IsSim(const PhoneState& state)
{
    return state.dialect2.book == "SM";
}

QByteArray NumberFields(const QString& number)
{
    if (number.startsWith(u'+'))
        return '"' + number.mid(1).toLatin1() + "\"," + QByteArray::number(kTypeInternational);
    return '"' + number.toLatin1() + "\"," + QByteArray::number(kTypeNational);
}

QByteArray Quoted(const QString& text, const PhoneState& state)
{
    return '"' + EncodeTextField(text, state.charset) + '"';
}

QByteArray PlainFax(const QString& fax)
{
    QByteArray bytes;
    for (const QChar c : fax)
        bytes += c.unicode() <= 0xFF && c != u'"' ? char(c.unicode()) : '?';
    return '"' + bytes.leftJustified(kTextLength, kUnusedByte) + '"';
}

QByteArray GroupField(int group, const PhoneState& state)
{
    return Model2Of(state).callerGroups ? ',' + QByteArray::number(group) : QByteArray();
}

QList<QByteArray> HandsetLines(int index, const HandsetEntry2& entry, const PhoneState& state)
{
    const Model2& model = Model2Of(state);
    const QByteArray head = "+CPBR: " + QByteArray::number(index) + ',';
    QByteArray full = head + NumberFields(entry.numbers[0].number) + ',' + Quoted(entry.name, state) + ','
        + QByteArray::number(entry.numbers[0].kind);
    for (int slot = 1; slot < 3; ++slot)
        full += ',' + NumberFields(entry.numbers[slot].number) + ',' + QByteArray::number(entry.numbers[slot].kind);
    full += ',' + Quoted(entry.email, state) + ',' + (model.base64Fax ? Quoted(entry.fax, state) : PlainFax(entry.fax))
        + GroupField(entry.group, state);
    if (!model.pairedLines)
        return {full};
    return {head + NumberFields(entry.numbers[0].number) + ',' + Quoted(entry.name, state), full};
}

QList<QByteArray> SimLines(int index, const SimEntry2& entry, const PhoneState& state)
{
    const QByteArray line = "+CPBR: " + QByteArray::number(index) + ',' + NumberFields(entry.number) + ','
        + Quoted(entry.name, state) + GroupField(entry.group, state);
    return Model2Of(state).pairedLines ? QList<QByteArray> {line, line} : QList<QByteArray> {line};
}

// A number as written: digits, '*', '#' and '+', at most maxLength of them after a leading '+';
// type 145 makes it international. Blanks alone are no number.
std::optional<QString> DialNumber(const QByteArray& numberField, const QByteArray& typeField, int maxLength, int* error)
{
    QString number = QString::fromLatin1(Unquoted(numberField).trimmed());
    if (number.isEmpty())
        return number;
    for (const QChar c : number) {
        if (!c.isDigit() && c != u'*' && c != u'#' && c != u'+') {
            *error = CME_INVALID_DIAL_CHARACTERS;
            return std::nullopt;
        }
    }
    const std::optional<int> type = Number(typeField);
    if (!type || (*type != kTypeInternational && *type != kTypeNational)) {
        *error = CME_INCORRECT_PARAMETERS;
        return std::nullopt;
    }
    if (*type == kTypeInternational && !number.startsWith(u'+'))
        number.prepend(u'+');
    if (number.size() - (number.startsWith(u'+') ? 1 : 0) > maxLength) {
        *error = CME_DIAL_STRING_TOO_LONG;
        return std::nullopt;
    }
    return number;
}

// A group field: a group of the table or 255 for none.
std::optional<int> Group(const QByteArray& field, const PhoneState& state)
{
    const std::optional<int> group = Number(field);
    if (!group || (*group != Dialect2State::kNoGroup && (*group < 0 || *group >= int(state.dialect2.groups.size()))))
        return std::nullopt;
    return group;
}

int Members(const Dialect2State& phone, int group)
{
    int members = 0;
    for (const auto& [index, entry] : phone.handset.entries)
        members += entry.group == group ? 1 : 0;
    return members;
}

// Reads "a,b" or "a" of a book whose entries `lines` lists.
template <typename Book, typename Lines>
Response Read(const AtCommand& command, const Book& book, Lines lines)
{
    const std::optional<std::pair<int, int>> range = IndexPair(command.args);
    if (!range || range->first < book.first || range->first > range->second || range->second > book.last)
        return Response::cmeError(CME_INVALID_INDEX);
    QList<QByteArray> out;
    for (auto it = book.entries.lower_bound(range->first); it != book.entries.end() && it->first <= range->second; ++it)
        out << lines(it->first, it->second);
    return Response::ok(out);
}

Response groups(const AtCommand& command, PhoneState& state)
{
    const std::vector<CallerGroup>& table = state.dialect2.groups;
    if (!Model2Of(state).callerGroups)
        return Response::error();
    if (command.form == Form::Test)
        return Response::ok({"+CPGR: 0," + QByteArray::number(int(table.size()) - 1)});
    if (command.form != Form::Set)
        return Response::error();
    const std::optional<std::pair<int, int>> range = IndexPair(command.args);
    if (!range || range->first < 0 || range->first > range->second || range->second >= int(table.size()))
        return Response::cmeError(CME_INVALID_INDEX);
    QList<QByteArray> lines;
    for (int group = range->first; group <= range->second; ++group) {
        lines << "+CPGR: " + QByteArray::number(group) + ',' + Quoted(table[group].name, state) + ','
                + QByteArray::number(Members(state.dialect2, group)) + ',' + QByteArray::number(table[group].capacity);
    }
    return Response::ok(lines);
}

Response selectBook(const AtCommand& command, PhoneState& state)
{
    switch (command.form) {
    case Form::Set: {
        const QByteArray name = Unquoted(command.args).toUpper();
        if (name != "PM" && name != "SM")
            return Response::cmeError(CME_OPERATION_NOT_SUPPORTED);
        state.dialect2.book = name;
        return Response::ok();
    }
    case Form::Query: {
        const bool sim = IsSim(state);
        const int used = sim ? state.dialect2.sim.used() : state.dialect2.handset.used();
        const int capacity = sim ? state.dialect2.sim.capacity() : state.dialect2.handset.capacity();
        return Response::ok({"+CPBS: \"" + state.dialect2.book + "\"," + QByteArray::number(used) + ','
            + QByteArray::number(capacity)});
    }
    case Form::Test:
        return Response::ok({"+CPBS: (\"PM\",\"SM\")"});
    case Form::Action:
        break;
    }
    return Response::error();
}

Response readBook(const AtCommand& command, PhoneState& state)
{
    Dialect2State& phone = state.dialect2;
    const bool sim = IsSim(state);
    if (sim && !phone.simReady)
        return Response::cmeError(CME_SIM_NOT_INSERTED);
    const int first = sim ? phone.sim.first : phone.handset.first;
    const int last = sim ? phone.sim.last : phone.handset.last;
    if (command.form == Form::Test) {
        return Response::ok({"+CPBR: (" + QByteArray::number(first) + '-' + QByteArray::number(last) + "),"
            + QByteArray::number(sim ? phone.sim.numberLength : phone.handset.numberLength) + ','
            + QByteArray::number(3 * (sim ? phone.sim.nameLength : phone.handset.nameLength))});
    }
    if (command.form != Form::Set)
        return Response::error();
    if (sim)
        return Read(command, phone.sim, [&](int index, const SimEntry2& entry) { return SimLines(index, entry, state); });
    return Read(command, phone.handset, [&](int index, const HandsetEntry2& entry) { return HandsetLines(index, entry, state); });
}

// AT+CPBW=index,"number",type,kind... (14 fields with groups, 13 without).
std::optional<HandsetEntry2> HandsetEntry(const QList<QByteArray>& args, const PhoneState& state, int* error)
{
    const Book2<HandsetEntry2>& book = state.dialect2.handset;
    HandsetEntry2 entry;
    const int places[3][3] = {{1, 2, 4}, {5, 6, 7}, {8, 9, 10}}; // number, type, kind
    for (int slot = 0; slot < 3; ++slot) {
        const std::optional<QString> number = DialNumber(args[places[slot][0]], args[places[slot][1]], book.numberLength, error);
        if (!number)
            return std::nullopt;
        const std::optional<int> kind = Number(args[places[slot][2]]);
        if (!kind || *kind < 1 || *kind > 3) {
            *error = CME_INCORRECT_PARAMETERS;
            return std::nullopt;
        }
        entry.numbers[slot] = {*number, *kind};
    }
    const std::optional<QString> name = PaddedTextArgument(args[3], book.nameLength, state.charset, error);
    const std::optional<QString> email = name ? PaddedTextArgument(args[11], kTextLength, state.charset, error) : std::nullopt;
    const QByteArray faxCharset = Model2Of(state).base64Fax ? state.charset : QByteArray("IRA");
    const std::optional<QString> fax = email ? PaddedTextArgument(args[12], kTextLength, faxCharset, error) : std::nullopt;
    if (!fax)
        return std::nullopt;
    entry.name = *name;
    entry.email = *email;
    entry.fax = Model2Of(state).base64Fax ? *fax : QString(*fax).remove(QChar(0xFF)); // the phone's own fill
    return entry;
}

// AT+CPBW=index,"number",type,"name"[,group].
std::optional<SimEntry2> SimEntry(const QList<QByteArray>& args, const PhoneState& state, int* error)
{
    const Book2<SimEntry2>& book = state.dialect2.sim;
    const std::optional<QString> number = DialNumber(args[1], args[2], book.numberLength, error);
    const std::optional<QString> name = number ? PaddedTextArgument(args[3], book.nameLength, state.charset, error) : std::nullopt;
    if (!name)
        return std::nullopt;
    return SimEntry2 {*name, *number, Dialect2State::kNoGroup};
}

// A handset write into a group that holds as many entries as it takes, unless the entry at that
// index is in the group already.
bool FillsFullGroup(const Dialect2State& phone, int index, int group)
{
    if (group == Dialect2State::kNoGroup)
        return false;
    const auto existing = phone.handset.entries.find(index);
    if (existing != phone.handset.entries.end() && existing->second.group == group)
        return false;
    return Members(phone, group) >= phone.groups[group].capacity;
}

// One argument deletes; fieldCount arguments write the entry makeEntry builds from them, with
// the group field last on a model with caller groups.
template <typename Book, typename MakeEntry>
Response Write(const QList<QByteArray>& args, Book& book, PhoneState& state, qsizetype fieldCount, MakeEntry makeEntry,
    bool countsInGroups)
{
    if (args.size() == 1)
        return DeleteEntry(args[0], book, state);
    const bool callerGroups = Model2Of(state).callerGroups;
    if (args.size() != fieldCount + (callerGroups ? 1 : 0))
        return Response::error();
    int error = 0;
    const std::optional<int> index = WriteIndex(args[0], book, &error);
    if (!index)
        return Response::cmeError(error);
    auto entry = makeEntry(args, state, &error);
    if (!entry)
        return Response::cmeError(error);
    if (callerGroups) {
        const std::optional<int> group = Group(args.last(), state);
        if (!group)
            return Response::cmeError(CME_INVALID_INDEX);
        entry->group = *group;
        if (countsInGroups && FillsFullGroup(state.dialect2, *index, *group))
            return Response::cgrError();
    }
    book.entries[*index] = *entry;
    state.contentsChanged = true;
    return Response::ok();
}

Response writeBook(const AtCommand& command, PhoneState& state)
{
    Dialect2State& phone = state.dialect2;
    const bool sim = IsSim(state);
    if (sim && !phone.simReady)
        return Response::cmeError(CME_SIM_NOT_INSERTED);
    if (command.form != Form::Set)
        return Response::error();
    const QList<QByteArray> args = SplitArguments(command.args);
    if (sim)
        return Write(args, phone.sim, state, 4, SimEntry, false);
    return Write(args, phone.handset, state, 13, HandsetEntry, true);
}

} // namespace

void AddDialect2PhonebookCommands(Dialect& dialect)
{
    dialect.add("+CPGR", groups);
    dialect.add("+CPBS", selectBook);
    dialect.add("+CPBR", readBook);
    dialect.add("+CPBW", writeBook);
}

} // namespace phonesim
