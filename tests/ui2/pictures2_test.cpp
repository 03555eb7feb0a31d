// Pictures of Deskhand2's pages and dialogs for reviewers, in build/screenshots/, and a printed
// phonebook beside them.
#include "main_window2_fixture.h"

#include "ui2/about_dlg.h"
#include "ui2/contact_dlg.h"
#include "ui2/form_help.h"
#include "ui2/phonebook_list_dlg.h"

#include <QFileInfo>
#include <QPrinter>

namespace {

using namespace ui2test;

using Pictures2 = MainWindow2Test;

TEST_F(Pictures2, PagesAndDialogs)
{
    PutHandset(1, QStringLiteral("Ann Becker"), QStringLiteral("+4930123456"));
    PutHandset(2, QStringLiteral("Bob Chen"), QStringLiteral("13900001111"));
    AddPcContact(QStringLiteral("Cleo Diaz"), QStringLiteral("0170555"), QStringLiteral("030777"));
    AddPcContact(QStringLiteral("Dan Evans"), QString(), QString(), QStringLiteral("0401"));
    frame->resize(1000, 700);
    Click(IDC_MOBILE_READ);
    Check(List(IDC_HANDSET_LIST), {1});
    List(IDC_PC_LIST)->SetSelected(0, true);
    Q_EMIT List(IDC_PC_LIST)->listClicked();
    windowtest::SavePicture(*frame, QStringLiteral("deskhand2_phonebook"));
    Click(IDC_SIM);
    windowtest::SavePicture(*frame, QStringLiteral("deskhand2_phonebook_sim"));

    CPhoneEntry entry = *doc->m_arPcContacts[0];
    CContactDlg contact(entry, CContactDlg::ModeEdit);
    windowtest::SavePicture(contact, QStringLiteral("deskhand2_contact_dialog"));
    CPhonebookListDlg pick(*doc);
    windowtest::SavePicture(pick, QStringLiteral("deskhand2_phonebook_list_dialog"));
    CAboutDlg about;
    windowtest::SavePicture(about, QStringLiteral("deskhand2_about"));
    CForm_Help help;
    help.OnInitialUpdate();
    help.resize(700, 500);
    windowtest::SavePicture(help, QStringLiteral("deskhand2_help_form"));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(windowtest::PictureFolder()).filePath(QStringLiteral("deskhand2_phonebook.pdf")));
    form->SetPrinter(&printer);
    frame->FindAction(ID_FILE_PRINT)->trigger();
    form->SetPrinter(nullptr);
    EXPECT_GT(QFileInfo(printer.outputFileName()).size(), 0);
}

} // namespace
