#pragma once

// Field helpers that the session's command builders and line parsers share.
#include <QByteArray>
#include <QString>

namespace phonetext {

// Phone text fields break lines with "\n", the records with "\r\n".
QString ToPhoneLines(const QString& text);
QString FromPhoneLines(const QString& text);

// The text cut to `width` ANSI bytes, never between the two halves of a "\r\n".
QString CutPhoneText(const QString& text, int width);

// The index field of a write command: empty for a new entry (-1).
QByteArray IndexText(int index);

} // namespace phonetext
