#pragma once

#include "phonesim/phone_state.h"

#include <QByteArray>
#include <QString>

namespace phonesim {

// The phone's contents as a JSON document that people can read and edit:
//
//   {
//     "groups": ["Family", ...seven names],
//     "handset": {"first": 1, "last": 255, "numberLength": 40, "nameLength": 20,
//                 "emailLength": 30, "memoLength": 50,
//                 "entries": [{"index": 1, "group": 0, "name": "...", "mobile": "+86...",
//                              "home": "", "office": "", "email": "", "memo": "two\nlines"}]},
//     "sim": {"first": 1, "last": 100, "numberLength": 20, "nameLength": 12, "fdn": false,
//             "entries": [{"index": 1, "group": 6, "name": "...", "number": "..."}]},
//     "schedules": {"first": 1, "last": 30, "textLength": 30,
//                   "entries": [{"index": 1, "start": "2004-03-07T09:05", "repeat": 0,
//                                "alarm": 0, "subject": "..."}]},
//     "memos": {"first": 1, "last": 20, "textLength": 40,
//               "entries": [{"index": 1, "text": "..."}]},
//     "messages": {"handset": {"total": 50, "entries": [...]},
//                  "sim": {"total": 20, "entries": [{"index": 1, "stat": 1, "name": "",
//                          "number": "+86...", "text": "...", "time": "2004-03-07T09:05:00",
//                          "pdu": "0004..."}]}}
//   }
//
// Every member may be left out and keeps the phone's default. A message needs either its
// "pdu" or a "number" and "text" to build one from. Unknown members, wrong types, indices
// outside their range or given twice are refused with a message naming the place.
bool ParsePhoneState(const QByteArray& json, PhoneState& state, QString* error);
QByteArray SerializePhoneState(const PhoneState& state);

// The file forms: loading leaves the state untouched on failure; saving is atomic.
bool LoadPhoneStateFile(const QString& path, PhoneState& state, QString* error);
bool SavePhoneStateFile(const QString& path, const PhoneState& state, QString* error);

} // namespace phonesim
