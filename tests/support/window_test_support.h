#pragma once

// What the window tests of both programs share: the user-interface services that record like
// the scripted fake and really disable the main window, a queue of dialog scripts that the
// windows' modal runner plays, and pictures for reviewers in build/screenshots/.
#include "controls/record_list_ctrl.h"
#include "phonesim/phone.h"
#include "support/recording_ui_services.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace windowtest {

class WindowUi final : public platform::UiServices {
public:
    int messageBox(const QString& text, unsigned style) override { return rec.messageBox(text, style); }
    QString fileDialog(const platform::FileDialogRequest& request) override { return rec.fileDialog(request); }
    void beginWaitCursor() override { rec.beginWaitCursor(); }
    void endWaitCursor() override { rec.endWaitCursor(); }
    void enableMainWindow(bool enable) override
    {
        rec.enableMainWindow(enable);
        if (window)
            window->setEnabled(enable);
    }
    bool processPendingEvents() override { return rec.processPendingEvents(); }

    testsupport::RecordingUiServices rec;
    QPointer<QWidget> window;
};

// Every dialog a window opens runs the next script in line.
class DialogScripts {
public:
    using Dialog = std::function<int(QDialog&)>;

    int Run(QDialog& dialog)
    {
        if (scripts.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return int(QDialog::Rejected);
        }
        const Dialog script = scripts.front();
        scripts.pop_front();
        ++run;
        return script(dialog);
    }

    // A script that fills a dialog of that class through f, then presses OK; its result is the
    // dialog's.
    template <typename Dlg>
    static Dialog Fill(std::function<void(Dlg&)> f)
    {
        return [f](QDialog& dialog) {
            auto* typed = qobject_cast<Dlg*>(&dialog);
            if (!typed) {
                ADD_FAILURE() << "another dialog: " << dialog.objectName().toStdString();
                return int(QDialog::Rejected);
            }
            f(*typed);
            typed->accept();
            return typed->result();
        };
    }

    std::deque<Dialog> scripts;
    int run = 0;
};

// A contact in a list of the document, shown after the form's refresh.
template <typename Entry, typename Doc, typename Form>
Entry* AddContact(Doc& doc, Form& form, int kind, const QString& name, const QString& mobile, const QString& home,
                  const QString& office)
{
    auto entry = std::make_unique<Entry>();
    entry->m_strName = name;
    entry->m_strMobile = mobile;
    entry->m_strHome = home;
    entry->m_strOffice = office;
    Entry* raw = entry.get();
    doc.ContactList(kind)->push_back(std::move(entry));
    form.RefreshList(kind);
    return raw;
}

// Contacts "Contact 1" ... "Contact <count>" with mobile numbers 03010001 ..., added to a list
// of the document without refilling the form: a long list for the pictures.
template <typename Entry, typename Doc>
void AddNumberedContacts(Doc& doc, int kind, int count)
{
    for (int i = 1; i <= count; ++i) {
        auto entry = std::make_unique<Entry>();
        entry->m_strName = QStringLiteral("Contact %1").arg(i);
        entry->m_strMobile = QStringLiteral("0301%1").arg(i, 4, 10, QLatin1Char('0'));
        doc.ContactList(kind)->push_back(std::move(entry));
    }
}

// Column 1 (the name, subject or memo) of every row.
inline QStringList Names(const CRecordListCtrl* list)
{
    QStringList names;
    for (int row = 0; row < list->GetItemCount(); ++row)
        names << list->GetItemText(row, 1);
    return names;
}

// The commands the phone received since its log was last cleared that begin with prefix.
inline QStringList Sent(const phonesim::Phone& phone, const QByteArray& prefix)
{
    QStringList sent;
    for (const QByteArray& command : phone.commandLog()) {
        if (command.startsWith(prefix))
            sent << QString::fromLatin1(command);
    }
    return sent;
}

// Turns the event loop until the condition holds or the time is up; the condition's last answer.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 20000)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (condition())
            return true;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return condition();
}

// The title a window manager shows for a window. Qt adds the application's display name, once
// one is set, to every title that does not already end with it; an empty title shows the
// display name (which is the application's name when none is set).
inline QString ShownTitle(const QWidget& window)
{
    const QString title = window.windowTitle();
    const QString display = QGuiApplication::applicationDisplayName();
    if (title.isEmpty())
        return display;
    if (display == QCoreApplication::applicationName() || title.endsWith(display))
        return title;
    return title + QStringLiteral(" \u2014 ") + display;
}

// The visible button of that text in a window other than the main window, e.g. a progress
// window's Abort; null when there is none.
inline QAbstractButton* ButtonOutside(const QWidget& mainWindow, const QString& text)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &mainWindow || !window->isVisible())
            continue;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (button->text() == text && button->isVisible())
                return button;
        }
    }
    return nullptr;
}

// Pictures for reviewers go to build/screenshots/.
inline QString PictureFolder()
{
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../screenshots"));
    EXPECT_TRUE(QDir().mkpath(folder));
    return folder;
}

inline void SavePicture(QWidget& widget, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(QDir(PictureFolder()).filePath(name + QStringLiteral(".png")))) << name.toStdString();
}

// When the save at exit fails, the window says so (the warning box, No by default) and stays,
// and with it the session's work; quitting without the data saved is the user's answer to that
// question. Exit and the close button alike. Then, kept open, the window closes without a word
// once mend has let the folder take the data again; the caller looks at what reached the disk.
// The window shows a session whose every save fails.
inline void ExpectAFailedSaveAtExitKeepsTheWindow(QWidget& window, QAction& exit, testsupport::RecordingUiServices& rec,
                                                 const QString& warning, const std::function<void()>& mend)
{
    const struct {
        const char* how;
        std::function<void()> close;
    } ways[] = {
        {"Exit", [&] { exit.trigger(); }},
        {"the close button", [&] { window.windowHandle()->close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        window.show();
        rec.boxes.clear();
        rec.boxAnswers = {platform::IDNO};
        way.close();
        EXPECT_TRUE(window.isVisible());
        ASSERT_EQ(rec.boxTexts(), QStringList{warning});
        EXPECT_EQ(rec.boxes[0].style, unsigned(platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2));

        rec.boxAnswers = {platform::IDYES};
        way.close();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(rec.boxTexts().size(), 2);
    }

    window.show();
    rec.boxes.clear();
    rec.boxAnswers = {platform::IDNO};
    window.close();
    ASSERT_TRUE(window.isVisible());
    mend();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(rec.boxTexts().size(), 1);
}

} // namespace windowtest
