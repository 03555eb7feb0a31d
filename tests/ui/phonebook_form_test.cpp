// The phonebook page driven through its buttons against the simulated phone.
#include "main_window_fixture.h"

#include "ui/contact_dlg.h"

#include <gmock/gmock.h>

using namespace dh1;

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::MainWindowTest;

using PhonebookForm = MainWindowTest;

TEST_F(PhonebookForm, ReadFillsTheMobileListAndCopiesBackToThePc)
{
    EXPECT_FALSE(Enabled(IDC_COPY_TO_MOBILE));
    EXPECT_FALSE(Enabled(IDC_MOBILE_NEW));

    Click(IDC_MOBILE_READ);
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob"));
    EXPECT_EQ(Text(IDC_INFO), " 2/255");
    EXPECT_TRUE(Sent("AT+CPBR=").size() >= 1);
    EXPECT_EQ(g_nProgressRange, 10); // 30 for the read, back to 10 after it
    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), int(IDC_CONTACT_MOBILE_SELECT_ALL), int(IDC_MOBILE_NEW)})
        EXPECT_TRUE(Enabled(id)) << id;
    ExpectIdle();

    // A click shows the entry's fields.
    ClickRow(List(IDC_HANDSET_LIST), 1);
    const CDetailListCtrl* detail = form->DetailList(IDC_MOBILE_DETAIL);
    EXPECT_EQ(detail->GetValue(0), "Bob");
    EXPECT_EQ(detail->GetValue(2), "030");
    EXPECT_EQ(detail->GetValue(7), "Mobile 7");
    EXPECT_TRUE(Enabled(IDC_MOBILE_EDIT));

    // "<<" stores the selected rows in the PC list; the phone is not asked.
    phone.clearCommandLog();
    Select(List(IDC_HANDSET_LIST), {0, 1});
    Click(IDC_COPY_TO_PC);
    EXPECT_THAT(Names(List(IDC_PC_LIST)), ElementsAre("Ann", "Bob"));
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemImage(0), 1); // linked to the handset
    EXPECT_EQ(Text(IDC_CONTACT_TOTAL), "Total : 2");
    EXPECT_TRUE(phone.commandLog().isEmpty());
    // Again: the same phone entries update their PC copies instead of adding.
    Select(List(IDC_HANDSET_LIST), {0});
    Click(IDC_COPY_TO_PC);
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemCount(), 2);

    // The SIM book is read into its own list.
    form->ImageButton(IDC_SIM)->click();
    Click(IDC_MOBILE_READ);
    EXPECT_THAT(Names(List(IDC_SIM_LIST)), ElementsAre("Cleo"));
    EXPECT_EQ(Text(IDC_INFO), " 1/100");
    EXPECT_EQ(form->Caption(IDC_MOBILE_CAPTION)->title(), "SIM");
}

TEST_F(PhonebookForm, CopyToTheHandsetSkipsEntriesWithoutNumbersAndStopsWhenTheBookIsFull)
{
    Click(IDC_MOBILE_READ);
    CPhoneEntry* dora = AddPcContact("Dora", "0172");
    AddPcContact("Nobody", "");
    CPhoneEntry* eve = AddPcContact("Eve", "", "0304");
    phone.clearCommandLog();
    form->CheckBox(IDC_CONTACT_PC_SELECT_ALL)->click();
    Click(IDC_COPY_TO_MOBILE);

    EXPECT_EQ(Sent("AT+CPBW=").size(), 2);
    EXPECT_EQ(phone.state().handset.used(), 4);
    EXPECT_NE(dora->m_nIndex, -1);
    EXPECT_NE(eve->m_nIndex, -1);
    EXPECT_EQ(phone.state().handset.entries[dora->m_nIndex].name, "Dora");
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob", "Dora", "Eve"));
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemImage(0), 1);
    EXPECT_TRUE(Boxes().isEmpty());
    ExpectIdle();

    // A book with room for nothing more: the phone refuses and the box says why.
    for (int index = 4; index <= 6; ++index)
        phone.state().handset.entries[index] = phonesim::BookEntry{6, QStringLiteral("F%1").arg(index), "1", {}, {}, {}, {}};
    phone.state().handset.last = 7;
    Click(IDC_MOBILE_READ);
    AddPcContact("Finn", "0173");
    Select(List(IDC_PC_LIST), {3});
    Click(IDC_COPY_TO_MOBILE);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - Memory is full"));
    EXPECT_EQ(doc->m_pcContacts.back()->m_nIndex, -1);
    ExpectIdle();
}

TEST_F(PhonebookForm, CopyToTheSimMakesOneEntryPerNumber)
{
    form->ImageButton(IDC_SIM)->click();
    Click(IDC_MOBILE_READ);
    AddPcContact("Gus", "0174", "0305");
    AddPcContact("Hal", "", "0306");
    CPhoneEntry* ida = AddPcContact("Ida", "", "0307");
    ida->m_strEmail = "ida@example.org"; // more than a SIM entry can carry
    form->CheckBox(IDC_CONTACT_PC_SELECT_ALL)->click();
    Click(IDC_COPY_TO_MOBILE);

    EXPECT_THAT(Names(List(IDC_SIM_LIST)), ElementsAre("Cleo", "Gus", "Gus", "Hal", "Ida"));
    // Gus stays with his two SIM copies; Hal's copy (his home number) takes his place; Ida,
    // whose e-mail the copy cannot hold, stays beside hers.
    EXPECT_THAT(Names(List(IDC_PC_LIST)), ElementsAre("Gus", "Ida", "Gus", "Gus", "Hal", "Ida"));
    const auto& pc = doc->m_pcContacts;
    ASSERT_EQ(pc.size(), 7u);
    EXPECT_TRUE(pc[1]->IsDeleted());
    EXPECT_EQ(pc[5]->m_strName, "Hal");
    EXPECT_EQ(pc[5]->m_strMobile, "0306");
    EXPECT_EQ(pc[5]->m_nCopySource, 2);
    EXPECT_NE(pc[5]->m_nSimIndex, -1);
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemImage(2), 2);
    ExpectIdle();
}

TEST_F(PhonebookForm, MobileDeleteAsksAndPausesAfterEveryFiftyDeletions)
{
    for (int index = 10; index < 130; ++index)
        phone.state().handset.entries[index] = phonesim::BookEntry{6, QStringLiteral("P%1").arg(index), "0100", {}, {}, {}, {}};
    Click(IDC_MOBILE_READ);
    ASSERT_EQ(List(IDC_HANDSET_LIST)->GetItemCount(), 122);

    // No: nothing goes to the phone.
    phone.clearCommandLog();
    ui.rec.boxAnswers.push_back(platform::IDNO);
    form->CheckBox(IDC_CONTACT_MOBILE_SELECT_ALL)->click();
    Click(IDC_MOBILE_DELETE);
    EXPECT_THAT(Boxes(), ElementsAre("Are you sure?"));
    EXPECT_EQ(ui.rec.boxes[0].style, platform::MB_YESNO | platform::MB_ICONQUESTION);
    EXPECT_TRUE(phone.commandLog().isEmpty());

    // Yes: 120 deletions (rows 3 to 122) pause before the 51st and the 101st.
    Select(List(IDC_HANDSET_LIST), {});
    for (int row = 2; row < 122; ++row)
        List(IDC_HANDSET_LIST)->SetSelected(row, true);
    lines.clearWrites();
    Click(IDC_MOBILE_DELETE);
    std::vector<qint64> times;
    for (const auto& write : lines.writes()) {
        if (write.bytes.startsWith("AT+CPBW="))
            times.push_back(write.atMs);
    }
    ASSERT_EQ(times.size(), 120u);
    const qint64 usual = times[2] - times[1];
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_EQ(times[i] - times[i - 1], usual + (i == 50 || i == 100 ? 200 : 0)) << "before deletion " << i + 1;
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob"));
    EXPECT_EQ(phone.state().handset.used(), 2);
    ExpectIdle();
}

TEST_F(PhonebookForm, LinksFollowSuccessfulReadsOnly)
{
    Click(IDC_MOBILE_READ);
    Select(List(IDC_HANDSET_LIST), {0, 1});
    Click(IDC_COPY_TO_PC);
    ASSERT_EQ(doc->m_pcContacts.size(), 2u);

    // A failed read empties the phone list but keeps the PC links.
    phone.injectFault("AT+CPBR=*", phonesim::Fault::cmeError(21), 1);
    Click(IDC_MOBILE_READ);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to read data. - Invalid index."));
    EXPECT_EQ(List(IDC_HANDSET_LIST)->GetItemCount(), 0);
    EXPECT_EQ(doc->m_pcContacts[0]->m_nIndex, 3);
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemImage(0), 1);
    EXPECT_FALSE(Enabled(IDC_COPY_TO_MOBILE));
    ExpectIdle();

    // An entry removed on the phone: its PC copy loses the link and its image.
    phone.state().handset.entries.erase(3);
    Click(IDC_MOBILE_READ);
    EXPECT_EQ(doc->m_pcContacts[0]->m_nIndex, -1);
    EXPECT_EQ(doc->m_pcContacts[1]->m_nIndex, 7);
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemImage(0), 0);
    EXPECT_EQ(List(IDC_PC_LIST)->GetItemImage(1), 1);
}

TEST_F(PhonebookForm, NewAndEditOnBothSides)
{
    // PC New through the dialog; the entry is stored and shown.
    dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) {
        dlg.NameEdit()->setText("Jo");
        dlg.MobileEdit()->setText("+49+170");
    }));
    Click(IDC_PC_NEW);
    ASSERT_EQ(doc->m_pcContacts.size(), 1u);
    EXPECT_EQ(doc->m_pcContacts[0]->m_strMobile, "+49170");
    EXPECT_THAT(Names(List(IDC_PC_LIST)), ElementsAre("Jo"));

    // PC Edit by a double click on the row marks the entry changed.
    dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) { dlg.NameEdit()->setText("Joe"); }));
    Select(List(IDC_PC_LIST), {0});
    Q_EMIT List(IDC_PC_LIST)->listDoubleClicked();
    EXPECT_EQ(doc->m_pcContacts[0]->m_strName, "Joe");
    EXPECT_EQ(doc->m_pcContacts[0]->m_nState, CSyncRecord::StateChanged);
    EXPECT_FALSE(Enabled(IDC_PC_EDIT));

    // Mobile New writes to the phone once the book was read.
    Click(IDC_MOBILE_READ);
    dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) {
        dlg.NameEdit()->setText("Kim");
        dlg.HomeEdit()->setText("0308");
    }));
    Click(IDC_MOBILE_NEW);
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre("Ann", "Bob", "Kim"));
    EXPECT_EQ(phone.state().handset.used(), 3);

    // Mobile Edit of Ann writes to her index.
    ClickRow(List(IDC_HANDSET_LIST), 0);
    dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) { dlg.NameEdit()->setText("Anna"); }));
    Click(IDC_MOBILE_EDIT);
    EXPECT_EQ(phone.state().handset.entries[3].name, "Anna");
    EXPECT_EQ(List(IDC_HANDSET_LIST)->GetItemText(0, 1), "Anna");
    ExpectIdle();
}

TEST_F(PhonebookForm, SelectAllAndTheDivider)
{
    // An empty list counts as all selected; nothing can be deleted.
    QCheckBox* all = form->CheckBox(IDC_CONTACT_PC_SELECT_ALL);
    EXPECT_TRUE(all->isChecked());
    all->click();
    EXPECT_FALSE(all->isChecked());
    all->click();
    EXPECT_TRUE(all->isChecked());
    EXPECT_FALSE(Enabled(IDC_PC_DELETE));
    AddPcContact("Lu", "1");
    AddPcContact("Mo", "2");
    EXPECT_FALSE(all->isChecked());
    all->click();
    EXPECT_EQ(List(IDC_PC_LIST)->GetSelectedCount(), 2);
    EXPECT_TRUE(Enabled(IDC_PC_DELETE));
    Select(List(IDC_PC_LIST), {1});
    EXPECT_FALSE(all->isChecked());

    // The divider: a drag to x <= 400 or to within 330 pixels of the right edge is ignored.
    QWidget* surface = form->GetFormSurface();
    const auto send = [surface](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPointF pos(x, 100);
        QMouseEvent event(type, pos, surface->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(surface, &event);
    };
    const QRect hit = form->DividerHitRect();
    const int width = surface->width();
    const int pcRight = List(IDC_PC_LIST)->geometry().right();
    const int mobileLeft = List(IDC_HANDSET_LIST)->geometry().left();
    const int start = hit.center().x();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    ASSERT_TRUE(form->IsDragging());
    send(QEvent::MouseMove, start + 20, Qt::LeftButton);
    EXPECT_EQ(form->BarRect().left(), start + 20);
    send(QEvent::MouseMove, 400, Qt::LeftButton);
    send(QEvent::MouseMove, width - 330, Qt::LeftButton);
    EXPECT_EQ(form->BarRect().left(), start + 20);
    send(QEvent::MouseButtonRelease, width - 330, Qt::NoButton);
    EXPECT_FALSE(form->IsDragging());
    EXPECT_EQ(List(IDC_PC_LIST)->geometry().right(), pcRight + 20);
    EXPECT_EQ(List(IDC_HANDSET_LIST)->geometry().left(), mobileLeft + 20);
    EXPECT_EQ(List(IDC_SIM_LIST)->geometry().left(), mobileLeft + 20);
    EXPECT_EQ(form->DividerHitRect().left(), hit.left() + 20);
}

} // namespace
