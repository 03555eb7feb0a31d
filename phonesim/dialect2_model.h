#pragma once

// The three models of the second family: how each identifies itself, what its phonebook lines
// carry, and the state it comes up in.
#include "phonesim/phone_state.h"

#include <QByteArray>
#include <QList>

namespace phonesim {

struct Model2 {
    QList<QByteArray> identification; // the lines of ATI
    QByteArray firmware;              // the line of AT+SINF
    bool callerGroups = true;         // AT+CPGR, and a group field in every entry
    bool pairedLines = false;         // each entry listed twice: short form, then full form
    bool base64Fax = false;           // the fax field in the character set, else plain bytes
};

bool IsDialect2Model(int model);
// The traits of the state's model; model 2 for one out of range.
const Model2& Model2Of(const PhoneState& state);

// The state a phone of the model comes up in: its default books, groups and limits, the GSM
// character set, echo on, and the line as its line start says.
void PowerOnDialect2(PhoneState& state, int model);
// Puts the line in the state its line start describes.
void ApplyLineStart(PhoneState& state);

} // namespace phonesim
