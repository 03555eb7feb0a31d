#pragma once

// Help of either program: the page of the language, and a box naming the page when no browser
// takes it, titled as the program.
#include "controls/qt_ui_services.h"
#include "controls/window_titles.h"
#include "platform/shell_open.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"
#include "support/window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

namespace windowtest {

// The local files Help opens in English, Simplified Chinese and German, in that order.
inline QStringList HelpPagesOpened(QAction& help)
{
    QStringList opened;
    platform::ScopedShellOpener opener([&](const QUrl& url) {
        opened << url.toLocalFile();
        return true;
    });
    for (const int language : {platform::LANG_ENGLISH_US, platform::LANG_CHINESE_SIMPLIFIED, platform::LANG_GERMAN}) {
        platform::ScopedLanguage guard(language);
        help.trigger();
    }
    return opened;
}

// Without a browser to take the page, an information box says so and ends with the page's file,
// which exists and whose path holds pathPart; in English and in Chinese.
inline void ExpectHelpWithoutABrowserSaysWhereThePageIs(QAction& help, testsupport::RecordingUiServices& rec,
                                                        const QString& pathPart)
{
    QStringList opened;
    platform::ScopedShellOpener opener([&](const QUrl& url) {
        opened << url.toLocalFile();
        return false;
    });
    for (const int language : {platform::LANG_ENGLISH_US, platform::LANG_CHINESE_SIMPLIFIED}) {
        platform::ScopedLanguage guard(language);
        rec.boxes.clear();
        help.trigger();
        ASSERT_EQ(opened.size(), 1);
        const QString page = opened.takeFirst();
        EXPECT_TRUE(QFileInfo::exists(page));
        EXPECT_TRUE(page.contains(pathPart)) << page.toStdString();
        ASSERT_EQ(rec.boxTexts().size(), 1);
        EXPECT_EQ(rec.boxTexts()[0], platform::LoadString(61720).arg(page));
        EXPECT_TRUE(rec.boxTexts()[0].endsWith(u'\n' + page));
        EXPECT_EQ(rec.boxes[0].style, unsigned(platform::MB_ICONINFORMATION));
    }
    EXPECT_TRUE(rec.boxTexts()[0].startsWith(QStringLiteral("无法")));
}

// The title of the real box Help shows without a browser, the boxes titled with caption; the box
// is wide enough for its title bar to show the title whole. Its picture goes to the reviewers.
inline QString HelpBoxTitle(QAction& help, const QString& caption, const QString& picture)
{
    QtUiServices boxes(caption);
    platform::ScopedUiServices guard(boxes);
    platform::ScopedShellOpener opener([](const QUrl&) { return false; });
    QString title;
    QTimer answer; // stops with the call, also when no box came
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        EXPECT_GE(box->width(), TitleBarWidth(title));
        SavePicture(*box, picture);
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(0);
    help.trigger();
    return title;
}

} // namespace windowtest
