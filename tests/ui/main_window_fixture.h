#pragma once

// The real main window and its forms over a document whose serial lines all reach one
// simulated phone of the first family, on the virtual clock. Boxes and file dialogs are
// recorded and answered from a script; the main window is really disabled and enabled.
#include "controls/form_button.h"
#include "controls/limited_line_edit.h"
#include "controls/limited_text_edit.h"
#include "controls/phone_num_edit.h"
#include "controls/image_button.h"
#include "document/mvsync_doc.h"
#include "link/capacities.h"
#include "link/globals.h"
#include "phonesim/phone.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"
#include "platform/serial/serial_device.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"
#include "support/window_test_support.h"
#include "ui/form_contact.h"
#include "ui/main_frame.h"
#include "ui/resource.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QMouseEvent>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

using namespace dh1;

namespace uitest {

using windowtest::WindowUi;

class MainWindowTest : public ::testing::Test {
protected:
    using Dialog = std::function<int(QDialog&)>;

    MainWindowTest()
    {
        g_bUserAbort = false;
        g_nLastError = 0;
        g_nProgressRange = 10;
        phonesim::BookEntry ann{1, QStringLiteral("Ann"), QStringLiteral("+4930123"), {}, {}, {}, {}};
        phonesim::BookEntry bob{6, QStringLiteral("Bob"), QStringLiteral("0170"), QStringLiteral("030"), {}, {}, {}};
        phone.state().handset.entries[3] = ann;
        phone.state().handset.entries[7] = bob;
        phone.state().sim.entries[2] = phonesim::BookEntry{6, QStringLiteral("Cleo"), QStringLiteral("0171"), {}, {}, {}, {}};
    }

    void SetUp() override
    {
        ASSERT_TRUE(dataDir.isValid());
        doc = std::make_unique<CMVsyncDoc>();
        doc->SetDataDir(dataDir.path());
        doc->OnNewDocument();
        frame = std::make_unique<CMainFrame>(*doc);
        ui.window = frame.get();
        frame->SetModalRunner([this](QDialog& dialog) { return RunScripted(dialog); });
        frame->InitialUpdateFrame();
        frame->resize(1000, 700);
        frame->show();
        form = qobject_cast<CForm_Contact*>(frame->GetForm(0));
        ASSERT_NE(form, nullptr);
    }

    void TearDown() override
    {
        EXPECT_TRUE(dialogs.empty()) << dialogs.size() << " scripted dialogs were not opened";
        frame.reset();
        doc.reset();
    }

    // Every dialog runs the next script in line.
    int RunScripted(QDialog& dialog) { return scripts.Run(dialog); }

    // A PC contact in the document's local list, shown after a refresh.
    CPhoneEntry* AddPcContact(const QString& name, const QString& mobile, const QString& home = {},
                              const QString& office = {}, int kind = CMVsyncDoc::ListPc)
    {
        return windowtest::AddContact<CPhoneEntry>(*doc, *form, kind, name, mobile, home, office);
    }

    void Click(int id) { qobject_cast<QAbstractButton*>(form->GetDlgItem(id))->click(); }
    bool Enabled(int id) const { return form->GetDlgItem(id)->isEnabled(); }
    CRecordListCtrl* List(int id) const { return form->RecordList(id); }
    QString Text(int id) const { return form->Static(id)->text(); }

    // Column 1 (the name) of every row.
    static QStringList Names(const CRecordListCtrl* list) { return windowtest::Names(list); }
    static void Select(CRecordListCtrl* list, std::initializer_list<int> rows)
    {
        list->clearSelection();
        for (const int row : rows)
            list->SetSelected(row, true);
    }
    // A click on a row, as the user makes it: it selects the row and tells the form.
    static void ClickRow(CRecordListCtrl* list, int row)
    {
        Select(list, {row});
        Q_EMIT list->listClicked();
    }

    // Phone commands sent since the log was last cleared that begin with prefix.
    QStringList Sent(const QByteArray& prefix) const { return windowtest::Sent(phone, prefix); }

    // The window is usable again and the port is free.
    void ExpectIdle() const
    {
        EXPECT_TRUE(frame->isEnabled());
        EXPECT_FALSE(lines.lineOpen());
        EXPECT_FALSE(doc->m_session.m_bConnected);
        EXPECT_FALSE(doc->IsBusy());
    }

    QStringList Boxes() const { return ui.rec.boxTexts(); }

    static QString PictureFolder() { return windowtest::PictureFolder(); }
    static void SavePicture(QWidget& widget, const QString& name) { windowtest::SavePicture(widget, name); }
    // File > Print on a page, into a PDF file beside the pictures.
    void PrintToPdf(CDataForm& page, const QString& name)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(PictureFolder()).filePath(name + QStringLiteral(".pdf")));
        page.SetPrinter(&printer);
        frame->FindAction(ids::ID_FILE_PRINT)->trigger();
        page.SetPrinter(nullptr);
        EXPECT_GT(QFileInfo(printer.outputFileName()).size(), 0);
    }

    // A dialog script: fills a dialog through f, then presses OK; its result is the dialog's.
    template <typename Dlg>
    static Dialog Fill(std::function<void(Dlg&)> f)
    {
        return windowtest::DialogScripts::Fill<Dlg>(std::move(f));
    }

    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard{clock};
    WindowUi ui;
    platform::ScopedUiServices uiGuard{ui};
    phonesim::Phone phone;
    phonesim::SimulatedLineFactory lines{phone};
    platform::ScopedSerialDeviceFactory lineGuard{lines};
    QTemporaryDir dataDir;
    std::unique_ptr<CMVsyncDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    CForm_Contact* form = nullptr;
    windowtest::DialogScripts scripts;
    std::deque<Dialog>& dialogs = scripts.scripts;
    int& dialogsRun = scripts.run;
};

} // namespace uitest
