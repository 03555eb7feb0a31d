#pragma once

#include "platform/ole_date_time.h"

#include <QDate>
#include <QString>
#include <QTime>

namespace dh1 {

// The typing and value rules of the schedule, memo and message dialogs, apart from their
// widgets. Limits count what the edit fields count (see editlimit): bytes of the double-byte
// code page, a line break as CR LF.
namespace entryrules {

// The subject and memo rule: while the text holds fewer than `units` UTF-16 units (a line
// break counting as CR LF) the field takes up to `wide` bytes; from `units` on its limit is 2,
// which keeps the text and takes nothing more.
int UnitLimit(const QString& text, int units, int wide);
inline constexpr int kSubjectUnits = 30;
inline constexpr int kSubjectWide = 60;
inline constexpr int kMemoUnits = 40;
inline constexpr int kMemoWide = 80;

// The dates a schedule entry may start on, and the start a dialog confirms: the date with the
// hour and minute, second 0.
QDate FirstScheduleDate();
QDate LastScheduleDate();
COleDateTime ComposeStart(const QDate& date, const QTime& time);

// The message dialog: 480 bytes of text, 240 when the text needs more than the GSM alphabet;
// a number of 20 characters, 21 with a leading '+'; a reference of 0 to 255 read as atoi reads
// it; the label that counts the text's bytes (empty for no text).
inline constexpr int kSmsTextLimit = 480;
inline constexpr int kSmsWideTextLimit = 240;
int SmsTextLimit(const QString& text);
int SmsNumberLimit(const QString& number);
bool IsValidMessageReference(const QString& text);
QString SmsLengthLabel(const QString& text);

} // namespace entryrules

} // namespace dh1
