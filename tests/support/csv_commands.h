#pragma once

// A document of either program whose CSV commands run through recorded file dialogs, on the
// tab a test names, with their files in a folder of the test's own.
#include "platform/string_table.h"
#include "support/recording_ui_services.h"
#include "support/temp_folder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace testsupport {

template <typename Doc>
class CsvCommandTest : public ::testing::Test {
protected:
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

    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    ScopedRecordingUi recording;
    TempFolder files;
    Doc doc;
    int tab = 0;
};

} // namespace testsupport
