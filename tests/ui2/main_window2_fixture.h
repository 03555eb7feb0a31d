#pragma once

// Deskhand2's real main window and its pages over a document whose serial lines all reach one
// simulated phone of the second family (model 1, 2 or 3), on the virtual clock. Boxes and file
// dialogs are recorded and answered from a script; dialogs run from a queue of scripts.
#include "controls/form_button.h"
#include "controls/image_button.h"
#include "controls/record_list_ctrl.h"
#include "document2/mvsync_doc.h"
#include "link2/model_profile.h"
#include "link2/message_pump.h"
#include "link2/progress_view.h"
#include "phonesim/dialect.h"
#include "phonesim/phone.h"
#include "phonesim/simulated_line.h"
#include "platform/clock.h"
#include "platform/serial/serial_device.h"
#include "platform/string_table.h"
#include "support/window_test_support.h"
#include "ui2/data_form.h"
#include "ui2/form_contact.h"
#include "ui2/main_frame.h"
#include "ui2/resource.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace ui2test {

using namespace dh2;
using namespace dh2::ids;

class MainWindow2Test : public ::testing::Test {
protected:
    using Dialog = windowtest::DialogScripts::Dialog;

    explicit MainWindow2Test(int model = 2) : phone(phonesim::MakeDialect2(model))
    {
        // The PIM side is a store of the test's own, missing until a test makes it.
        m_oldPimDir = qgetenv("DESKHAND_PIM_DIR");
        qputenv("DESKHAND_PIM_DIR", dataDir.filePath(QStringLiteral("pim")).toLocal8Bit());
        g_bCancel = false;
        ModelProfile().SetModel(CModelProfile::TypeCorvo);
        ResetDefaultGroups();
    }
    ~MainWindow2Test() override
    {
        g_bCancel = false;
        qputenv("DESKHAND_PIM_DIR", m_oldPimDir);
    }

    void SetUp() override
    {
        ASSERT_TRUE(dataDir.isValid());
        StartWindow();
        ASSERT_NE(form, nullptr);
    }

    // A new document over the data folder and its window, as a start of the program makes them.
    void StartWindow()
    {
        doc = std::make_unique<CMVsyncDoc>();
        doc->SetDataDir(dataDir.path());
        frame = std::make_unique<CMainFrame>(*doc);
        ui.window = frame.get();
        frame->SetModalRunner([this](QDialog& dialog) { return scripts.Run(dialog); });
        doc->OnNewDocument();
        frame->InitialUpdateFrame();
        frame->resize(1000, 700);
        frame->show();
        form = qobject_cast<CForm_Contact*>(frame->GetForm(0));
    }

    void TearDown() override
    {
        EXPECT_TRUE(scripts.scripts.empty()) << scripts.scripts.size() << " scripted dialogs were not opened";
        frame.reset();
        doc.reset();
    }

    phonesim::Dialect2State& phoneState() { return phone.state().dialect2; }

    // A contact in a PC-side list of the document, shown after a refresh.
    CPhoneEntry* AddPcContact(const QString& name, const QString& mobile, const QString& home = {},
                              const QString& office = {}, int kind = CMVsyncDoc::ListPc)
    {
        return windowtest::AddContact<CPhoneEntry>(*doc, *form, kind, name, mobile, home, office);
    }
    // A handset entry on the simulated phone.
    void PutHandset(int index, const QString& name, const QString& mobile)
    {
        phonesim::HandsetEntry2 entry;
        entry.name = name;
        entry.numbers[0].number = mobile;
        phoneState().handset.entries[index] = entry;
    }

    void Click(int id) { qobject_cast<QAbstractButton*>(form->GetDlgItem(id))->click(); }
    bool Enabled(int id) const { return form->GetDlgItem(id)->isEnabled(); }
    CRecordListCtrl* List(int id) const { return form->RecordList(id); }
    QString Text(int id) const { return form->Static(id)->text(); }
    static void Check(CRecordListCtrl* list, std::initializer_list<int> rows)
    {
        for (const int row : rows)
            list->SetCheck(row, true);
    }
    // Column 1 (the name) of every row.
    static QStringList Names(const CRecordListCtrl* list) { return windowtest::Names(list); }
    // Phone commands received that begin with prefix.
    QStringList Sent(const QByteArray& prefix) const { return windowtest::Sent(phone, prefix); }
    QStringList Boxes() const { return ui.rec.boxTexts(); }
    // The window is usable again and no command runs.
    void ExpectIdle() const
    {
        EXPECT_TRUE(frame->isEnabled());
        EXPECT_FALSE(doc->IsBusy());
    }

    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard{clock};
    windowtest::WindowUi ui;
    platform::ScopedUiServices uiGuard{ui};
    QTemporaryDir dataDir;
    phonesim::Phone phone;
    phonesim::SimulatedLineFactory lines{phone};
    platform::ScopedSerialDeviceFactory lineGuard{lines};
    std::unique_ptr<CMVsyncDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    CForm_Contact* form = nullptr;
    windowtest::DialogScripts scripts;

private:
    QByteArray m_oldPimDir;
};

} // namespace ui2test
