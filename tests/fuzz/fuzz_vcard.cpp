// Reads arbitrary bytes as a .vcf file: the content-line codec, the card, the contact mapping
// and its rewrite must never crash or hang, and what the writer writes must read back to the
// very same text.
#include "platform/pim/contact_item.h"
#include "platform/pim/vcard.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// The first contact of a file's text, as the store reads its items.
std::unique_ptr<pim::ContactItem> firstContact(const QString& folder, const QString& path, const QByteArray& bytes)
{
    const pim::ComponentFile file(bytes);
    for (const pim::ItemSpans& spans : file.Items(QStringLiteral("VCARD"))) {
        if (std::unique_ptr<pim::ContactItem> item = pim::ContactItem::FromSpans(folder, path, file, spans))
            return item;
    }
    return nullptr;
}

// The first item of the file on disk.
std::unique_ptr<pim::Item> readBack(pim::OlDefaultFolders folder, const QString& path)
{
    std::vector<std::unique_ptr<pim::Item>> items = pim::Item::LoadAll(folder, path);
    return items.empty() ? nullptr : std::move(items.front());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));

    const QByteArray once = pim::VCard::Parse(input).Serialize();
    const QByteArray twice = pim::VCard::Parse(once).Serialize();
    if (once != twice)
        std::abort();

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.vcf"));
    if (std::unique_ptr<pim::ContactItem> contact = firstContact(dir.path(), path, input)) {
        contact->SetFullName(contact->FullName() + QStringLiteral(" Jr."));
        contact->SetMobileTelephoneNumber(QString());
        contact->SetBusinessTelephoneNumber(contact->HomeTelephoneNumber());
        contact->SetHomeTelephoneNumber(QStringLiteral("+1 555 0100"));
        contact->SetBusinessFaxNumber(contact->Email1Address());
        contact->SetBody(contact->Body() + QStringLiteral("\n;,\\"));
        if (contact->Save()) {
            // The rewrite reads back as what was set.
            std::unique_ptr<pim::Item> back = readBack(pim::olFolderContacts, path);
            auto* reread = dynamic_cast<pim::ContactItem*>(back.get());
            if (!reread || reread->HomeTelephoneNumber() != QStringLiteral("+1 555 0100") ||
                reread->EntryID() != contact->EntryID())
                std::abort();
        }
    }
    return 0;
}
