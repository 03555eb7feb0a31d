// Deskhand2's dialogs on their own: the contact dialog's confirmation, prefix and group rules,
// the number edits' character set for typing and for pasting, the phonebook list and the pick
// list, and the help page's frame.
#include "main_window2_fixture.h"

#include "controls/phone_num_edit.h"
#include "ui2/contact_dlg.h"
#include "ui2/form_help.h"
#include "ui2/phonebook_list_dlg.h"
#include "ui2/select_schedule_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMimeData>
#include <QTest>
#include <QTextBrowser>

namespace {

using namespace ui2test;

using Dialogs2 = MainWindow2Test;

// OK confirms only with a name and one of mobile, office and home; a model that writes "+" for
// a leading "00" does so in those three numbers.
TEST_F(Dialogs2, ContactConfirmationAndPrefix)
{
    struct Row {
        bool plusForDoubleZero;
        const char* name;
        const char* office;
        const char* fax;
        bool closes;
        const char* stored; // the office number
    };
    const Row rows[] = {
        {false, "Ann", "", "0400", false, ""},
        {false, "", "0301", "", false, ""},
        {false, "Ann", "0044123", "0044", true, "0044123"},
        {true, "Ann", "0044123", "0044", true, "+44123"},
        {true, "Ann", "0", "", true, "0"},
        {true, "Ann", "+0044", "", true, "+0044"},
    };
    for (const Row& row : rows) {
        ModelProfile().plusForDoubleZero = row.plusForDoubleZero;
        CPhoneEntry entry;
        CContactDlg dialog(entry, CContactDlg::ModeNew);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New"));
        dialog.NameEdit()->setText(QString::fromUtf8(row.name));
        dialog.OfficeEdit()->setText(QString::fromUtf8(row.office));
        dialog.FaxEdit()->setText(QString::fromUtf8(row.fax));
        dialog.accept();
        const std::string where = std::string(row.name) + "/" + row.office + "/" + std::to_string(row.plusForDoubleZero);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, row.closes) << where;
        EXPECT_EQ(entry.m_strOffice, QString::fromUtf8(row.stored)) << where;
        if (row.closes) {
            EXPECT_EQ(entry.m_strFax, QString::fromUtf8(row.fax)) << where;
        }
    }
}

// With groups the list offers the table and OK takes the choice, noting a change; without
// groups the list is disabled and empty and the entry keeps the group it has.
TEST_F(Dialogs2, ContactGroupFollowsTheModel)
{
    ModelProfile().SetModel(CModelProfile::TypeCorvo);
    ASSERT_TRUE(ModelProfile().callerGroups);
    CPhoneEntry entry;
    entry.m_strName = QStringLiteral("Ann");
    entry.m_strMobile = QStringLiteral("1");
    entry.m_nGroup = 2;
    {
        CContactDlg dialog(entry, CContactDlg::ModeEdit);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit"));
        EXPECT_EQ(dialog.GroupList()->count(), int(g_arrGroups.size()));
        EXPECT_EQ(dialog.GroupList()->currentIndex(), 2);
        dialog.GroupList()->setCurrentIndex(4);
        dialog.accept();
        EXPECT_EQ(entry.m_nGroup, 4);
        EXPECT_TRUE(entry.m_bCountsInGroup);
    }
    ModelProfile().SetModel(-1);
    ASSERT_FALSE(ModelProfile().callerGroups);
    {
        CContactDlg dialog(entry, CContactDlg::ModeEdit);
        EXPECT_FALSE(dialog.GroupList()->isEnabled());
        EXPECT_EQ(dialog.GroupList()->count(), 0);
        dialog.accept();
        EXPECT_EQ(entry.m_nGroup, 4);
        EXPECT_FALSE(entry.m_bCountsInGroup);
    }
    // Cancel leaves the entry alone.
    CContactDlg dialog(entry, CContactDlg::ModeEdit);
    dialog.NameEdit()->setText(QStringLiteral("Bob"));
    dialog.reject();
    EXPECT_EQ(entry.m_strName, QStringLiteral("Ann"));
}

// The number edits of Deskhand2 take digits, '#', '*', '+' and 'P' whether typed, pasted or
// dropped; with the filter off only the back-quote is refused.
TEST_F(Dialogs2, NumberEditCharsetForEveryInput)
{
    struct Row {
        const char* input;
        bool filter;
        const char* kept;
    };
    const Row rows[] = {
        {"+49 (30) p123P#*", true, "+4930123P#*"},
        {"abc", true, ""},
        {"a`b c", false, "ab c"},
    };
    for (const Row& row : rows) {
        const QString input = QString::fromUtf8(row.input);
        const QString kept = QString::fromUtf8(row.kept);
        CPhoneNumEdit typed(CPhoneNumEdit::kDeskhand2);
        typed.SetFilter(row.filter);
        QTest::keyClicks(&typed, input);
        EXPECT_EQ(typed.text(), kept) << "typed " << row.input;

        CPhoneNumEdit pasted(CPhoneNumEdit::kDeskhand2);
        pasted.SetFilter(row.filter);
        QApplication::clipboard()->setText(input);
        pasted.setFocus();
        QTest::keySequence(&pasted, QKeySequence::Paste);
        EXPECT_EQ(pasted.text(), kept) << "pasted " << row.input;

        CPhoneNumEdit dropped(CPhoneNumEdit::kDeskhand2);
        dropped.SetFilter(row.filter);
        dropped.resize(200, 24);
        QMimeData data;
        data.setText(input);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dropped, &enter);
        QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dropped, &move);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dropped, &drop);
        EXPECT_EQ(dropped.text(), kept) << "dropped " << row.input;
    }
    // Deskhand's edit keeps its own rule: a lower-case p is typed, a paste is not judged.
    CPhoneNumEdit first;
    QTest::keyClicks(&first, QStringLiteral("1p"));
    EXPECT_EQ(first.text(), QStringLiteral("1p"));
}

// Each mobile number once, with the first name it has (PC before SIM); a click takes the
// number, and OK needs one.
TEST_F(Dialogs2, PhonebookListOffersEachNumberOnce)
{
    AddPcContact(QStringLiteral("Ann"), QStringLiteral("0301"));
    AddPcContact(QStringLiteral("NoNumber"), QString());
    auto sim = std::make_unique<CPhoneEntry>();
    sim->m_strName = QStringLiteral("Ann on SIM");
    sim->m_strMobile = QStringLiteral("0301");
    doc->m_arSimContacts.push_back(std::move(sim));
    auto handset = std::make_unique<CPhoneEntry>();
    handset->m_strName = QStringLiteral("Bob");
    handset->m_strMobile = QStringLiteral("0302");
    doc->m_arHandsetContacts.push_back(std::move(handset));

    CPhonebookListDlg dialog(*doc);
    CRecordListCtrl* list = dialog.List();
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Ann"));
    EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("0302"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    list->SetSelected(1, true);
    Q_EMIT list->listClicked();
    EXPECT_EQ(dialog.GetNumber(), QStringLiteral("0302"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(Dialogs2, SelectItemReturnsTheSelectedRecord)
{
    CScheduleEntry a;
    a.m_strSubject = QStringLiteral("Dentist");
    CScheduleEntry b;
    b.m_strSubject = QStringLiteral("Train");
    {
        CSelectScheduleDlg dialog({&a, &b});
        EXPECT_EQ(dialog.List()->GetItemText(1, 0), QStringLiteral("2"));
        EXPECT_EQ(dialog.List()->GetItemText(1, 1), QStringLiteral("Train"));
        dialog.accept();
        EXPECT_EQ(dialog.GetChosen(), nullptr);
    }
    CSelectScheduleDlg dialog({&a, &b});
    dialog.List()->SortColumn(1, false);
    dialog.List()->SetSelected(0, true);
    dialog.accept();
    EXPECT_EQ(dialog.GetChosen(), &b);
}

// The help page keeps a 6-pixel black frame around its browser at any size.
TEST_F(Dialogs2, HelpPageFramesItsBrowser)
{
    CForm_Help help;
    help.OnInitialUpdate();
    EXPECT_FALSE(help.Browser()->toPlainText().isEmpty());
    for (const QSize size : {QSize(400, 300), QSize(820, 610)}) {
        help.resize(size);
        help.show();
        QApplication::processEvents();
        EXPECT_EQ(help.Browser()->geometry(), QRect(6, 6, size.width() - 12, size.height() - 12));
        const QImage picture = help.grab().toImage();
        EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::black));
        EXPECT_EQ(picture.pixelColor(size.width() - 3, size.height() / 2), QColor(Qt::black));
    }
}

} // namespace
