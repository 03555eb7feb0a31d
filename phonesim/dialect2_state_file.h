#pragma once

#include "phonesim/phone_state.h"

#include <QByteArray>
#include <QString>

namespace phonesim {

// The contents of a phone of the second family as a JSON document that people can read and
// edit. The model comes from the command line (--model); the file fills in what that model
// has:
//
//   {
//     "line": {"asleep": true, "atPrompt": false, "sleepAfterMs": 5000},
//     "groups": [{"name": "Family", "capacity": 20}, ...],          (models 2 and 3 only)
//     "handset": {"last": 200, "numberLength": 20, "nameLength": 20,
//                 "entries": [{"index": 1, "name": "...", "email": "...", "fax": "...",
//                              "group": 0,                              (255: no group)
//                              "numbers": [{"number": "+4917...", "kind": 1},
//                                          {"number": "030...", "kind": 3}]}]},
//     "sim": {"last": 100, "numberLength": 20, "nameLength": 14, "ready": true,
//             "entries": [{"index": 1, "name": "...", "number": "...", "group": 255}]},
//     "organizer": [{"index": 0, "kind": 1, "text": "...", "start": "2004-03-07T09:05:00",
//                    "repeat": 0, "alarm": "2004-03-07T08:55:00"},
//                   {"index": 1, "kind": 2, "text": "...", "start": "2004-03-01T12:00:00"}],
//     "messages": {"handset": {"total": 50, "entries": [...]},
//                  "sim": {"total": 20, "entries": [{"index": 1, "stat": 1, "name": "",
//                          "number": "+86...", "text": "...", "time": "2004-03-07T09:05:00",
//                          "pdu": "0004..."}]}}
//   }
//
// "line" says how the phone is found when the simulator starts: asleep (the first byte only
// wakes it), left at the text prompt, and the silence after which it falls asleep again (0:
// never); it is read at start and written back as it was given. A handset entry has up to
// three numbers, each filed under a kind (1 mobile, 2 office, 3 home); the kinds left over go
// to the empty places. Books start at index 1, the organizer holds at most 20 entries with
// indices 0 to 19, a memo (kind 2) has no repeat or alarm, times lie in 1900 to 2100. Messages
// are as in the first family's file: each by its "pdu", or by the "number", "text" and "time"
// to build one from. Every member may be left out and keeps the model's default; unknown
// members, wrong types and values out of range are refused with a message naming the place.
bool ParseDialect2State(const QByteArray& json, PhoneState& state, QString* error);
QByteArray SerializeDialect2State(const PhoneState& state);

// The file forms: loading leaves the state untouched on failure; saving is atomic.
bool LoadDialect2StateFile(const QString& path, PhoneState& state, QString* error);
bool SaveDialect2StateFile(const QString& path, const PhoneState& state, QString* error);

} // namespace phonesim
