#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The reply-parsing rules of the first family's session, as plain functions over reply texts
// as the transport hands them over: echo removed, ending with the final "OK" line.

// Cuts "\r", "\n" and blanks from the left, and from the right the line ends, blanks and one
// final "OK" line; nothing else (a field may well end in 'O' or 'K').
QString TrimListReply(const QString& reply);

// "\r", "\n" and blanks cut from both ends.
QString TrimLine(const QString& text);

// The n-th segment of a reply cut at every occurrence of the prefix that begins a line (at the
// start of the text or after a line end, blanks allowed): a segment runs from one occurrence to
// the next, the first one also holds whatever stands before the first occurrence. False (and an emptied out) when there is no n-th segment; false with out
// untouched for an empty prefix or text.
bool GetReplyLine(QString& out, const QString& text, int n, const QString& prefix);

// Every segment GetReplyLine gives for n = 0, 1, 2, ..., in one pass.
QStringList ReplySegments(const QString& text, const QString& prefix);

// The lines of a list reply: the trimmed reply cut into segments at the prefix, each segment
// trimmed; the list ends at the first segment that does not begin with lineStart. Each line is
// what follows lineStart, with leading blanks cut when trimAfterStart is set.
QStringList ListReplyLines(const QString& reply, const QString& prefix, const QString& lineStart,
    bool trimAfterStart);

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
