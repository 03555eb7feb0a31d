#include "controls/qt_ui_services.h"

#include "controls/window_titles.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <gmock/gmock.h>

#include <functional>

namespace {

using namespace platform;

// Runs action on the modal dialog of type T as soon as the event loop shows it.
template <typename T>
void WhenModal(std::function<void(T*)> action)
{
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(dialog);
    });
    poll->start(1);
}

TEST(QtUiServices, StylesGiveIconsAndButtons)
{
    using B = QMessageBox;
    const struct {
        unsigned style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    } rows[] = {
        {MB_OK, B::NoIcon, B::Ok, B::Ok},
        {MB_OK | MB_ICONERROR, B::Critical, B::Ok, B::Ok},
        {MB_OKCANCEL | MB_ICONWARNING, B::Warning, B::Ok | B::Cancel, B::Ok},
        {MB_YESNO | MB_ICONQUESTION, B::Question, B::Yes | B::No, B::Yes},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, B::Information, B::Yes | B::No | B::Cancel, B::Yes},
        {MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, B::Warning, B::Yes | B::No, B::No},
        {MB_OKCANCEL | MB_DEFBUTTON2, B::NoIcon, B::Ok | B::Cancel, B::Cancel},
        {MB_OK | MB_DEFBUTTON2, B::NoIcon, B::Ok, B::Ok},
        {0x2 /* abort, retry, ignore: never used */, B::NoIcon, B::Ok, B::Ok},
    };
    for (const auto& row : rows) {
        const QtUiServices::BoxLayout layout = QtUiServices::LayoutForStyle(row.style);
        EXPECT_EQ(layout.icon, row.icon) << row.style;
        EXPECT_EQ(layout.buttons, row.buttons) << row.style;
        EXPECT_EQ(layout.defaultButton, row.defaultButton) << row.style;
    }
}

TEST(QtUiServices, AnswersMapBackToTheSystemsIds)
{
    using B = QMessageBox;
    const struct {
        QMessageBox::StandardButton button;
        unsigned style;
        int answer;
    } rows[] = {
        {B::Ok, MB_OK, IDOK},
        {B::Cancel, MB_OKCANCEL, IDCANCEL},
        {B::Yes, MB_YESNO, IDYES},
        {B::No, MB_YESNOCANCEL, IDNO},
        {B::NoButton, MB_OK, IDOK},
        {B::NoButton, MB_OKCANCEL, IDCANCEL},
        {B::NoButton, MB_YESNO, IDNO},
        {B::NoButton, MB_YESNOCANCEL | MB_ICONQUESTION, IDCANCEL},
    };
    for (const auto& row : rows)
        EXPECT_EQ(QtUiServices::AnswerForButton(row.button, row.style), row.answer) << row.button << " " << row.style;
}

TEST(QtUiServices, FiltersInTheSystemsFormBecomeNameFilters)
{
    const struct {
        const char* filter;
        QStringList expected;
    } rows[] = {
        {"", {}},
        {"Text (*.csv)|*.csv||", {"Text (*.csv)"}},
        {"CSV Files|*.csv;*.txt|All Files (*.*)|*.*||", {"CSV Files (*.csv *.txt)", "All Files (*.*)"}},
        {"Comma separated (*.txt)|*.csv|", {"Comma separated (*.csv)"}},
        {"Anything", {"Anything (*)"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(QtUiServices::NameFilters(row.filter), row.expected) << row.filter;
}

// A box carries the program's name as its title, wide enough for a title bar to show it whole
// however short its text.
TEST(QtUiServices, ABoxStaysUsableWhileTheMainWindowIsDisabled)
{
    QWidget mainWindow;
    mainWindow.show();
    QtUiServices ui(QStringLiteral("Deskhand"));
    ui.SetMainWindow(&mainWindow);
    ui.enableMainWindow(false);
    EXPECT_FALSE(mainWindow.isEnabled());

    bool seen = false;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        seen = true;
        EXPECT_TRUE(box->isWindow());
        EXPECT_EQ(box->parentWidget(), nullptr);
        EXPECT_TRUE(box->isEnabled());
        EXPECT_EQ(box->windowTitle().toStdString(), "Deskhand");
        EXPECT_GE(box->width(), TitleBarWidth(box->windowTitle()));
        EXPECT_EQ(box->text(), "Are you sure?");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ui.messageBox("Are you sure?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_TRUE(seen);

    ui.enableMainWindow(true);
    EXPECT_TRUE(mainWindow.isEnabled());
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->parentWidget(), &mainWindow) << "over an enabled main window";
        EXPECT_GE(box->width(), TitleBarWidth(box->windowTitle()));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    });
    EXPECT_EQ(ui.messageBox("Failed.", MB_OK | MB_ICONERROR), IDOK);
}

TEST(QtUiServices, FileDialogsTakeTheRequestAndReturnTheChoice)
{
    QTemporaryDir dir;
    QtUiServices ui;
    FileDialogRequest request;
    request.open = false;
    request.title = "Save As CSV file";
    request.defaultExt = ".csv";
    request.fileName = dir.filePath("phonebook.csv");
    request.filter = "CSV Files (*.csv)|*.csv||";

    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Save As CSV file");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"CSV Files (*.csv)"});
        EXPECT_EQ(dialog->defaultSuffix(), "csv");
        static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept checks the choice
    });
    EXPECT_EQ(ui.fileDialog(request), dir.filePath("phonebook.csv"));

    request.open = true;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        dialog->reject();
    });
    EXPECT_EQ(ui.fileDialog(request), QString());
}

TEST(QtUiServices, WaitCursorsNestAndAnUnpairedEndTakesNothingAway)
{
    {
        QtUiServices ui;
        ui.beginWaitCursor();
        ui.beginWaitCursor();
        ui.endWaitCursor();
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui.endWaitCursor();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        ui.endWaitCursor();
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QGuiApplication::restoreOverrideCursor();

        ui.beginWaitCursor(); // left open: the services close it when they go
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtUiServices, ThePumpRunsPendingEventsAndNoticesAQuit)
{
    QtUiServices ui;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_TRUE(ui.processPendingEvents());
    EXPECT_TRUE(ran);

    // A quit during a transfer: the pump keeps returning false until the loop unwinds.
    std::vector<bool> pumps;
    QTimer::singleShot(0, [&] {
        pumps.push_back(ui.processPendingEvents());
        QCoreApplication::quit();
        pumps.push_back(ui.processPendingEvents());
        pumps.push_back(ui.processPendingEvents());
    });
    QTimer guard; // ends a loop that did not quit; stopped with the test
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_THAT(pumps, ::testing::ElementsAre(true, false, false));
}

} // namespace
