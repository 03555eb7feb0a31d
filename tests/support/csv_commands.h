#pragma once

// A document of either program whose CSV commands run through recorded file dialogs, on the
// tab a test names, with their files in a folder of the test's own.
#include "platform/string_table.h"
#include "support/csv_dates.h"
#include "support/recording_ui_services.h"
#include "support/scoped_locale.h"
#include "support/temp_folder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace testsupport {

template <typename List>
QList<COleDateTime> startsOf(const List& schedules)
{
    QList<COleDateTime> starts;
    for (const auto& e : schedules)
        starts << e->m_dtStart;
    return starts;
}

template <typename Doc>
class CsvCommandTest : public ::testing::Test {
protected:
    static constexpr int kContactsTab = 0;
    static constexpr int kSchedulesTab = 1;

    CsvCommandTest() { doc.SetCurrentTabProvider([this] { return tab; }); }

    // The file a load reads and a save writes, and the commands run through the dialogs.
    QString writeFile(const QByteArray& bytes)
    {
        EXPECT_TRUE(files.write(QStringLiteral("in.csv"), bytes));
        return files.path(QStringLiteral("in.csv"));
    }
    void load(const QByteArray& bytes, int onTab)
    {
        tab = onTab;
        recording.ui.fileAnswers.push_back(writeFile(bytes));
        doc.OnLoadFromCsv();
    }
    QByteArray save(int onTab)
    {
        tab = onTab;
        QFile::remove(files.path(QStringLiteral("out.csv")));
        recording.ui.fileAnswers.push_back(files.path(QStringLiteral("out.csv")));
        doc.OnSaveAsCsv();
        recording.ui.fileAnswers.clear(); // unused when nothing was exported
        return files.read(QStringLiteral("out.csv"));
    }

    // The schedule files of SpreadsheetScheduleFiles read into schedules, the PC list of
    // TabSchedules, in their locales; those of UnreadableScheduleFiles are refused.
    template <typename List>
    void expectSpreadsheetSchedulesRead(List& schedules)
    {
        for (const DatedCsvFile& file : SpreadsheetScheduleFiles()) {
            SCOPED_TRACE(std::string(file.writer) + ' ' + file.locale);
            ScopedLocale locale(file.locale);
            recording.ui.boxes.clear();
            load(file.bytes, kSchedulesTab);
            EXPECT_EQ(startsOf(schedules), file.starts);
            EXPECT_EQ(schedules.front()->m_strSubject, QStringLiteral("Dentist"));
            EXPECT_EQ(schedules.front()->m_nRepeat, 1);
            EXPECT_EQ(recording.ui.boxTexts(), file.warning.isEmpty() ? QStringList() : QStringList{file.warning});
        }

        schedules.clear();
        schedules.push_back(std::make_unique<typename List::value_type::element_type>());
        schedules.back()->m_strSubject = QStringLiteral("kept");
        for (const DatedCsvFile& file : UnreadableScheduleFiles()) {
            SCOPED_TRACE(file.writer);
            ScopedLocale locale(file.locale);
            recording.ui.boxes.clear();
            load(file.bytes, kSchedulesTab);
            EXPECT_EQ(recording.ui.boxTexts(), QStringList{QStringLiteral("Invalid file")});
            ASSERT_EQ(schedules.size(), 1u);
            EXPECT_EQ(schedules.back()->m_strSubject, QStringLiteral("kept"));
        }
    }

    // The export of RoundTripStarts reads back to them in every locale of kRoundTripLocales.
    template <typename List>
    void expectExportedStartsReadBack(List& schedules)
    {
        for (const char* name : kRoundTripLocales) {
            SCOPED_TRACE(name);
            ScopedLocale locale(name, "Europe/Berlin");
            schedules.clear();
            for (const COleDateTime& start : RoundTripStarts()) {
                schedules.push_back(std::make_unique<typename List::value_type::element_type>());
                schedules.back()->m_dtStart = start;
            }
            load(save(kSchedulesTab), kSchedulesTab);
            EXPECT_EQ(startsOf(schedules), RoundTripStarts());
            EXPECT_TRUE(recording.ui.boxes.empty());
        }
    }

    // A contacts file under header (names, then mobiles) with a two-line cell in a row shorter
    // than the header and a row in CP1252 among UTF-8 rows gives one contact per row, each as
    // written.
    template <typename List>
    void expectContactsFromOtherProgramsWhole(const QByteArray& header, const List& contacts)
    {
        qputenv("DESKHAND_CODEPAGE", "CP1252");
        load(header + "\n"
                      "\"Two\nLines\",0170 7\n"
                      "J\xc3\xbcrgen M\xc3\xbcller,0171\n"
                      "\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e,0172\n"
                      "Hans M\xfcller,0173\n",
             kContactsTab);
        qunsetenv("DESKHAND_CODEPAGE");
        QStringList names;
        QStringList mobiles;
        for (const auto& e : contacts) {
            names << e->m_strName;
            mobiles << e->m_strMobile;
        }
        EXPECT_EQ(names, QStringList({"Two\nLines", "Jürgen Müller", "王小明", "Hans Müller"}));
        EXPECT_EQ(mobiles, QStringList({"0170 7", "0171", "0172", "0173"}));
    }

    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    ScopedRecordingUi recording;
    TempFolder files;
    Doc doc;
    int tab = 0;
};

} // namespace testsupport
