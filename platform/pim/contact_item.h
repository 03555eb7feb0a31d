#pragma once

#include "platform/pim/item.h"
#include "platform/pim/structured_name.h"
#include "platform/pim/vcard.h"

#include <QString>

#include <memory>
#include <optional>

namespace pim {

// A contact: one vCard. Properties map to the card as FN, N (family;given;...), TEL;TYPE=CELL,
// TEL;TYPE=WORK,VOICE, TEL;TYPE=HOME,VOICE, TEL;TYPE=WORK,FAX, EMAIL and NOTE; numbers without
// a type fill the mobile, home and business numbers that no typed number took. Saving rewrites
// only the lines that changed, in the card's own version (2.1, 3.0 or 4.0); every other line
// stays byte for byte.
class ContactItem final : public Item {
public:
    // A new, unsaved contact whose file will go to folderPath.
    explicit ContactItem(const QString& folderPath);
    // One contact of a file (see Item::LoadAll); null when its card cannot be read.
    static std::unique_ptr<ContactItem> FromSpans(const QString& folderPath, const QString& path, const ComponentFile& file,
                                                  const ItemSpans& spans);

    OlItemType ItemType() const override { return olContactItem; }
    std::unique_ptr<Item> Clone() const override;

    // Setting the full name changes the parts of the structured name whose text changed in it,
    // and keeps the others (see RenamedParts); a card without parts splits it into first and
    // last name at the last blank. Setting first or last name composes the full name again, as
    // the desktop PIM does.
    QString FullName() const { return m_now.fullName; }
    void SetFullName(const QString& value);
    QString FirstName() const { return m_now.name[NameGiven]; }
    void SetFirstName(const QString& value);
    QString LastName() const { return m_now.name[NameFamily]; }
    void SetLastName(const QString& value);

    QString MobileTelephoneNumber() const { return m_now.mobile; }
    void SetMobileTelephoneNumber(const QString& value) { m_now.mobile = value; }
    QString BusinessTelephoneNumber() const { return m_now.business; }
    void SetBusinessTelephoneNumber(const QString& value) { m_now.business = value; }
    QString HomeTelephoneNumber() const { return m_now.home; }
    void SetHomeTelephoneNumber(const QString& value) { m_now.home = value; }
    QString BusinessFaxNumber() const { return m_now.businessFax; }
    void SetBusinessFaxNumber(const QString& value) { m_now.businessFax = value; }
    QString Email1Address() const { return m_now.email1; }
    void SetEmail1Address(const QString& value) { m_now.email1 = value; }

    // The same for a caller that read the value earlier (asRead), when another program may have
    // reordered the card since: a card can hold several numbers of one kind and several addresses.
    // The line of that kind holding asRead takes the value; when no line holds it (asRead empty,
    // or changed elsewhere), the value goes into a line of its own, so that no number or address
    // the caller never read is overwritten.
    void SetMobileTelephoneNumber(const QString& value, const QString& asRead) { replace(m_now.mobile, m_asRead.mobile, value, asRead); }
    void SetBusinessTelephoneNumber(const QString& value, const QString& asRead) { replace(m_now.business, m_asRead.business, value, asRead); }
    void SetHomeTelephoneNumber(const QString& value, const QString& asRead) { replace(m_now.home, m_asRead.home, value, asRead); }
    void SetBusinessFaxNumber(const QString& value, const QString& asRead) { replace(m_now.businessFax, m_asRead.businessFax, value, asRead); }
    void SetEmail1Address(const QString& value, const QString& asRead) { replace(m_now.email1, m_asRead.email1, value, asRead); }

    QString Body() const { return m_now.body; }
    void SetBody(const QString& value) { m_now.body = value; }

protected:
    bool SerializeNew(const QString& uid, QByteArray& bytes, Error* error) override;
    bool SerializeSpans(const QString& uid, std::vector<QByteArray>& texts, Error* error) override;
    void Saved() override;
    QString Extension() const override { return QStringLiteral(".vcf"); }

private:
    struct Fields {
        QString fullName;
        NameParts name;
        QString mobile, business, home, businessFax;
        QString email1, body;
    };

    // The values callers read of the typed fields, where they gave them.
    struct AsRead {
        std::optional<QString> mobile, business, home, businessFax, email1;
    };

    ContactItem(const QString& folderPath, const QString& path, const ComponentFile& file, const ItemSpans& spans,
                VCard card);
    ContactItem(const ContactItem&) = default;

    void readFields();
    // Applies the changes since the last save to card; uid: the UID it gets when it has none
    // (or empty); whole: a new card, which gets every line.
    void applyChanges(VCard& card, const QString& uid, bool whole) const;

    static void replace(QString& field, std::optional<QString>& asReadField, const QString& value, const QString& asRead)
    {
        field = value;
        asReadField = asRead;
    }

    VCard m_card;
    Fields m_now;
    Fields m_saved;
    AsRead m_asRead;
};

} // namespace pim
