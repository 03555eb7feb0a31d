#include "link2/reply_parser.h"

#include "common/answer_lines.h"
#include "common/reply_parser.h"
#include "common/text_codec.h"

namespace dh2 {

namespace {

constexpr int kNoGroupOnPhone = 255;

// The text of a Base64 field of the phone; nothing when the codec refuses it.
std::optional<QString> DecodeField(const QString& field)
{
    QString text;
    bool ok = true;
    common::CTextCodec(common::GsmDialect::Second).DecodeBase64Text(text, common::RemoveQuotes(field), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString TrimmedRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

// The fields of a phonebook line, commas between quotes kept in their field (a plain fax may hold
// one); false when one of the first `count` is missing.
bool SplitFields(QStringList& fields, const QString& line, int count)
{
    fields.clear();
    for (int k = 0;; ++k) {
        QString field;
        if (!common::ExtractQuotedField(field, line, k))
            break;
        fields << field;
    }
    return fields.size() >= count;
}

std::optional<int> Number(const QString& field)
{
    return common::LeadingNumber(field);
}

// The parts of a date or time field ("2004-03-07", "09:05:00"); false when one holds no number.
bool SplitParts(int (&parts)[3], const QString& field, QChar separator)
{
    const QStringList pieces = field.split(separator);
    if (pieces.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> value = Number(pieces[i]);
        if (!value)
            return false;
        parts[i] = *value;
    }
    return true;
}

// Type 145 marks an international number, which the phone lists without its '+'.
QString WithInternationalPrefix(const QString& number, const QString& type)
{
    if (type.trimmed() == QLatin1String("145") && !number.isEmpty() && !number.startsWith(u'+'))
        return u'+' + number;
    return number;
}

std::optional<int> GroupFromPhone(const QString& field)
{
    const std::optional<int> group = Number(field);
    if (!group)
        return std::nullopt;
    return *group == kNoGroupOnPhone ? CPhoneEntry::kNoGroup : *group;
}

} // namespace

BookLimits ParseBookLimits(const QString& reply)
{
    // The answer's own line alone: an unsolicited "+CMTI: "SM",5" must not give its 5.
    BookLimits limits;
    const std::optional<QString> line = common::AnswerLine(reply, QStringLiteral("+CPBR"));
    if (!line)
        return limits;
    const QString text = common::AnswerValues(*line);
    if (const std::optional<common::IndexRange> range = common::ParseIndexRange(text))
        limits.capacity = range->last;
    if (const std::optional<int> number = common::NumberField(text, 1); number && *number > 0)
        limits.numberLimit = number;
    if (const std::optional<int> bytes = common::NumberField(text, 2); bytes && *bytes / 3 > 0)
        limits.nameLimit = *bytes / 3;
    return limits;
}

std::optional<GroupRange> ParseGroupRange(const QString& reply)
{
    const std::optional<QString> line = common::AnswerLine(reply, QStringLiteral("+CPGR"));
    if (!line)
        return std::nullopt;
    const QString text = common::AnswerValues(*line).remove(u' ');
    const std::optional<int> first = common::NumberField(text, 0);
    const std::optional<int> last = common::NumberField(text, 1);
    if (!first || !last)
        return std::nullopt;
    return GroupRange {*first, *last};
}

std::optional<GroupTable> ParseGroupList(const QString& reply)
{
    const common::ListAnswer answer = common::ListAnswerLines(reply, QStringLiteral("+CPGR"));
    if (!answer.readable)
        return std::nullopt;
    GroupTable groups;
    for (const QString& line : answer.records) {
        QString name;
        QString members;
        QString capacity;
        common::ExtractField(name, line, 1);
        common::ExtractField(members, line, 2);
        common::ExtractField(capacity, line, 3);
        const std::optional<int> memberCount = Number(members.remove(u' '));
        const std::optional<int> capacityCount = Number(capacity.remove(u' '));
        const std::optional<QString> text = DecodeField(name);
        if (!memberCount || !capacityCount || !text)
            return std::nullopt;
        groups.emplace_back(*text, *memberCount, *capacityCount);
    }
    return groups;
}

BookFormat BookFormatOf(const CModelProfile& profile)
{
    return {.groups = profile.callerGroups, .base64Fax = profile.base64Fax, .pairs = profile.pairedBookEntries};
}

QString NumberFromPhone(const QString& number, const QString& type)
{
    QString result = WithInternationalPrefix(number, type);
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result[i] == u'+' && i > 0)
            result[i] = u'P';
        else if (result[i] == u'C')
            result[i] = u'+';
    }
    return result;
}

std::unique_ptr<CPhoneEntry> ParseHandsetEntry(const QString& line, const BookFormat& format)
{
    QStringList fields;
    if (!SplitFields(fields, line, format.groups ? 14 : 11))
        return nullptr;
    auto entry = std::make_unique<CPhoneEntry>();
    const std::optional<int> index = Number(fields[0]);
    const std::optional<QString> name = DecodeField(fields[3]);
    const std::optional<QString> email = fields.size() > 11 ? DecodeField(fields[11]) : QString();
    std::optional<QString> fax = QString();
    if (fields.size() > 12) {
        fax = format.base64Fax ? DecodeField(fields[12]) : common::RemoveQuotes(fields[12]);
        // The phone fills the rest of its record with 0xFF bytes.
        if (fax)
            fax->remove(QChar(0xFF)).remove(QChar::ReplacementCharacter);
    }
    const std::optional<int> group = format.groups ? GroupFromPhone(fields[13]) : std::optional<int>(CPhoneEntry::kNoGroup);
    if (!index || !name || !email || !fax || !group)
        return nullptr;
    entry->m_nIndex = *index;
    entry->m_strName = TrimmedRight(*name);
    entry->m_strEmail = TrimmedRight(*email);
    entry->m_strFax = TrimmedRight(*fax);
    entry->m_nGroup = *group;

    // Three places of number, type and kind; the name stands after the first number.
    constexpr int kPlaces[3][3] = {{1, 2, 4}, {5, 6, 7}, {8, 9, 10}};
    for (const auto& place : kPlaces) {
        const QString number = NumberFromPhone(common::RemoveQuotes(fields[place[0]]), fields[place[1]]);
        if (number.isEmpty())
            continue;
        switch (Number(fields[place[2]]).value_or(1)) {
        case 2: entry->m_strOffice = number; break;
        case 3: entry->m_strHome = number; break;
        default: entry->m_strMobile = number; break;
        }
    }
    entry->m_nList = 3;
    return entry;
}

std::unique_ptr<CPhoneEntry> ParseSimEntry(const QString& line, const BookFormat& format)
{
    QStringList fields;
    if (!SplitFields(fields, line, format.groups ? 5 : 4))
        return nullptr;
    const std::optional<int> index = Number(fields[0]);
    const std::optional<QString> name = DecodeField(fields[3]);
    const std::optional<int> group = format.groups ? GroupFromPhone(fields[4]) : std::optional<int>(CPhoneEntry::kNoGroup);
    if (!index || !name || !group)
        return nullptr;
    auto entry = std::make_unique<CPhoneEntry>();
    entry->m_nSimIndex = *index;
    entry->m_strName = TrimmedRight(*name);
    entry->m_strMobile = WithInternationalPrefix(common::RemoveQuotes(fields[1]), fields[2]);
    entry->m_nGroup = *group;
    entry->m_nList = 4;
    return entry;
}

bool ParseBookReply(const QString& reply, bool sim, const BookFormat& format, RecordList<CPhoneEntry>& list)
{
    const common::ListAnswer answer = common::ListAnswerLines(reply, QStringLiteral("+CPBR"));
    // In pairs, a line without its partner is a piece missing.
    if (!answer.readable || (format.pairs && answer.records.size() % 2 != 0))
        return false;
    for (qsizetype i = format.pairs ? 1 : 0; i < answer.records.size(); i += format.pairs ? 2 : 1) {
        const QString& fields = answer.records[i];
        std::unique_ptr<CPhoneEntry> entry = sim ? ParseSimEntry(fields, format) : ParseHandsetEntry(fields, format);
        if (!entry)
            return false;
        list.push_back(std::move(entry));
    }
    return true;
}

void ParsePhoneDateTime(COleDateTime& start, const QString& date, const QString& time)
{
    int day[3] = {start.GetYear(), start.GetMonth(), start.GetDay()};
    int clock[3] = {start.GetHour(), start.GetMinute(), start.GetSecond()};
    if (!date.trimmed().isEmpty() && !SplitParts(day, date, u'-'))
        return;
    if (!time.trimmed().isEmpty() && !SplitParts(clock, time, u':'))
        return;
    if (day[0] < kFirstPhoneYear || day[0] > kLastPhoneYear)
        return;
    COleDateTime parsed;
    if (parsed.SetDateTime(day[0], day[1], day[2], clock[0], clock[1], clock[2]) == 0)
        start = parsed;
}

int AlarmCodeFor(const COleDateTime& start, const COleDateTime& alarm)
{
    // The small addend keeps a whole number of minutes from falling just short of itself.
    const int minutes = int((start - alarm).GetTotalDays() * 1440.0 + 5.787037037037037e-6);
    switch (minutes) {
    case 0: return CScheduleEntry::AlarmOnTime;
    case 10: return CScheduleEntry::Alarm10Min;
    case 30: return CScheduleEntry::Alarm30Min;
    case 60: return CScheduleEntry::Alarm1Hour;
    case 1440: return CScheduleEntry::Alarm1Day;
    default: return CScheduleEntry::AlarmOnTime;
    }
}

std::optional<QStringList> ScheduleRecordLines(const QString& reply)
{
    const common::ListAnswer answer = common::ListAnswerLines(reply, QStringLiteral("+SSCR"));
    if (!answer.readable)
        return std::nullopt;
    return answer.records;
}

std::unique_ptr<CScheduleEntry> ParseScheduleRecord(const QString& line)
{
    const QStringList fields = line.split(u',');
    if (fields.size() < 5)
        return nullptr;
    const std::optional<int> kind = Number(fields[0]);
    const std::optional<int> index = Number(fields[1]);
    const std::optional<QString> subject = DecodeField(fields[2]);
    if (!kind || !index || !subject)
        return nullptr;
    auto record = std::make_unique<CScheduleEntry>();
    record->m_nKind = *kind;
    record->m_nIndex = *index;
    record->m_strSubject = subject->isEmpty() ? QStringLiteral(" ") : *subject;
    ParsePhoneDateTime(record->m_dtStart, fields[3], fields[4]);
    record->m_nList = 3;
    if (record->IsMemo())
        return record;

    if (fields.size() < 7)
        return nullptr;
    record->m_nRepeat = Number(fields[5]).value_or(0);
    if (fields[6].trimmed() == QLatin1String("1")) {
        if (fields.size() < 9)
            return nullptr;
        COleDateTime alarm = record->m_dtStart;
        ParsePhoneDateTime(alarm, fields[7], fields[8]);
        record->m_nAlarm = AlarmCodeFor(record->m_dtStart, alarm);
    }
    return record;
}

} // namespace dh2
