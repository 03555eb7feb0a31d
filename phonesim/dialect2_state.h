#pragma once

#include "phonesim/indexed_store.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace phonesim {

// What a phone of the second family remembers beyond the session settings both families share.

// One of the three numbers of a handset entry, with the kind it is filed under.
struct NumberSlot {
    QString number; // a leading '+' is international; a '+' further on is a pause
    int kind = 1;   // 1 mobile, 2 office, 3 home
};

struct HandsetEntry2 {
    QString name;
    std::array<NumberSlot, 3> numbers {{{{}, 1}, {{}, 2}, {{}, 3}}};
    QString email;
    QString fax;
    int group = 255; // a caller-group index, 255 for none
};

struct SimEntry2 {
    QString name;
    QString number;
    int group = 255;
};

// A book with the limits the phone reports; its indices run from 1.
template <typename Entry>
struct Book2 : IndexedStore<Entry> {
    int numberLength = 20;
    int nameLength = 20;
};

struct CallerGroup {
    QString name;
    int capacity = 20;
};

// An entry of the combined schedule and memo list. A memo has its text and a date only.
struct OrganizerEntry {
    int kind = 1;  // 1 schedule, 2 memo
    int index = 0; // as the PC numbered it
    QString text;
    QDateTime start;                // whole seconds
    int repeat = 0;                 // 0 once .. 4 yearly
    std::optional<QDateTime> alarm; // the moment the alarm rings
};

// How the line finds the phone when the simulator starts.
struct LineStart {
    bool asleep = true;     // the first byte that arrives only wakes it
    bool atPrompt = false;  // left in text entry after "> "
    int sleepAfterMs = 5000; // silence after which it sleeps again; 0 never
};

struct Dialect2State {
    static constexpr int kNoGroup = 255;
    static constexpr int kOrganizerCapacity = 20;
    // The years of the phone's calendar.
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2100;

    int model = 2; // 1, 2 or 3

    // Contents.
    LineStart lineStart;
    Book2<HandsetEntry2> handset;
    Book2<SimEntry2> sim;
    bool simReady = true;
    std::vector<CallerGroup> groups; // empty on a model without caller groups
    std::vector<OrganizerEntry> organizer; // in the order it was written

    // Session settings.
    QByteArray book = "PM"; // +CPBS: "PM" handset, "SM" SIM
    std::optional<std::vector<OrganizerEntry>> pendingOrganizer; // from AT+SSCI to AT+SSCW
    QString pendingNumber;  // the recipient of a text being typed after AT+CMGW
    int messageReference = 0;
};

} // namespace phonesim
