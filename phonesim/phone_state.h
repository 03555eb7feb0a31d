#pragma once

#include "phonesim/dialect2_state.h"
#include "phonesim/indexed_store.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>

namespace phonesim {

// One phonebook entry. A SIM entry uses the group, the name and the mobile number only.
// Numbers keep a leading '+' when they are international.
struct BookEntry {
    int group = 6;
    QString name;
    QString mobile;
    QString home;
    QString office;
    QString email;
    QString memo; // lines end in "\n"
};

// A phonebook with the field lengths the phone reports; the SIM book has no e-mail or memo.
struct Book : IndexedStore<BookEntry> {
    int numberLength = 40;
    int nameLength = 20;
    int emailLength = 30;
    int memoLength = 50;
};

struct ScheduleItem {
    QDateTime start; // whole minutes
    int repeat = 0;  // 0 none .. 4 yearly
    int alarm = 0;   // 0 none .. 5 one day before
    QString subject;
};

struct ScheduleStore : IndexedStore<ScheduleItem> {
    int textLength = 30;
};

struct MemoStore : IndexedStore<QString> {
    int textLength = 40;
};

// A stored short message as the phone lists it in PDU mode. The number, text and time say
// what the PDU holds; they are kept for people reading the state file.
struct StoredMessage {
    int stat = 1; // 0 received unread, 1 received read, 2 stored unsent, 3 stored sent
    QString alpha;
    QByteArray pdu; // hexadecimal, with the service centre part
    QString number;
    QString text;
    QDateTime time;
};

struct MessageStore {
    int total = 20;
    std::map<int, StoredMessage> entries;

    int used() const { return int(entries.size()); }
};

// What a phone remembers: the session settings, which live until the phone is restarted, and
// its contents, which the state file keeps. A phone of the second family keeps its own books,
// groups and organizer in `dialect2` and shares the session settings and messages.
struct PhoneState {
    static constexpr int kGroupCount = 7;

    // Session settings.
    bool echo = true;           // ATE1 / ATE0
    bool sessionOpen = false;   // between AT+SYNCSTART and AT+SYNCSTOP (AT+SBEG and AT+SEND)
    bool asleep = false;        // the next byte only wakes the phone
    int sleepAfterMs = 0;       // silence on the line after which it sleeps; 0 never
    int cmee = 0;               // +CMEE: 0 reports plain ERROR, 1 and 2 numeric +CME ERROR
    QByteArray charset = "IRA"; // +CSCS
    bool atPrompt = false;      // waiting for text after "> "; ESC leaves
    QByteArray book = "ME";     // +CPBS: "ME" handset, "AD" SIM
    int messageFormat = 0;      // +CMGF: 0 PDU, 1 text
    QByteArray readStorage = "ME";    // +CPMS: listed, read and deleted
    QByteArray writeStorage = "ME";   // +CPMS: written and sent
    QByteArray receiveStorage = "ME"; // +CPMS: received

    // Contents.
    QStringList groups = {QStringLiteral("Family"), QStringLiteral("Friends"), QStringLiteral("Colleagues"),
        QStringLiteral("Business"), QStringLiteral("VIP"), QStringLiteral("School"), QStringLiteral("Others")};
    Book handset = makeHandsetBook();
    Book sim = makeSimBook();
    bool fdn = false; // fixed dialling numbers: the SIM book is closed
    ScheduleStore schedules = makeSchedules();
    MemoStore memos = makeMemos();
    MessageStore handsetMessages {50, {}};
    MessageStore simMessages {20, {}};
    Dialect2State dialect2;

    // Set by a command that changed the contents; the phone clears it once it told its owner.
    bool contentsChanged = false;

    static Book makeHandsetBook()
    {
        Book book;
        book.first = 1;
        book.last = 255;
        return book;
    }
    static Book makeSimBook()
    {
        Book book;
        book.first = 1;
        book.last = 100;
        book.numberLength = 20;
        book.nameLength = 12;
        book.emailLength = 0;
        book.memoLength = 0;
        return book;
    }
    static ScheduleStore makeSchedules()
    {
        ScheduleStore store;
        store.first = 1;
        store.last = 30;
        store.textLength = 30;
        return store;
    }
    static MemoStore makeMemos()
    {
        MemoStore store;
        store.first = 1;
        store.last = 20;
        store.textLength = 40;
        return store;
    }
};

} // namespace phonesim
