// Deskhand2's phonebook page driven through its controls against the simulated phone: what
// the user sees in the lists, boxes and title, and what the phone received.
#include "main_window2_fixture.h"

#include "phonesim/fault.h"
#include "controls/phone_num_edit.h"
#include "ui2/contact_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QTest>

namespace {

using namespace ui2test;
using phonesim::Fault;

using Phonebook2 = MainWindow2Test;

// Reading the handset book identifies the phone: the title names its model, the rows show the
// book with their running numbers, and the transfer buttons open up.
class PhonebookModels : public MainWindow2Test, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    PhonebookModels() : MainWindow2Test(GetParam().first) {}
};

TEST_P(PhonebookModels, ReadNamesTheModelAndShowsTheBook)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    PutHandset(4, QStringLiteral("Bob"), QStringLiteral("0302"));
    EXPECT_FALSE(Enabled(IDC_COPY_TO_MOBILE));
    Click(IDC_MOBILE_READ);
    // The three simulated models are the three Corvo firmwares.
    EXPECT_EQ(ModelProfile().GetModel(), GetParam().second);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Zentra Deskhand - Model Corvo"));
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), (QStringList{"Ann", "Bob"}));
    EXPECT_EQ(List(IDC_HANDSET_LIST)->GetItemText(1, 0), QStringLiteral("2"));
    EXPECT_EQ(Text(IDC_INFO), QStringLiteral(" 2/200"));
    EXPECT_TRUE(Enabled(IDC_COPY_TO_MOBILE));
    EXPECT_TRUE(Enabled(IDC_COPY_TO_PC));
    EXPECT_TRUE(Boxes().isEmpty());
    ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(Models, PhonebookModels,
                         ::testing::Values(std::pair{1, int(CModelProfile::TypeTondav)},
                                           std::pair{2, int(CModelProfile::TypeCorvo)},
                                           std::pair{3, int(CModelProfile::TypeCorvoS2)}));

// ">>" writes the checked rows only, skips a row without a name, links each source to its new
// index and takes that index from every other contact that held it.
TEST_F(Phonebook2, CopyToHandsetWritesCheckedRows)
{
    Click(IDC_MOBILE_READ);
    CPhoneEntry* ann = AddPcContact(QStringLiteral("Ann"), QStringLiteral("0301"));
    AddPcContact(QStringLiteral("Bob"), QStringLiteral("0302"));
    AddPcContact(QString(), QStringLiteral("0303"));
    CPhoneEntry* stale = AddPcContact(QStringLiteral("Old"), QStringLiteral("0304"));
    stale->m_nIndex = 1; // a link left from another phone
    form->RefreshList(CMVsyncDoc::ListPc);
    Check(List(IDC_PC_LIST), {0, 2});
    EXPECT_TRUE(Enabled(IDC_PC_DELETE));
    Click(IDC_COPY_TO_MOBILE);

    EXPECT_EQ(Sent("AT+CPBW=").size(), 1);
    EXPECT_EQ(phoneState().handset.entries.at(1).name, QStringLiteral("Ann"));
    EXPECT_EQ(ann->m_nIndex, 1);
    EXPECT_EQ(stale->m_nIndex, -1);
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), QStringList{"Ann"});
    EXPECT_EQ(Text(IDC_INFO), QStringLiteral(" 1/200"));
    EXPECT_TRUE(Boxes().isEmpty());
    ExpectIdle();
}

// The SIM takes one number: the mobile one, else the office one, else the home one; the
// contact keeps its own numbers and gains the SIM index.
TEST_F(Phonebook2, CopyToSimTakesTheFirstNumberThereIs)
{
    Click(IDC_SIM);
    Click(IDC_MOBILE_READ);
    ASSERT_TRUE(doc->m_bSimRead);
    CPhoneEntry* home = AddPcContact(QStringLiteral("Home"), QString(), QStringLiteral("0307"));
    Check(List(IDC_PC_LIST), {0});
    Click(IDC_COPY_TO_MOBILE);
    ASSERT_EQ(phoneState().sim.entries.count(1), 1u);
    EXPECT_EQ(phoneState().sim.entries.at(1).number, QStringLiteral("0307"));
    EXPECT_TRUE(home->m_strMobile.isEmpty());
    EXPECT_EQ(home->m_nSimIndex, 1);
    EXPECT_EQ(Names(List(IDC_SIM_LIST)), QStringList{"Home"});
    // A SIM row shows the SIM image; the PC row now counts as on the SIM.
    EXPECT_EQ(List(IDC_SIM_LIST)->GetItemImage(0), 5);
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemImage(0), 5);
}

// Into a full book nothing is written and the box says so; a phone that refuses a write ends
// the loop with its box, the rows before it written.
TEST_F(Phonebook2, FullBookAndRefusedWrite)
{
    for (int i = 1; i <= 200; ++i)
        PutHandset(i, QStringLiteral("n%1").arg(i), QStringLiteral("%1").arg(i));
    Click(IDC_MOBILE_READ);
    AddPcContact(QStringLiteral("Ann"), QStringLiteral("0301"));
    Check(List(IDC_PC_LIST), {0});
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Boxes(), QStringList{"Memory is full"});
    EXPECT_TRUE(Sent("AT+CPBW=").isEmpty());

    phoneState().handset.entries.clear();
    Click(IDC_MOBILE_READ);
    AddPcContact(QStringLiteral("Bob"), QStringLiteral("0302"));
    AddPcContact(QStringLiteral("Cleo"), QStringLiteral("0303"));
    Check(List(IDC_PC_LIST), {0, 1, 2});
    phone.injectFault("AT+CPBW=2,*", Fault::error());
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Boxes().last(), QStringLiteral("Failed to write data"));
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), QStringList{"Ann"});
    ExpectIdle();
}

// A write or delete whose answer never came: the box says what may have happened and to read the
// book again; the book shows no rows until it is read, ">>" waits for that read, and no contact
// keeps a link the phone may not hold. The read shows what the phone did.
TEST_F(Phonebook2, AnUnconfirmedWriteOrDeleteSaysSoAndLeavesTheBookToBeReadAgain)
{
    Click(IDC_MOBILE_READ);
    CPhoneEntry* ann = AddPcContact(QStringLiteral("Ann"), QStringLiteral("0301"));
    Check(List(IDC_PC_LIST), {0});
    phone.injectFault("AT+CPBW=1,*", Fault::lost(), 1);
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Boxes(), QStringList{"The phone did not confirm writing the entry: it may hold it. Read the list from the "
                                   "phone again before you try again."});
    ASSERT_EQ(ui.rec.boxes.size(), 1u);
    EXPECT_EQ(ui.rec.boxes[0].style, unsigned(platform::MB_ICONINFORMATION));
    EXPECT_EQ(ann->m_nIndex, -1);
    EXPECT_EQ(List(IDC_HANDSET_LIST)->GetItemCount(), 0);
    EXPECT_FALSE(Enabled(IDC_COPY_TO_MOBILE));
    ui.rec.boxes.clear();
    Click(IDC_MOBILE_READ);
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), QStringList{"Ann"});
    EXPECT_TRUE(Enabled(IDC_COPY_TO_MOBILE));

    phoneState().sim.entries[3] = {QStringLiteral("Bob"), QStringLiteral("0302")};
    phoneState().sim.entries[5] = {QStringLiteral("Cleo"), QStringLiteral("0303")};
    CPhoneEntry* bob = AddPcContact(QStringLiteral("Bob"), QStringLiteral("0302"));
    CPhoneEntry* cleo = AddPcContact(QStringLiteral("Cleo"), QStringLiteral("0303"));
    bob->m_nSimIndex = 3;
    cleo->m_nSimIndex = 5;
    Click(IDC_SIM);
    Click(IDC_MOBILE_READ);
    ASSERT_EQ(Names(List(IDC_SIM_LIST)), (QStringList{"Bob", "Cleo"}));
    Check(List(IDC_SIM_LIST), {0, 1});
    phone.injectFault("AT+CPBW=3", Fault::lostThenClose(), 1);
    phone.clearCommandLog();
    ui.rec.boxAnswers.push_back(platform::IDYES); // every row checked: the question comes first
    Click(IDC_MOBILE_DELETE);
    EXPECT_EQ(Boxes(), QStringList({"Do you want to delete datas?",
                                    "The phone did not confirm deleting entry 3: it may have been deleted. Read the list "
                                    "from the phone again before you try again."}));
    ASSERT_EQ(ui.rec.boxes.size(), 2u);
    EXPECT_EQ(ui.rec.boxes[1].style, unsigned(platform::MB_ICONINFORMATION));
    EXPECT_EQ(List(IDC_SIM_LIST)->GetItemCount(), 0);
    EXPECT_EQ(bob->m_nSimIndex, -1);
    EXPECT_EQ(cleo->m_nSimIndex, 5);
    EXPECT_FALSE(Enabled(IDC_COPY_TO_MOBILE));
    // Nothing more was tried after it.
    EXPECT_EQ(Sent("AT+CPBW="), QStringList{"AT+CPBW=3"});
    ui.rec.boxes.clear();
    Click(IDC_MOBILE_READ);
    EXPECT_EQ(Names(List(IDC_SIM_LIST)), QStringList{"Cleo"});
    EXPECT_TRUE(Boxes().isEmpty());
    ExpectIdle();
}

// A phone that cannot be reached for the book: the box says so, nothing is written, the
// session is closed and the window usable; the same for Delete on the phone.
TEST_F(Phonebook2, UnreachableBookSaysSo)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    Click(IDC_MOBILE_READ);
    AddPcContact(QStringLiteral("Bob"), QStringLiteral("0302"));
    Check(List(IDC_PC_LIST), {0});
    phone.injectFault("AT+CPBS=*", Fault::error());
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Boxes().last(), QStringLiteral("Failed to connect mobile"));
    EXPECT_TRUE(Sent("AT+CPBW=").isEmpty());
    Check(List(IDC_HANDSET_LIST), {0});
    Click(IDC_MOBILE_DELETE);
    EXPECT_TRUE(Text(IDC_INFO).isEmpty() || Text(IDC_INFO) == QStringLiteral(" 1/200"));
    EXPECT_EQ(phoneState().handset.entries.count(1), 1u);
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), QStringList{"Ann"});
    ExpectIdle();
}

// PC Delete asks only while Select All is checked; No keeps everything.
TEST_F(Phonebook2, PcDeleteAsksOnlyForEverything)
{
    AddPcContact(QStringLiteral("Ann"), QStringLiteral("1"));
    AddPcContact(QStringLiteral("Bob"), QStringLiteral("2"));
    AddPcContact(QStringLiteral("Cleo"), QStringLiteral("3"));
    Check(List(IDC_PC_LIST), {1});
    Click(IDC_PC_DELETE);
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_EQ(Names(List(IDC_PC_LIST)), (QStringList{"Ann", "Cleo"}));
    EXPECT_FALSE(Enabled(IDC_PC_DELETE));

    Click(IDC_PC_SELECT_ALL);
    EXPECT_TRUE(form->CheckBox(IDC_PC_SELECT_ALL)->isChecked());
    ui.rec.boxAnswers.push_back(platform::IDNO);
    Click(IDC_PC_DELETE);
    EXPECT_EQ(Boxes(), QStringList{"Do you want to delete datas?"});
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemCount(), 2);
    Click(IDC_PC_DELETE);
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemCount(), 0);
    EXPECT_EQ(Text(IDC_TOTAL), QStringLiteral("Total : 0"));
}

// Delete on the phone takes each index before the record goes and unlinks the PC contacts
// that pointed at it; unchecked entries stay.
TEST_F(Phonebook2, MobileDeleteUnlinksWhatItDeleted)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    PutHandset(2, QStringLiteral("Bob"), QStringLiteral("0302"));
    CPhoneEntry* linked = AddPcContact(QStringLiteral("Ann"), QStringLiteral("0301"));
    linked->m_nIndex = 1;
    Click(IDC_MOBILE_READ);
    Check(List(IDC_HANDSET_LIST), {0});
    EXPECT_TRUE(Enabled(IDC_MOBILE_DELETE));
    Click(IDC_MOBILE_DELETE);
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_EQ(phoneState().handset.entries.count(1), 0u);
    EXPECT_EQ(phoneState().handset.entries.count(2), 1u);
    EXPECT_EQ(linked->m_nIndex, -1);
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), QStringList{"Bob"});

    // With Select All the question comes first.
    Click(IDC_MOBILE_SELECT_ALL);
    Click(IDC_MOBILE_DELETE);
    EXPECT_EQ(Boxes(), QStringList{"Do you want to delete datas?"});
    EXPECT_EQ(List(IDC_HANDSET_LIST)->GetItemCount(), 0);
    ExpectIdle();
}

// A read that fails says so and keeps every contact's handset link: an empty list says
// nothing about the phone. A read that works drops the links to indices the book lacks.
TEST_F(Phonebook2, FailedReadKeepsTheLinks)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    CPhoneEntry* onPhone = AddPcContact(QStringLiteral("Ann"), QStringLiteral("0301"));
    onPhone->m_nIndex = 1;
    CPhoneEntry* gone = AddPcContact(QStringLiteral("Gone"), QStringLiteral("0309"));
    gone->m_nIndex = 7;
    phone.injectFault("AT+CPBR=*", Fault::error());
    Click(IDC_MOBILE_READ);
    EXPECT_EQ(Boxes(), QStringList{"Failed to read Mobile."});
    EXPECT_EQ(onPhone->m_nIndex, 1);
    EXPECT_EQ(gone->m_nIndex, 7);

    phone.clearFaults();
    Click(IDC_MOBILE_READ);
    EXPECT_EQ(onPhone->m_nIndex, 1);
    EXPECT_EQ(gone->m_nIndex, -1);
    ExpectIdle();
}

// After a sort Edit changes the record of the selected row and that row shows it.
TEST_F(Phonebook2, EditAfterSortRewritesTheRightRow)
{
    AddPcContact(QStringLiteral("Bob"), QStringLiteral("2"));
    CPhoneEntry* ann = AddPcContact(QStringLiteral("Ann"), QStringLiteral("1"));
    CRecordListCtrl* list = List(IDC_PC_LIST);
    list->SortColumn(1, true);
    ASSERT_EQ(Names(list), (QStringList{"Ann", "Bob"}));
    EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("1")); // numbers run from the top again
    list->SetSelected(0, true);
    Q_EMIT list->listClicked();
    EXPECT_TRUE(Enabled(IDC_PC_EDIT));
    scripts.scripts.push_back(windowtest::DialogScripts::Fill<CContactDlg>(
        [](CContactDlg& dialog) { dialog.NameEdit()->setText(QStringLiteral("Anna")); }));
    Click(IDC_PC_EDIT);
    EXPECT_EQ(ann->m_strName, QStringLiteral("Anna"));
    EXPECT_EQ(ann->m_nState, CSyncRecord::StateChanged);
    const int row = list->GetSelectedIndex();
    ASSERT_GE(row, 0);
    EXPECT_EQ(list->GetItemText(row, 1), QStringLiteral("Anna"));
    EXPECT_EQ(Names(list).count(QStringLiteral("Bob")), 1);
}

// New stores into the list shown, checks the new row and shows the total.
TEST_F(Phonebook2, NewContactIsStoredAndChecked)
{
    scripts.scripts.push_back(windowtest::DialogScripts::Fill<CContactDlg>([](CContactDlg& dialog) {
        dialog.NameEdit()->setText(QStringLiteral("Dan"));
        dialog.FaxEdit()->setText(QStringLiteral("0400"));
        dialog.HomeEdit()->setText(QStringLiteral("0401"));
    }));
    Click(IDC_PC_NEW);
    ASSERT_EQ(doc->m_arPcContacts.size(), 1u);
    EXPECT_EQ(doc->m_arPcContacts[0]->m_strFax, QStringLiteral("0400"));
    EXPECT_TRUE(List(IDC_PC_LIST)->GetCheck(0));
    EXPECT_EQ(Text(IDC_TOTAL), QStringLiteral("Total : 1"));
}

// "<<" copies the checked phone rows into the local list; the phone hears nothing more.
TEST_F(Phonebook2, CopyToPcStoresCheckedRows)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    PutHandset(2, QStringLiteral("Bob"), QStringLiteral("0302"));
    Click(IDC_MOBILE_READ);
    const qsizetype sent = phone.commandLog().size();
    Check(List(IDC_HANDSET_LIST), {1});
    Click(IDC_COPY_TO_PC);
    EXPECT_EQ(Names(List(IDC_PC_LIST)), QStringList{"Bob"});
    EXPECT_EQ(doc->m_arPcContacts[0]->m_nIndex, 2);
    EXPECT_EQ(phone.commandLog().size(), sent);
}

// The detail list shows a contact's fields, its group only where the model has groups.
TEST_F(Phonebook2, DetailsShowTheSelectedContact)
{
    CPhoneEntry* ann = AddPcContact(QStringLiteral("Ann"), QStringLiteral("0301"));
    ann->m_nGroup = 1;
    ann->m_nIndex = 5;
    form->RefreshList(CMVsyncDoc::ListPc);
    CRecordListCtrl* list = List(IDC_PC_LIST);
    list->SetSelected(0, true);
    Q_EMIT list->listClicked();
    CDetailListCtrl* details = form->DetailList(IDC_PC_DETAIL);
    EXPECT_EQ(details->GetValue(0), QStringLiteral("Ann"));
    EXPECT_EQ(details->GetLabel(6), QStringLiteral("Group"));
    EXPECT_EQ(details->GetValue(6), GetGroupName(1));
    EXPECT_EQ(details->GetValue(7), QStringLiteral("Mobile 5"));
    ModelProfile().SetModel(-1);
    ASSERT_FALSE(ModelProfile().callerGroups);
    Q_EMIT list->listClicked();
    EXPECT_TRUE(details->GetValue(6).isEmpty());
}

// Every control is found by what it shows.
TEST_F(Phonebook2, ControlsCarryTheirTextsAsNames)
{
    for (const char* name : {"Read", "<<", ">>", "Select All", "New", "Edit", "Delete", "Phonebook", "Outlook", "Mobile", "SIM"}) {
        bool found = false;
        for (QWidget* widget : form->findChildren<QWidget*>())
            found = found || widget->accessibleName() == QString::fromUtf8(name);
        EXPECT_TRUE(found) << name;
    }
    EXPECT_EQ(List(IDC_PC_LIST)->accessibleName(), QStringLiteral("Deskhand"));
    EXPECT_EQ(List(IDC_HANDSET_LIST)->accessibleName(), QStringLiteral("Mobile"));
}

// The PIM side is read the first time it is shown, not again on later switches.
TEST_F(Phonebook2, OutlookIsReadOnTheFirstSwitchOnly)
{
    const auto putCard = [this](const QString& uid, const QString& name) {
        QDir().mkpath(dataDir.filePath(QStringLiteral("pim/contacts")));
        QFile card(dataDir.filePath(QStringLiteral("pim/contacts/%1.vcf").arg(uid)));
        ASSERT_TRUE(card.open(QIODevice::WriteOnly));
        card.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nN:%2;;;;\r\n"
                                  "TEL;TYPE=CELL:0301\r\nEND:VCARD\r\n").arg(uid, name).toUtf8());
    };
    putCard(QStringLiteral("a"), QStringLiteral("Ann"));
    Click(IDC_OUTLOOK);
    EXPECT_EQ(List(IDC_OUTLOOK_LIST)->GetItemCount(), 1);
    EXPECT_TRUE(form->FormButton(IDC_PC_READ)->isVisible());
    EXPECT_FALSE(form->FormButton(IDC_PC_WRITE)->isVisible());
    EXPECT_EQ(form->Caption(IDC_PC_CAPTION)->title(), QStringLiteral("Outlook 2000"));
    EXPECT_EQ(Text(IDC_TOTAL), QStringLiteral("Total : 1"));
    putCard(QStringLiteral("b"), QStringLiteral("Bob"));
    Click(IDC_PHONEBOOK);
    EXPECT_FALSE(form->FormButton(IDC_PC_READ)->isVisible());
    Click(IDC_OUTLOOK);
    EXPECT_EQ(List(IDC_OUTLOOK_LIST)->GetItemCount(), 1);
    Click(IDC_PC_READ);
    EXPECT_EQ(List(IDC_OUTLOOK_LIST)->GetItemCount(), 2);
    EXPECT_TRUE(Boxes().isEmpty());
}

} // namespace
