#pragma once

// Files of a PIM store as other programs write them (several components in a file, one UID in
// several files, moved occurrences in files of their own, vCard 2.1 and 4.0), read by the
// document of either program, one record edited or deleted, and written back. The table is the
// same for both programs: the PIM code is shared.
#include "platform/ole_date_time.h"
#include "support/recording_ui_services.h"
#include "support/temp_folder.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

namespace testsupport {

enum class PimKind { Contacts, Schedules, Notes };

// What the user does to the record.
struct PimEdit {
    enum { Delete, Rename, Mobile, Start } what;
    QString text;
    COleDateTime start;
};

using PimFiles = std::vector<std::pair<QString, QByteArray>>;
using PimTexts = std::vector<std::pair<QString, std::vector<QByteArray>>>;

struct PimFileCase {
    const char* name;
    PimFiles files; // the store as the other program left it
    PimKind kind;
    int listed;       // records the import gives
    const char* pick; // the record acted on: its name, subject or memo text
    PimEdit edit;
    PimTexts present;     // by file: texts it holds afterwards, each exactly once
    PimTexts absent;      // by file: texts it no longer holds
    QStringList removed;  // files gone afterwards
    const char* refusal;  // when the change is refused: part of its reason; the files stay
};

inline QByteArray Crlf(QByteArray text)
{
    return text.replace("\r\n", "\n").replace("\n", "\r\n");
}

// A VCALENDAR around components; lines end in CR LF.
inline QByteArray Calendar(const QByteArray& components, const QByteArray& prodId = "-//Other//EN")
{
    return Crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:" + prodId + "\n" + components + "END:VCALENDAR\n");
}

inline std::vector<PimFileCase> PimFileCases()
{
    const QByteArray todo = Crlf("BEGIN:VTODO\nUID:todo-1\nDTSTAMP:20240101T000000Z\nSUMMARY:Buy milk\nEND:VTODO\n");
    const QByteArray dentist = Crlf("BEGIN:VEVENT\nUID:dentist\nDTSTAMP:20240101T000000Z\nDTSTART:20240510T090000\n"
                                    "DTEND:20240510T100000\nSUMMARY:Dentist\nEND:VEVENT\n");
    const QByteArray gym = Crlf("BEGIN:VEVENT\nUID:gym\nDTSTAMP:20240101T000000Z\nDTSTART:20240511T180000\n"
                                "SUMMARY:Gym\nEND:VEVENT\n");
    const QByteArray journal = Crlf("BEGIN:VJOURNAL\nUID:journal-1\nDTSTAMP:20240101T000000Z\n"
                                    "DESCRIPTION:Call the plumber\nEND:VJOURNAL\n");
    // An older phone's export: every card in one file, vCard 2.1, no UIDs.
    const QByteArray ann = Crlf("BEGIN:VCARD\nVERSION:2.1\nN:Lee;Ann\nTEL;CELL:0170 1\nEND:VCARD\n");
    const QByteArray bob = Crlf("BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;Bob\n"
                                "TEL;CELL:0170 2\nTEL;HOME:030 2\nEND:VCARD\n");
    // A card and its copy from a sync conflict: one UID, two files.
    const auto copy = [](const char* name, const char* mobile) {
        return Crlf(QByteArray("BEGIN:VCARD\nVERSION:3.0\nUID:ann-lee\nFN:") + name + "\nN:Lee;Ann;;;\nTEL;TYPE=CELL:" +
                    mobile + "\nEND:VCARD\n");
    };
    // A weekly series, with a cancelled and an added date and a moved occurrence beside it, and
    // one more moved occurrence in a file of its own.
    const QByteArray series = Crlf("BEGIN:VEVENT\nUID:weekly\nDTSTAMP:20240101T000000Z\nDTSTART:20240506T100000\n"
                                   "DTEND:20240506T110000\nRRULE:FREQ=WEEKLY;BYDAY=MO\nEXDATE:20240520T100000\n"
                                   "RDATE:20240604T100000\nSUMMARY:Review\nEND:VEVENT\n");
    const QByteArray movedHere = Crlf("BEGIN:VEVENT\nUID:weekly\nDTSTAMP:20240101T000000Z\n"
                                      "RECURRENCE-ID:20240513T100000\nDTSTART:20240514T100000\nSUMMARY:Review (Tue)\n"
                                      "END:VEVENT\n");
    const QByteArray movedThere = Crlf("BEGIN:VEVENT\nUID:weekly\nDTSTAMP:20240101T000000Z\n"
                                       "RECURRENCE-ID:20240527T100000\nDTSTART:20240527T150000\n"
                                       "SUMMARY:Review (late)\nEND:VEVENT\n");
    // Three days a week: its rule does not follow the start to another weekday.
    const QByteArray gymWeek = Crlf("BEGIN:VEVENT\nUID:gym-week\nDTSTAMP:20240101T000000Z\nDTSTART:20240506T070000\n"
                                    "RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR\nEXDATE:20240513T070000\nSUMMARY:Gym\nEND:VEVENT\n");
    const QByteArray apple = Crlf(
        "BEGIN:VCARD\nVERSION:4.0\nPRODID:-//Apple Inc.//iPhone OS 17.4//EN\nN:Wei;Zhang;;;\nFN:Zhang Wei\n"
        "item1.TEL:+86 10 1111 2222\nitem1.X-ABLabel:_$!<Other>!$_\nTEL;TYPE=CELL:+86 139 0000 1111\n"
        "ADR;TYPE=HOME;LABEL=\"Main St. 1^nBeijing\":;;Main St. 1;Beijing;;;\n"
        "PHOTO;VALUE=uri:data:image/png;base64,iVBORw0KGgo=\nUID:apple-1\nEND:VCARD\n");
    const auto named = [](const char* fn, const char* n) {
        return Crlf(QByteArray("BEGIN:VCARD\nVERSION:3.0\nUID:") + QByteArray(fn).replace(' ', '-') + "\nFN:" + fn +
                    "\nN:" + n + "\nTEL;TYPE=CELL:0170 9\nEND:VCARD\n");
    };
    const QString calendar = QStringLiteral("calendar/mixed.ics");
    return {
        {"delete an event beside a task", {{calendar, Calendar(todo + dentist)}}, PimKind::Schedules, 1, "Dentist",
         {PimEdit::Delete, {}, {}}, {{calendar, {Calendar(todo)}}}, {}, {}, nullptr},
        {"rename an event beside a task", {{calendar, Calendar(todo + dentist)}}, PimKind::Schedules, 1, "Dentist",
         {PimEdit::Rename, QStringLiteral("Dentist, Dr. Li"), {}}, {{calendar, {todo, "SUMMARY:Dentist\\, Dr. Li\r\n"}}},
         {}, {}, nullptr},
        {"delete one of two events", {{calendar, Calendar(dentist + gym)}}, PimKind::Schedules, 2, "Gym",
         {PimEdit::Delete, {}, {}}, {{calendar, {Calendar(dentist)}}}, {}, {}, nullptr},
        {"move one of two events", {{calendar, Calendar(dentist + gym)}}, PimKind::Schedules, 2, "Dentist",
         {PimEdit::Start, {}, COleDateTime(2024, 5, 10, 14, 0, 0)},
         {{calendar, {gym, "DTSTART:20240510T140000\r\n", "DTEND:20240510T150000\r\n"}}}, {}, {}, nullptr},
        {"delete a journal beside a task", {{QStringLiteral("notes/n.ics"), Calendar(todo + journal)}}, PimKind::Notes, 1,
         "Call the plumber", {PimEdit::Delete, {}, {}}, {{QStringLiteral("notes/n.ics"), {Calendar(todo)}}}, {}, {},
         nullptr},
        {"delete one card of a phone's export", {{QStringLiteral("contacts/phone.vcf"), ann + bob}}, PimKind::Contacts, 2,
         "Ann Lee", {PimEdit::Delete, {}, {}}, {{QStringLiteral("contacts/phone.vcf"), {bob}}},
         {{QStringLiteral("contacts/phone.vcf"), {"Lee"}}}, {}, nullptr},
        {"change one card of a phone's export", {{QStringLiteral("contacts/phone.vcf"), ann + bob}}, PimKind::Contacts,
         2, "Ann Lee", {PimEdit::Mobile, QStringLiteral("0170 111"), {}},
         {{QStringLiteral("contacts/phone.vcf"), {bob, "TEL;CELL:0170 111\r\n", "VERSION:2.1\r\nN:Lee;Ann\r\n"}}}, {},
         {}, nullptr},
        {"rename the copy that shares a UID",
         {{QStringLiteral("contacts/ann-lee.vcf"), copy("Ann Lee", "0170 1")},
          {QStringLiteral("contacts/conflict-2.vcf"), copy("Ann Copy", "0170 2")}},
         PimKind::Contacts, 2, "Ann Copy", {PimEdit::Rename, QStringLiteral("Ann Second"), {}},
         {{QStringLiteral("contacts/ann-lee.vcf"), {copy("Ann Lee", "0170 1")}},
          {QStringLiteral("contacts/conflict-2.vcf"), {"FN:Ann Second\r\n", "TEL;TYPE=CELL:0170 2\r\n"}}},
         {}, {}, nullptr},
        {"delete the copy that shares a UID",
         {{QStringLiteral("contacts/ann-lee.vcf"), copy("Ann Lee", "0170 1")},
          {QStringLiteral("contacts/conflict-2.vcf"), copy("Ann Copy", "0170 2")}},
         PimKind::Contacts, 2, "Ann Copy", {PimEdit::Delete, {}, {}},
         {{QStringLiteral("contacts/ann-lee.vcf"), {copy("Ann Lee", "0170 1")}}}, {},
         {QStringLiteral("contacts/conflict-2.vcf")}, nullptr},
        // The moved occurrence in a file of its own is part of its series, as in the desktop PIM.
        {"move a series with its exceptions",
         {{QStringLiteral("calendar/weekly.ics"), Calendar(series + movedHere)},
          {QStringLiteral("calendar/weekly-0527.ics"), Calendar(movedThere)}},
         PimKind::Schedules, 1, "Review", {PimEdit::Start, {}, COleDateTime(2024, 5, 6, 11, 0, 0)},
         {{QStringLiteral("calendar/weekly.ics"),
           {"DTSTART:20240506T110000\r\n", "EXDATE:20240520T110000\r\n", "RDATE:20240604T110000\r\n",
            "RECURRENCE-ID:20240513T110000\r\n", "DTSTART:20240514T100000\r\n"}},
          {QStringLiteral("calendar/weekly-0527.ics"),
           {"RECURRENCE-ID:20240527T110000\r\n", "DTSTART:20240527T150000\r\n", "SUMMARY:Review (late)\r\n"}}},
         {{QStringLiteral("calendar/weekly.ics"),
           {"DTSTART:20240506T100000", "EXDATE:20240520T100000", "RDATE:20240604T100000", "RECURRENCE-ID:20240513T100000"}},
          {QStringLiteral("calendar/weekly-0527.ics"), {"RECURRENCE-ID:20240527T100000"}}},
         {}, nullptr},
        {"delete a series with its moved occurrences",
         {{QStringLiteral("calendar/weekly.ics"), Calendar(series + movedHere)},
          {QStringLiteral("calendar/weekly-0527.ics"), Calendar(movedThere)},
          {calendar, Calendar(dentist)}},
         PimKind::Schedules, 2, "Review", {PimEdit::Delete, {}, {}}, {{calendar, {Calendar(dentist)}}}, {},
         {QStringLiteral("calendar/weekly.ics"), QStringLiteral("calendar/weekly-0527.ics")}, nullptr},
        // Without its series, a moved occurrence is an appointment of its own; deleting it
        // deletes it alone.
        {"delete a lone moved occurrence",
         {{QStringLiteral("calendar/invited.ics"), Calendar(movedThere + movedHere)}, {calendar, Calendar(dentist)}},
         PimKind::Schedules, 3, "Review (late)", {PimEdit::Delete, {}, {}},
         {{QStringLiteral("calendar/invited.ics"), {Calendar(movedHere)}}, {calendar, {Calendar(dentist)}}}, {}, {},
         nullptr},
        {"a move the exceptions cannot follow is refused",
         {{QStringLiteral("calendar/gym.ics"), Calendar(gymWeek)}}, PimKind::Schedules, 1, "Gym",
         {PimEdit::Start, {}, COleDateTime(2024, 5, 7, 7, 0, 0)}, {{QStringLiteral("calendar/gym.ics"), {Calendar(gymWeek)}}},
         {}, {}, "cannot move: its cancelled occurrence, moved to 2024-05-14 07:00, would fall on no occurrence"},
        {"a particle name's family name changes alone",
         {{QStringLiteral("contacts/max.vcf"),
           named("Prof. Dr. Maximilian Karl Friedrich von Sachsen-Coburg III",
                 "von Sachsen-Coburg;Maximilian;Karl,Friedrich;Prof. Dr.;III")}},
         PimKind::Contacts, 1, "Prof. Dr. Maximilian Karl Friedrich von Sachsen-Coburg III",
         {PimEdit::Rename, QStringLiteral("Prof. Dr. Maximilian Karl Friedrich von Sachsen-Coburg-Gotha III"), {}},
         {{QStringLiteral("contacts/max.vcf"),
           {"\r\nN:von Sachsen-Coburg-Gotha;Maximilian;Karl,Friedrich;Prof. Dr.;III\r\n",
            "\r\nFN:Prof. Dr. Maximilian Karl Friedrich von Sachsen-Coburg-Gotha III\r\n"}}},
         {}, {}, nullptr},
        {"a suffix changes alone", {{QStringLiteral("contacts/john.vcf"), named("John Smith Jr.", "Smith;John;;;Jr.")}},
         PimKind::Contacts, 1, "John Smith Jr.", {PimEdit::Rename, QStringLiteral("John Smith Sr."), {}},
         {{QStringLiteral("contacts/john.vcf"), {"\r\nN:Smith;John;;;Sr.\r\n", "\r\nFN:John Smith Sr.\r\n"}}}, {}, {},
         nullptr},
        {"a vCard 4.0 keeps its version and spelling", {{QStringLiteral("contacts/apple.vcf"), apple}},
         PimKind::Contacts, 1, "Zhang Wei", {PimEdit::Mobile, QStringLiteral("+86 139 0000 2222"), {}},
         {{QStringLiteral("contacts/apple.vcf"),
           {QByteArray(apple).replace("TEL;TYPE=CELL:+86 139 0000 1111", "TEL;TYPE=CELL:+86 139 0000 2222")}}},
         {}, {}, nullptr},
    };
}

// The document's PIM import and export of one kind; both documents name them alike.
template <typename Doc>
bool ImportKind(Doc& doc, PimKind kind)
{
    switch (kind) {
    case PimKind::Contacts: return doc.ImportOutlookContacts();
    case PimKind::Schedules: return doc.ImportOutlookSchedules();
    case PimKind::Notes: break;
    }
    return doc.ImportOutlookNotes();
}

template <typename Doc>
bool ExportKind(Doc& doc, PimKind kind)
{
    switch (kind) {
    case PimKind::Contacts: return doc.ExportOutlookContacts();
    case PimKind::Schedules: return doc.ExportOutlookSchedules();
    case PimKind::Notes: break;
    }
    return doc.ExportOutlookNotes();
}

// Runs a case through a document of the program. Program gives the document's lists:
// Contacts/Schedules/Notes(doc), NoteText(record).
template <typename Program>
void RunPimFileCase(const PimFileCase& c)
{
    {
        SCOPED_TRACE(c.name);
        TempFolder store;
        for (const auto& [name, bytes] : c.files)
            ASSERT_TRUE(store.write(name, bytes));
        qputenv("DESKHAND_PIM_DIR", store.path().toUtf8());
        ScopedRecordingUi recording;
        typename Program::Doc doc;
        ASSERT_TRUE(ImportKind(doc, c.kind));

        bool picked = false;
        int listed = 0;
        const auto act = [&](auto& list, auto text) {
            listed = int(list.size());
            for (auto& record : list) {
                if (text(*record) != QString::fromUtf8(c.pick))
                    continue;
                picked = true;
                using Record = std::remove_cvref_t<decltype(*record)>;
                record->m_nState = c.edit.what == PimEdit::Delete ? Record::StateDeleted : Record::StateChanged;
                if (c.edit.what == PimEdit::Rename)
                    text(*record) = c.edit.text;
                if constexpr (requires { record->m_strMobile; }) {
                    if (c.edit.what == PimEdit::Mobile)
                        record->m_strMobile = c.edit.text;
                }
                if constexpr (requires { record->m_dtStart; }) {
                    if (c.edit.what == PimEdit::Start)
                        record->m_dtStart = c.edit.start;
                }
            }
        };
        switch (c.kind) {
        case PimKind::Contacts:
            act(Program::Contacts(doc), [](auto& r) -> QString& { return r.m_strName; });
            break;
        case PimKind::Schedules:
            act(Program::Schedules(doc), [](auto& r) -> QString& { return r.m_strSubject; });
            break;
        case PimKind::Notes:
            act(Program::Notes(doc), [](auto& r) -> QString& { return Program::NoteText(r); });
            break;
        }
        EXPECT_EQ(listed, c.listed);
        ASSERT_TRUE(picked) << c.pick;

        const bool written = ExportKind(doc, c.kind);
        qunsetenv("DESKHAND_PIM_DIR");
        if (c.refusal) {
            EXPECT_FALSE(written);
            ASSERT_EQ(recording.ui.boxes.size(), 1u);
            EXPECT_TRUE(recording.ui.boxTexts()[0].contains(QString::fromUtf8(c.refusal)))
                << recording.ui.boxTexts()[0].toStdString();
        } else {
            EXPECT_TRUE(written) << (recording.ui.boxes.empty() ? std::string()
                                                                 : recording.ui.boxTexts()[0].toStdString());
        }
        for (const auto& [name, texts] : c.present) {
            const QByteArray file = store.read(name);
            for (const QByteArray& text : texts)
                EXPECT_EQ(file.count(text), 1) << name.toStdString() << " holds\n" << text.constData() << "\n---\n"
                                               << file.constData();
        }
        for (const auto& [name, texts] : c.absent) {
            const QByteArray file = store.read(name);
            for (const QByteArray& text : texts)
                EXPECT_FALSE(file.contains(text)) << name.toStdString() << ": " << text.constData() << "\n---\n"
                                                  << file.constData();
        }
        for (const QString& name : c.removed)
            EXPECT_FALSE(QFile::exists(store.path(name))) << name.toStdString();
    }
}

template <typename Program>
void RunPimFileCases(const std::vector<PimFileCase>& cases)
{
    for (const PimFileCase& c : cases) {
        RunPimFileCase<Program>(c);
        qunsetenv("DESKHAND_PIM_DIR"); // also after a case that stopped early
    }
}

} // namespace testsupport
