#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QStringList>

#include <optional>

// The reply-parsing rules both families' sessions share, as plain functions over reply texts as
// the transports hand them over: echo removed, ending with the final "OK" line.

namespace common {

// Cuts "\r", "\n" and blanks from the left, and from the right the line ends, blanks and one
// final "OK" line; nothing else (a field may well end in 'O' or 'K').
QString TrimListReply(const QString& reply);

// "\r", "\n" and blanks cut from both ends.
QString TrimLine(const QString& text);

// How a reply is cut into segments at a prefix. Only an occurrence that begins a line (at the
// start of the text or after a line end, blanks allowed) counts, since text fields in Base64 may
// hold the prefix's letters. A segment runs from one occurrence to the next, or to the end.
enum class SegmentRule {
    // The first segment also holds whatever stands before the first occurrence; an empty
    // prefix or text leaves GetReplyLine's out untouched (the first family's session).
    WithLeadingText,
    // Every segment begins at its occurrence; out is emptied on every failure (the second's).
    FromPrefix,
};

// The n-th segment (from 0) of a reply; false when there is none (out emptied, but see the
// rule for an empty prefix or text).
bool GetReplyLine(QString& out, const QString& text, int n, const QString& prefix,
    SegmentRule rule = SegmentRule::WithLeadingText);

// Every segment GetReplyLine gives for n = 0, 1, 2, ..., in one pass.
QStringList ReplySegments(const QString& text, const QString& prefix, SegmentRule rule = SegmentRule::WithLeadingText);

// Field k (from 0) of a text split at every separator, quotes or not; false when the text has
// fewer fields.
bool ExtractField(QString& out, const QString& text, int k, QChar separator = u',');

// The same, with commas between double quotes kept inside their field ("5,1,\"Al,ice\",23"
// has four fields).
bool ExtractQuotedField(QString& out, const QString& text, int k);

// The text without any double quote.
QString RemoveQuotes(const QString& text);

// A decimal number as atoi reads it (leading blanks, sign, digits up to the first other
// character); nothing when no digit follows.
std::optional<int> LeadingNumber(const QString& text);

// Comma field k of a text as a number; nothing when the field is missing or holds no number.
std::optional<int> NumberField(const QString& text, int k);

// The index range of a test reply such as "+CPBR: (1-255),40,20,30,50": the numbers between
// the first '(' and the first '-' and between that '-' and the first ')'. Nothing when the
// reply has no such range, the range runs backwards or beyond any phone's
// numbering.
struct IndexRange {
    int first = 0;
    int last = 0;
};
std::optional<IndexRange> ParseIndexRange(const QString& reply);

// The index a write reply reports: the number in the second blank-separated field of the
// trimmed reply ("+CPBW: 37"); nothing when that field is missing or holds no number.
std::optional<int> ReplyIndexField(const QString& reply);

// Pairs of hexadecimal digits (0-9, A-F) to bytes, up to the end or the first invalid pair,
// which is reported on stderr ("Stopped. Invalid input, %X%X"). Returns the number of bytes in
// out.
qsizetype HexToBytes(QByteArray& out, QStringView hex);

} // namespace common
