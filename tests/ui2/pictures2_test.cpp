// Pictures of Deskhand2's pages and dialogs for reviewers, in build/screenshots/, and a printed
// phonebook beside them.
#include "main_window2_fixture.h"

#include "controls/list_print_job.h"
#include "controls/splitter_tab_wnd.h"
#include "ui2/about_dlg.h"
#include "ui2/contact_dlg.h"
#include "ui2/form_help.h"
#include "ui2/phonebook_list_dlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>

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

// Numbers from 1 to 3 digits in long lists, the same page at a larger font, and the page after
// the divider went as far right as it goes: the book selectors stay where they were.
TEST_F(Pictures2, LongListsLargerFontAndTheDivider)
{
    for (int i = 1; i <= 12; ++i)
        PutHandset(i, QStringLiteral("Handset %1").arg(i), QStringLiteral("0170%1").arg(i));
    windowtest::AddNumberedContacts<CPhoneEntry>(*doc, CMVsyncDoc::ListPc, 120);
    form->RefreshList(CMVsyncDoc::ListPc);
    frame->resize(1000, 700);
    Click(IDC_MOBILE_READ);
    Check(List(IDC_HANDSET_LIST), {9, 11});
    Check(List(IDC_PC_LIST), {98, 100});
    List(IDC_PC_LIST)->scrollToItem(List(IDC_PC_LIST)->topLevelItem(119));
    windowtest::SavePicture(*frame, QStringLiteral("deskhand2_phonebook_long_list"));

    QWidget* surface = form->GetFormSurface();
    const auto send = [surface](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPointF pos(x, 100);
        QMouseEvent event(type, pos, surface->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(surface, &event);
    };
    const int start = form->DividerHitRect().center().x();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, surface->width() - 331, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, surface->width() - 331, Qt::NoButton);
    windowtest::SavePicture(*frame, QStringLiteral("deskhand2_phonebook_divider"));

    QFont larger = QApplication::font();
    larger.setPointSize(larger.pointSize() + 4);
    frame->setFont(larger);
    frame->resize(1200, 800);
    windowtest::SavePicture(*frame, QStringLiteral("deskhand2_phonebook_larger_font"));
    frame->GetSplitter()->SelectView(1);
    windowtest::SavePicture(*frame, QStringLiteral("deskhand2_schedule_larger_font"));
}

} // namespace

namespace {

int PdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page ")
               + bytes.count("/Type /Page/"));
}

// File > Print prints the local phonebook whichever PC source is shown; a list that fills its
// pages exactly prints no empty page after them, and an empty list prints nothing.
TEST_F(Pictures2, PrintingFillsPagesExactly)
{
    QTemporaryDir out;
    const auto print = [&](const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath(name));
        form->SetPrinter(&printer);
        frame->FindAction(ID_FILE_PRINT)->trigger();
        form->SetPrinter(nullptr);
        return out.filePath(name);
    };
    EXPECT_FALSE(QFileInfo::exists(print(QStringLiteral("empty.pdf"))));

    AddPcContact(QStringLiteral("Ann"), QStringLiteral("1"));
    ASSERT_EQ(PdfPages(print(QStringLiteral("one.pdf"))), 1);
    // The rows a page holds on this printer, as the page's own print job counts them.
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    probe.setOutputFileName(out.filePath(QStringLiteral("probe.pdf")));
    CListPrintJob job;
    job.SetTitle(QStringLiteral("Contact\r\n"));
    job.SetFooter(QStringLiteral("Deskhand"));
    job.SetPageFormat(QStringLiteral("Page %d of %d"));
    job.SetList(List(IDC_PC_LIST));
    job.SetPrinter(&probe);
    job.Print();
    const int perPage = job.GetRowsPerPage();
    ASSERT_GT(perPage, 1);
    for (int i = 1; i < 2 * perPage; ++i)
        AddPcContact(QStringLiteral("n%1").arg(i), QStringLiteral("%1").arg(i));
    Click(IDC_OUTLOOK);
    EXPECT_EQ(PdfPages(print(QStringLiteral("two.pdf"))), 2);
}

} // namespace
