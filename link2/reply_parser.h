#pragma once

#include "link2/model_profile.h"
#include "link2/records.h"

#include <QString>

#include <memory>
#include <optional>

namespace dh2 {

// The reply parsers of the second family, as plain functions over replies as the transport
// hands them over (echo removed, up to the final "OK").

// The limits of a book from its "AT+CPBR=?" reply, "+CPBR: (1-200),20,60": the capacity is the
// number between '-' and ')', field 1 the number limit and field 2 the name limit in bytes, three
// to a character, all from the reply's own "+CPBR:" line. A part that is missing, or a limit that
// is not positive, is left out; all are without that line.
struct BookLimits {
    std::optional<int> capacity;
    std::optional<int> numberLimit;
    std::optional<int> nameLimit;
};
BookLimits ParseBookLimits(const QString& reply);

// The first and last group index of an "AT+CPGR=?" reply ("+CPGR: 0,6"), from its own line;
// nothing when that line has no two numbers.
struct GroupRange {
    int first = 0;
    int last = 0;
};
std::optional<GroupRange> ParseGroupRange(const QString& reply);

// The groups of an "AT+CPGR=first,last" reply, in order, unsolicited lines and noise set aside;
// nothing when a piece of the list cannot be read, a group lacks its member count or capacity,
// or its name is not Base64 the codec takes.
std::optional<GroupTable> ParseGroupList(const QString& reply);

// How a model lays out its phonebook lines.
struct BookFormat {
    bool groups = false;    // a group field ends every line
    bool base64Fax = false; // a handset entry's fax field is Base64, else plain text
    bool pairs = false;     // every entry comes as two lines, the second counts
};
BookFormat BookFormatOf(const CModelProfile& profile);

// One handset entry after "+CPBR:", and one SIM entry; nothing when a field it needs is missing
// or a text field does not decode.
std::unique_ptr<CPhoneEntry> ParseHandsetEntry(const QString& fields, const BookFormat& format);
std::unique_ptr<CPhoneEntry> ParseSimEntry(const QString& fields, const BookFormat& format);

// Appends the entries of a "+CPBR" list reply, unsolicited lines and noise set aside. False when
// a piece of the list cannot be read (nothing appended), or at the first entry that does not
// parse (the entries before it stay).
bool ParseBookReply(const QString& reply, bool sim, const BookFormat& format, RecordList<CPhoneEntry>& list);

// A number as the phone lists it, as the records keep it: type 145 puts a '+' in front when it
// lacks one; a '+' further on is a pause, 'P'; a 'C' is a '+'.
QString NumberFromPhone(const QString& number, const QString& type);

// One "+SSCR: " record after those seven characters; nothing when a field it needs is missing.
std::unique_ptr<CScheduleEntry> ParseScheduleRecord(const QString& fields);

// Appends the records of an "AT+SSCR" reply, calling onRecord after each; false when a piece of
// the list cannot be read (nothing appended), or at the first record that does not parse (the
// records before it stay).
template <typename OnRecord>
bool ParseScheduleReply(const QString& reply, RecordList<CScheduleEntry>& list, OnRecord onRecord);

// The start of a phone record from its date ("2004-03-07") and time ("09:05:00") fields, each
// part by its leading number. An empty field leaves its half of `start`; a date or time out of
// range leaves `start` as it was.
void ParsePhoneDateTime(COleDateTime& start, const QString& date, const QString& time);

// The alarm code of an alarm moment before the start: 0, 10, 30, 60 and 1440 minutes give 1 to
// 5; any other distance gives 1 (on time).
int AlarmCodeFor(const COleDateTime& start, const COleDateTime& alarm);

// The record lines of a schedule reply, each without its "+SSCR:", unsolicited lines and noise
// set aside; nothing when a piece of the list cannot be read.
std::optional<QStringList> ScheduleRecordLines(const QString& reply);

template <typename OnRecord>
bool ParseScheduleReply(const QString& reply, RecordList<CScheduleEntry>& list, OnRecord onRecord)
{
    const std::optional<QStringList> lines = ScheduleRecordLines(reply);
    if (!lines)
        return false;
    for (const QString& line : *lines) {
        std::unique_ptr<CScheduleEntry> record = ParseScheduleRecord(line);
        if (!record)
            return false;
        list.push_back(std::move(record));
        onRecord();
    }
    return true;
}

} // namespace dh2
