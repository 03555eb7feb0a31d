#pragma once

#include <QByteArray>

namespace phonesim {

// What a phone remembers between commands. The books, groups, schedules, memos, messages and
// capacities join it with the rest of the dialect.
struct PhoneState {
    bool echo = true;           // ATE1 / ATE0
    bool sessionOpen = false;   // between AT+SYNCSTART and AT+SYNCSTOP
    int cmee = 0;               // +CMEE: 0 reports plain ERROR, 1 and 2 numeric +CME ERROR
    QByteArray charset = "IRA"; // +CSCS
    bool atPrompt = false;      // waiting for text after "> "; ESC leaves
};

} // namespace phonesim
