#pragma once

#include "link2/records.h"

#include <QChar>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace dh2 {

class CSmsPdu;

// The parsers of the second family's message lists, as plain functions over replies as the
// transport hands them over (echo removed, up to the final "OK").

// One entry of a message list: its header line (after "+CMGL: " or "+CMGR: ") and what
// follows on the lines after it (the text, or the PDU in hexadecimal).
struct MessageListEntry {
    QString header;
    QString body;
};

// The reply without leading line ends and blanks and without its final "OK" line and the
// line ends before it. The text of the last message keeps its own final letters and blanks.
QString TrimMessageReply(const QString& reply);

// The entries of a PDU-mode listing reply, in order: each "+CMGL:" line and the PDU line after
// it. Unsolicited lines and noise are set aside wherever they stand; nothing when a piece of the
// list cannot be read (an entry line that lost its start, an entry without its PDU).
std::optional<QList<MessageListEntry>> PduListingEntries(const QString& reply);

// The entries of a text-mode listing. A header is a line that begins the reply or follows the
// phone's own CR LF, begins with "+CMGL: " and reads as a header (an index and a status);
// every line up to the next header is the message's text, its line breaks kept, without the
// closing line ends. A text can hold such a line too (after its own CR LF): the caller tells
// the listing's headers from the texts' by the storage's count of messages. Empty when the
// reply does not begin with a header.
QList<MessageListEntry> TextListingEntries(const QString& reply);

// The entry of a text-mode read of one message ("+CMGR: " header, then its text): the header is
// the reply's first line, the text everything after it up to the final "OK". Nothing when the
// first line is no "+CMGR: " header.
std::optional<MessageListEntry> TextReadEntry(const QString& reply);

// The status of a text-mode header ("REC READ" 4, "REC UNREAD" 3, "STO SENT" 2, "STO UNSENT" 1),
// and of a PDU listing's status code (0 3, 1 4, 2 1, 3 2); anything else gives 1.
int TextMessageStatus(const QString& status);
int PduMessageStatus(const QString& code);

// Fills a record from a text-mode header "index,status,number,name,date,time,...": commas
// inside quotes stay in their field, and a date and time given as one quoted field
// ("04/03/07,09:05:30+04") are split at their comma. Date and time are taken only when the
// date field is quoted. False when the index or the status is missing.
bool ParseTextMessageHeader(const QString& header, CSmsEntry& entry);

// The text of a text-mode entry by the coding mark that ends its header: "2" four hexadecimal
// digits per UCS-2 unit, anything else codes of the GSM alphabet one character each (with the
// second family's escapes); cut to 2,048 bytes of the locale's width, every line break as CR LF.
QString DecodeMessageText(const QString& text, QChar codingMark);

// A text with every CR LF, lone CR and lone LF as CR LF.
QString NormalisedLineBreaks(const QString& text);

// What a PDU-mode entry gives: a record, an index to read again in text mode (a message the
// decoder leaves: not decodable, or one part of a longer text), or nothing when its header has
// no index or status.
struct PduEntryResult {
    std::unique_ptr<CSmsEntry> record;
    std::optional<int> reRead;
    bool Failed() const { return !record && !reRead; }
};
PduEntryResult ParsePduEntry(const MessageListEntry& entry);

// True when an element of the decoded message is more than text.
bool IsEnhancedMessage(const CSmsPdu& pdu);
// The record of a decoded message (its elements decoded): number, date and time (of a received
// message), and its text, "[EMS]" for an enhanced message, "Empty" for none.
std::unique_ptr<CSmsEntry> MessageRecord(const CSmsPdu& pdu);
// The same from a PDU in hexadecimal. Nothing when the PDU does not decode, or when it is one
// part of a longer plain text.
std::unique_ptr<CSmsEntry> MessageFromPdu(const QString& pduHex);

// The used and total counts of the first storage in the "+CPMS: " line of a reply: its first two
// numbers, or after the storage's name in the answer to the query. Nothing when the reply has no
// such line or it lacks them.
struct StorageCounts {
    int used = 0;
    int total = 0;
};
std::optional<StorageCounts> ParseStorageCounts(const QString& reply);

// The index the "+CMGW: <index>" line of a reply reports; nothing when there is no such line or
// number. Only that line counts: an unsolicited "+CREG: 1" or "+CMTI: "SM",5" beside it names
// no stored message.
std::optional<int> StoredMessageIndex(const QString& reply);

} // namespace dh2
