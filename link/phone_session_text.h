#pragma once

// Field helpers that the session's command builders and line parsers share.
#include "common/reply_parser.h"
#include "common/text_codec.h"

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace dh1 {

namespace phonetext {

// Phone text fields break lines with "\n", the records with "\r\n".
QString ToPhoneLines(const QString& text);
QString FromPhoneLines(const QString& text);

// The text cut to `width` ANSI bytes, never between the two halves of a "\r\n".
QString CutPhoneText(const QString& text, int width);

// What of a text a phone field can carry (shared with the second family's session).
using common::StorableText;


// The index field of a write command: empty for a new entry (-1).
QByteArray IndexText(int index);

// "AT+XXXX=5\r" and "AT+XXXX=1,30\r" for a command such as "AT+XXXX".
QByteArray IndexCommand(const QByteArray& command, int index);
QByteArray RangeCommand(const QByteArray& command, int first, int last);

// A field length from comma field k of a test reply; a missing or zero one leaves the length
// known so far.
void NoteLength(int& length, const QString& reply, int k);

// The first N comma fields of a line; false when it has fewer, or when its quotes do not pair
// up (a line cut inside a quoted field).
template <std::size_t N>
bool ExtractFields(QString (&fields)[N], const QString& line)
{
    if (line.count(u'"') % 2 != 0)
        return false;
    for (std::size_t k = 0; k < N; ++k) {
        if (!common::ExtractField(fields[k], line, int(k)))
            return false;
    }
    return true;
}

} // namespace phonetext

} // namespace dh1
