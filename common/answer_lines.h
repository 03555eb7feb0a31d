#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// The lines of a reply that answer the command which asked for it. A phone may put unsolicited
// result codes (a message arrived, the network changed, a call rings) and line noise anywhere
// in a reply, also between the lines of a list; only the lines that begin with the command's
// own prefix answer it, and nothing else may end, cut or fill a list.

namespace common {

// True for an unsolicited result code that a GSM phone sends on its own ("RING",
// "+CMTI: \"SM\",5", "+CREG: 1", "NO CARRIER", ...).
bool IsUnsolicitedLine(QStringView line);

// How many lines after an unsolicited line belong to it: the message of "+CMT" and "+CBM", and
// the PDU of a "+CDS" in PDU mode; 0 for every other line.
int UnsolicitedFollowingLines(QStringView line);

// The reply's lines in order, without line ends and surrounding blanks; empty lines left out.
QStringList ReplyLines(const QString& reply);

// True when the line begins with the prefix and ':' ("+CPBW: 2" for "+CPBW").
bool IsAnswerLine(QStringView line, QStringView prefix);

// The first line of the reply that begins with the prefix and ':', whole; nothing when no line
// does. Write replies name the new entry's index in it, test replies their ranges.
std::optional<QString> AnswerLine(const QString& reply, const QString& prefix);

// What follows the ':' of an answer line, surrounding blanks cut ("2" of "+CPBW: 2").
QString AnswerValues(QStringView line);

// The records of a list reply.
struct ListAnswer {
    // What follows "PREFIX:" on each record line, leading blanks cut; for a list whose records
    // take a second line, that line joined on with "\r\n".
    QStringList records;
    // False when a piece of the list cannot be read: a record line that was cut or garbled (the
    // prefix stands inside a line), or a record without its second line.
    bool readable = true;
};

// The record lines of a list reply (each begins with "PREFIX:"); every other line is set aside,
// wherever it stands. With `secondLine`, each record line is followed by a line it accepts (a
// message's PDU): lines between them that it does not accept are set aside too, an unsolicited
// line with the lines that belong to it.
ListAnswer ListAnswerLines(const QString& reply, const QString& prefix,
    const std::function<bool(QStringView)>& secondLine = {});

// True for a non-empty line of hexadecimal digits only, as a PDU line is.
bool IsHexLine(QStringView line);

} // namespace common
