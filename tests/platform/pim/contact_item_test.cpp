#include "pim_test_support.h"

#include "platform/pim/content_line.h"

namespace {

using pim::ContactItem;
using pimtest::ReadFile;

struct ContactFields {
    const char* fullName;
    const char* firstName;
    const char* lastName;
    const char* mobile;
    const char* business;
    const char* home;
    const char* fax;
    const char* email;
    const char* body;
    const char* entryId;
};

void expectFields(const ContactItem& c, const ContactFields& f)
{
    EXPECT_EQ(c.FullName(), QString::fromUtf8(f.fullName));
    EXPECT_EQ(c.FirstName(), QString::fromUtf8(f.firstName));
    EXPECT_EQ(c.LastName(), QString::fromUtf8(f.lastName));
    EXPECT_EQ(c.MobileTelephoneNumber(), QString::fromUtf8(f.mobile));
    EXPECT_EQ(c.BusinessTelephoneNumber(), QString::fromUtf8(f.business));
    EXPECT_EQ(c.HomeTelephoneNumber(), QString::fromUtf8(f.home));
    EXPECT_EQ(c.BusinessFaxNumber(), QString::fromUtf8(f.fax));
    EXPECT_EQ(c.Email1Address(), QString::fromUtf8(f.email));
    EXPECT_EQ(c.Body(), QString::fromUtf8(f.body));
    EXPECT_EQ(c.EntryID(), QString::fromUtf8(f.entryId));
}

class ContactItemTest : public pimtest::StoreTest {};

TEST_F(ContactItemTest, WrittenByUsReadsBackAndIsPlainVCardThree)
{
    auto contact = Create<ContactItem>(pim::olContactItem);
    ASSERT_TRUE(contact);
    EXPECT_TRUE(contact->EntryID().isEmpty());
    contact->SetFullName(QStringLiteral("李 小龙, Jr.; the \"dragon\""));
    contact->SetMobileTelephoneNumber(QStringLiteral("+86 139 0000 1111"));
    contact->SetBusinessTelephoneNumber(QStringLiteral("010-6666,7777"));
    contact->SetHomeTelephoneNumber(QStringLiteral("010;8888"));
    contact->SetBusinessFaxNumber(QStringLiteral("010-6666-7778"));
    contact->SetEmail1Address(QStringLiteral("dragon@example.cn"));
    const QString body = QStringLiteral("Line one\nLine two with a backslash \\ and ") + QString(80, u'长');
    contact->SetBody(body);
    pim::Error error;
    ASSERT_TRUE(contact->Save(&error)) << error.description.toStdString();
    ASSERT_FALSE(contact->EntryID().isEmpty());
    EXPECT_EQ(contact->FilePath(), Folder(pim::olFolderContacts) + u'/' + contact->EntryID() + QStringLiteral(".vcf"));

    auto back = Find<ContactItem>(contact->EntryID());
    ASSERT_TRUE(back);
    expectFields(*back, {"李 小龙, Jr.; the \"dragon\"", "李 小龙, Jr.; the", "\"dragon\"", "+86 139 0000 1111",
                         "010-6666,7777", "010;8888", "010-6666-7778", "dragon@example.cn", body.toUtf8().constData(),
                         contact->EntryID().toUtf8().constData()});

    const QByteArray file = ReadFile(contact->FilePath());
    EXPECT_TRUE(file.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
    EXPECT_TRUE(file.endsWith("END:VCARD\r\n"));
    EXPECT_FALSE(file.contains("\n\n"));
    for (const QByteArray& line : file.split('\n'))
        EXPECT_LE(line.size(), 76) << line.constData(); // 75 octets and the CR
    for (const char* expected : {"\r\nFN:李 小龙\\, Jr.\\; the \"dragon\"\r\n", "\r\nN:\"dragon\";李 小龙\\, Jr.\\; the;;;\r\n",
                                 "\r\nTEL;TYPE=CELL:+86 139 0000 1111\r\n", "\r\nTEL;TYPE=WORK,VOICE:010-6666\\,7777\r\n",
                                 "\r\nTEL;TYPE=HOME,VOICE:010\\;8888\r\n", "\r\nTEL;TYPE=WORK,FAX:010-6666-7778\r\n",
                                 "\r\nEMAIL;TYPE=INTERNET:dragon@example.cn\r\n", "\r\nNOTE:Line one\\nLine two with a",
                                 "\r\nUID:"})
        EXPECT_TRUE(file.contains(expected)) << expected;
}

TEST_F(ContactItemTest, CardsOfOtherProgramsReadAsTheyMean)
{
    qputenv("DESKHAND_CODEPAGE", "CP1252");
    const struct {
        const char* fixture;
        ContactFields expected;
    } cases[] = {
        {"contacts/address_book_30.vcf",
         {"Doe, Jane", "Jane", "Doe", "+49 170 1234567", "+49 30 1234-0", "+49 30 9876543", "+49 30 1234-99",
          "jane.doe@example.com",
          "First line\nSecond line with a comma, a semicolon; and a backslash \\ and a long tail that is folded over two "
          "lines.",
          "0c5a6e2e-0001-4b7e-9d1c-ab0000000001"}},
        {"contacts/phone_export_21.vcf",
         {"Jürgen Müller", "Jürgen", "Müller", "+4917099887766", "030-111222", "030-333444", "030-111223",
          "juergen@example.de", "Straße und Plätze\nzweite Zeile", "phone_export_21"}},
        {"contacts/vcard_40.vcf",
         {"Zhang Wei", "Wei", "Zhang", "+86-139-0000-1111", "+86-10-6666-7777;ext=12", "+86-10-8888-9999", "",
          "wei@example.cn", "会议记录", "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1"}},
        {"contacts/windows_cp1252_21.vcf",
         {"René François", "René", "François", "", "", "01 23 45 67 89", "", "", "", "windows_cp1252_21"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        Put(QString::fromUtf8(c.fixture));
        auto contact = Load<ContactItem>(QString::fromUtf8(c.fixture));
        ASSERT_TRUE(contact);
        expectFields(*contact, c.expected);
    }
    qunsetenv("DESKHAND_CODEPAGE");
}

TEST_F(ContactItemTest, RewritingAForeignCardChangesOnlyWhatChanged)
{
    const QString path = Put(QStringLiteral("contacts/address_book_30.vcf"));
    auto contact = Load<ContactItem>(QStringLiteral("contacts/address_book_30.vcf"));
    ASSERT_TRUE(contact);
    // What the exchange does on an update: every field set, most of them to what they were.
    contact->SetFullName(contact->FullName());
    contact->SetMobileTelephoneNumber(QStringLiteral("+49 170 7654321"));
    contact->SetBusinessTelephoneNumber(contact->BusinessTelephoneNumber());
    contact->SetHomeTelephoneNumber(QString());
    contact->SetEmail1Address(contact->Email1Address());
    contact->SetBody(contact->Body());
    ASSERT_TRUE(contact->Save());
    EXPECT_EQ(contact->FilePath(), path);

    // The changed number in its line, the emptied one gone; every other byte as it was.
    QByteArray expected = ReadFile(pimtest::FixturePath(QStringLiteral("contacts/address_book_30.vcf")));
    expected.replace("item1.TEL;TYPE=cell:+49 170 1234567", "item1.TEL;TYPE=cell:+49 170 7654321");
    expected.replace("TEL;TYPE=HOME;TYPE=VOICE:+49 30 9876543\r\n", "");
    EXPECT_EQ(ReadFile(path).toStdString(), expected.toStdString());

    auto back = Load<ContactItem>(QStringLiteral("contacts/address_book_30.vcf"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->MobileTelephoneNumber(), QStringLiteral("+49 170 7654321"));
    EXPECT_EQ(back->HomeTelephoneNumber(), QString());
    EXPECT_EQ(back->BusinessTelephoneNumber(), QStringLiteral("+49 30 1234-0"));
}

// A card keeps its version: a changed line is written in the card's spelling, with its name and
// parameters as written where only its value changed; every other line stays byte for byte.
TEST_F(ContactItemTest, CardsKeepTheirVersionAndEveryLineNotChanged)
{
    const struct {
        const char* fixture;
        const char* number;
        QByteArray before, after; // the changed line
        QByteArray added;         // before END:VCARD
    } cases[] = {
        {"contacts/phone_export_21.vcf", "+1 555 0100", "TEL;CELL;VOICE:+4917099887766\r\n",
         "TEL;CELL;VOICE:+1 555 0100\r\n", "UID:phone_export_21\r\n"},
        // A number a tel: URI holds stays one; one with blanks becomes text.
        {"contacts/vcard_40.vcf", "+1-555-0100", "TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+86-139-0000-1111\n",
         "TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+1-555-0100\n", {}},
        {"contacts/vcard_40.vcf", "+1 555 0100", "TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+86-139-0000-1111\n",
         "TEL;TYPE=cell,voice;PREF=1:+1 555 0100\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " " + c.number);
        const QString path = Put(QString::fromUtf8(c.fixture));
        auto contact = Load<ContactItem>(QString::fromUtf8(c.fixture));
        ASSERT_TRUE(contact);
        const QString name = contact->FullName();
        const QString body = contact->Body();
        contact->SetMobileTelephoneNumber(QString::fromUtf8(c.number));
        ASSERT_TRUE(contact->Save());

        QByteArray expected = ReadFile(pimtest::FixturePath(QString::fromUtf8(c.fixture)));
        ASSERT_TRUE(expected.contains(c.before));
        expected.replace(c.before, c.after);
        expected.insert(expected.lastIndexOf("END:VCARD"), c.added);
        EXPECT_EQ(ReadFile(path).toStdString(), expected.toStdString());

        auto back = Load<ContactItem>(QString::fromUtf8(c.fixture));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->FullName(), name);
        EXPECT_EQ(back->Body(), body);
        EXPECT_EQ(back->MobileTelephoneNumber(), QString::fromUtf8(c.number));
        EXPECT_EQ(back->EntryID(), contact->EntryID());
    }
    // The card without a UID got its file name as UID, so that it is found again.
    EXPECT_TRUE(Find<ContactItem>(QStringLiteral("phone_export_21")));
}

TEST_F(ContactItemTest, NamesSplitAndComposeLikeTheDesktopPim)
{
    auto contact = Create<ContactItem>(pim::olContactItem);
    contact->SetFullName(QStringLiteral("  Anna Maria Berg "));
    EXPECT_EQ(contact->FirstName(), QStringLiteral("Anna Maria"));
    EXPECT_EQ(contact->LastName(), QStringLiteral("Berg"));
    contact->SetFullName(QStringLiteral("Madonna"));
    EXPECT_EQ(contact->FirstName(), QStringLiteral("Madonna"));
    EXPECT_EQ(contact->LastName(), QString());
    contact->SetLastName(QStringLiteral("Ciccone"));
    EXPECT_EQ(contact->FullName(), QStringLiteral("Madonna Ciccone"));
    contact->SetFirstName(QString());
    EXPECT_EQ(contact->FullName(), QStringLiteral("Ciccone"));
    ASSERT_TRUE(contact->Save());
    EXPECT_TRUE(ReadFile(contact->FilePath()).contains("\r\nN:Ciccone;;;;\r\n"));
}

TEST_F(ContactItemTest, ACardWithoutNamesOrNumbersStillLoads)
{
    PutText(QStringLiteral("contacts/bare.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nORG:Acme\r\nEND:VCARD\r\n");
    auto contact = Load<ContactItem>(QStringLiteral("contacts/bare.vcf"));
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->FullName(), QString());
    EXPECT_EQ(contact->MobileTelephoneNumber(), QString());
    EXPECT_EQ(contact->EntryID(), QStringLiteral("bare"));
}

// Other programs mark some text values as Base64. They read as the text they encode; a value
// rewritten here is plain text and loses the mark, whatever the property; a line that is not
// rewritten keeps it.
TEST_F(ContactItemTest, Base64MarkedValuesReadDecodedAndLoseTheMarkWhenRewritten)
{
    PutText(QStringLiteral("contacts/b64.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:b64\r\n"
                                               "FN;ENCODING=b:QW5uIExlZQ==\r\n"
                                               "TEL;TYPE=CELL;ENCODING=b:KzEgNTU1IDAxMDA=\r\n"
                                               "TEL;TYPE=HOME;ENCODING=B:MDMwIDEyMzQ=\r\n"
                                               "EMAIL;ENCODING=b:YW5uQGV4YW1wbGUub3Jn\r\n"
                                               "NOTE;ENCODING=BASE64:WmVpbGUgMVxuWmVpbGUgMg==\r\n"
                                               "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\r\nEND:VCARD\r\n");
    auto card = Load<ContactItem>(QStringLiteral("contacts/b64.vcf"));
    ASSERT_TRUE(card);
    expectFields(*card, {"Ann Lee", "Ann", "Lee", "+1 555 0100", "", "030 1234", "", "ann@example.org", "Zeile 1\nZeile 2",
                         "b64"});

    card->SetFullName(QStringLiteral("Ann Lee-Smith"));
    card->SetHomeTelephoneNumber(QStringLiteral("+1 555 0199"));
    card->SetEmail1Address(QStringLiteral("ann@example.com"));
    card->SetBody(QStringLiteral("Zeile 3"));
    ASSERT_TRUE(card->Save());
    const QByteArray file = ReadFile(card->FilePath());
    for (const char* expected : {"\r\nFN:Ann Lee-Smith\r\n", "\r\nTEL;TYPE=HOME:+1 555 0199\r\n",
                                 "\r\nEMAIL:ann@example.com\r\n", "\r\nNOTE:Zeile 3\r\n",
                                 "\r\nTEL;TYPE=CELL;ENCODING=b:KzEgNTU1IDAxMDA=\r\n", "\r\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\r\n"})
        EXPECT_TRUE(file.contains(expected)) << expected << "\n" << file.constData();
    auto back = Load<ContactItem>(QStringLiteral("contacts/b64.vcf"));
    expectFields(*back, {"Ann Lee-Smith", "Ann", "Lee-Smith", "+1 555 0100", "", "+1 555 0199", "", "ann@example.com",
                         "Zeile 3", "b64"});
}

TEST_F(ContactItemTest, NumbersWithoutATypeFillTheEmptyFieldsInOrder)
{
    const struct {
        const char* name;
        QByteArray card;
        const char *mobile, *home, *business;
    } cases[] = {
        {"2.1", "VERSION:2.1\r\nTEL:0123\r\nTEL;CELL:0170\r\n", "0170", "0123", ""},
        {"3.0", "VERSION:3.0\r\nTEL;TYPE=VOICE:1\r\nTEL:2\r\nTEL;TYPE=WORK:9\r\nTEL:3\r\nTEL:4\r\n", "1", "2", "9"},
        {"4.0", "VERSION:4.0\r\nTEL;VALUE=uri:tel:+1-555-0100\r\nTEL;TYPE=home:tel:030\r\n", "+1-555-0100", "030", ""},
        {"fax and pager", "VERSION:3.0\r\nTEL;TYPE=FAX:5\r\nTEL;TYPE=PAGER:6\r\n", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutText(QStringLiteral("contacts/c.vcf"), "BEGIN:VCARD\r\n" + c.card + "FN:C\r\nEND:VCARD\r\n");
        auto contact = Load<ContactItem>(QStringLiteral("contacts/c.vcf"));
        ASSERT_TRUE(contact);
        EXPECT_EQ(contact->MobileTelephoneNumber(), QString::fromUtf8(c.mobile));
        EXPECT_EQ(contact->HomeTelephoneNumber(), QString::fromUtf8(c.home));
        EXPECT_EQ(contact->BusinessTelephoneNumber(), QString::fromUtf8(c.business));
    }

    // Numbers keep their fields when another one changes or goes.
    PutText(QStringLiteral("contacts/c.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:C\r\nTEL:1\r\nTEL:2\r\nTEL:3\r\nEND:VCARD\r\n");
    auto contact = Load<ContactItem>(QStringLiteral("contacts/c.vcf"));
    contact->SetMobileTelephoneNumber(QString());
    contact->SetBusinessTelephoneNumber(QStringLiteral("33"));
    ASSERT_TRUE(contact->Save());
    auto back = Load<ContactItem>(QStringLiteral("contacts/c.vcf"));
    EXPECT_EQ(back->MobileTelephoneNumber(), QString());
    EXPECT_EQ(back->HomeTelephoneNumber(), QStringLiteral("2"));
    EXPECT_EQ(back->BusinessTelephoneNumber(), QStringLiteral("33"));
}

} // namespace
