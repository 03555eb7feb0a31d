#include "platform/pim/contact_item.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <optional>

namespace pim {

namespace {

enum class Slot { Mobile, Business, Home, BusinessFax, Untyped };

// Which of the PIM's telephone fields a TEL line feeds; nullopt for pagers and home faxes.
// A number with no type that says where it rings is Untyped.
std::optional<Slot> telSlot(const ContentLine& line)
{
    if (line.HasType(u"CELL") || line.HasType(u"MOBILE"))
        return Slot::Mobile;
    const bool work = line.HasType(u"WORK");
    if (line.HasType(u"FAX"))
        return work ? std::optional(Slot::BusinessFax) : std::nullopt;
    if (line.HasType(u"PAGER"))
        return std::nullopt;
    if (work)
        return Slot::Business;
    if (line.HasType(u"HOME"))
        return Slot::Home;
    return Slot::Untyped;
}

// TYPE=PREF (3.0), or PREF=1, the first choice of vCard 4.0.
bool isPreferred(const ContentLine& line)
{
    const ContentParameter* pref = line.Param(u"PREF");
    return line.HasType(u"PREF") || (pref && pref->values.contains(QStringLiteral("1")));
}

// The line of that name that carries a field: the first preferred one, else the first one.
std::optional<size_t> findLine(const VCard& card, QStringView name,
                               const std::function<bool(const ContentLine&)>& accepts = {})
{
    std::optional<size_t> first;
    for (size_t i : card.Properties()) {
        const ContentLine& line = card.Lines()[i];
        if (line.name != name || (accepts && !accepts(line)))
            continue;
        if (isPreferred(line))
            return i;
        if (!first)
            first = i;
    }
    return first;
}

// The TEL line behind each telephone field. Numbers without a type fill the fields that no
// typed number took, in the order mobile, home, business (many phones export nothing else).
struct TelLines {
    std::optional<size_t> mobile, business, home, businessFax;
};

TelLines findTels(const VCard& card)
{
    const auto typed = [&card](Slot slot) {
        return findLine(card, u"TEL", [slot](const ContentLine& line) { return telSlot(line) == slot; });
    };
    TelLines tels{typed(Slot::Mobile), typed(Slot::Business), typed(Slot::Home), typed(Slot::BusinessFax)};
    std::optional<size_t>* const open[] = {&tels.mobile, &tels.home, &tels.business};
    size_t next = 0;
    for (size_t i : card.Properties()) {
        const ContentLine& line = card.Lines()[i];
        if (line.name != u"TEL" || telSlot(line) != Slot::Untyped)
            continue;
        while (next < std::size(open) && *open[next])
            ++next;
        if (next == std::size(open))
            break;
        *open[next] = i;
    }
    return tels;
}

QString telValue(const ContentLine& line)
{
    QString value = UnescapeText(line.TextValue()).trimmed();
    if (value.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
        value = value.mid(4);
    return value;
}

// Text with its line breaks as "\n" (quoted-printable values of old cards carry CR LF).
QString textOf(const VCard& card, std::optional<size_t> index)
{
    if (!index)
        return {};
    QString text = UnescapeText(card.Lines()[*index].TextValue());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

struct SplitName {
    QString first, last;
};

SplitName splitFullName(const QString& fullName)
{
    const QString name = fullName.trimmed();
    qsizetype blank = name.size() - 1;
    while (blank >= 0 && !name[blank].isSpace())
        --blank;
    if (blank < 0)
        return {name, QString()};
    return {name.left(blank).trimmed(), name.mid(blank + 1)};
}

QString joinNonEmpty(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            kept.append(part.trimmed());
    }
    return kept.join(u' ');
}

ContentLine makeLine(const QString& name, const QString& value, const QStringList& types = {})
{
    ContentLine line;
    line.name = name;
    line.value = value;
    if (!types.isEmpty())
        line.params.push_back({QStringLiteral("TYPE"), types});
    return line;
}

QString entryIdOf(const VCard& card, const QString& path)
{
    const QString uid = textOf(card, findLine(card, u"UID")).trimmed();
    return uid.isEmpty() ? QFileInfo(path).completeBaseName() : uid;
}

} // namespace

ContactItem::ContactItem(const QString& folderPath) : Item(folderPath, QString(), QString()), m_card(VCard::NewCard())
{
}

ContactItem::ContactItem(const QString& folderPath, const QString& path, const QString& entryId, VCard card)
    : Item(folderPath, path, entryId), m_card(std::move(card))
{
    Fields& f = m_now;
    f.fullName = textOf(m_card, findLine(m_card, u"FN")).trimmed();
    if (const std::optional<size_t> n = findLine(m_card, u"N")) {
        QStringList parts = SplitEscaped(m_card.Lines()[*n].TextValue(), u';');
        for (QString& part : parts)
            part = UnescapeText(part).trimmed();
        while (parts.size() < 5)
            parts.append(QString());
        f.lastName = parts[0];
        f.firstName = parts[1];
        if (f.fullName.isEmpty()) // vCard 2.1 cards often carry N alone
            f.fullName = joinNonEmpty({parts[3], parts[1], parts[2], parts[0], parts[4]});
    } else {
        const SplitName split = splitFullName(f.fullName);
        f.firstName = split.first;
        f.lastName = split.last;
    }
    const TelLines tels = findTels(m_card);
    const auto tel = [this](std::optional<size_t> index) {
        return index ? telValue(m_card.Lines()[*index]) : QString();
    };
    f.mobile = tel(tels.mobile);
    f.business = tel(tels.business);
    f.home = tel(tels.home);
    f.businessFax = tel(tels.businessFax);
    f.email1 = textOf(m_card, findLine(m_card, u"EMAIL")).trimmed();
    f.body = textOf(m_card, findLine(m_card, u"NOTE"));
    m_saved = m_now;
}

std::unique_ptr<ContactItem> ContactItem::FromFile(const QString& folderPath, const QString& path, const QByteArray& bytes)
{
    VCard card = VCard::Parse(bytes);
    if (!card.HasCard())
        return nullptr;
    const QString entryId = entryIdOf(card, path);
    return std::unique_ptr<ContactItem>(new ContactItem(folderPath, path, entryId, std::move(card)));
}

std::unique_ptr<Item> ContactItem::Clone() const
{
    return std::unique_ptr<Item>(new ContactItem(*this));
}

void ContactItem::SetFullName(const QString& value)
{
    // Writing back the same name must not flatten a structured N (prefix, middle name).
    if (value == m_now.fullName)
        return;
    m_now.fullName = value;
    const SplitName split = splitFullName(value);
    m_now.firstName = split.first;
    m_now.lastName = split.last;
}

void ContactItem::SetFirstName(const QString& value)
{
    m_now.firstName = value;
    m_now.fullName = joinNonEmpty({m_now.firstName, m_now.lastName});
}

void ContactItem::SetLastName(const QString& value)
{
    m_now.lastName = value;
    m_now.fullName = joinNonEmpty({m_now.firstName, m_now.lastName});
}

bool ContactItem::Serialize(const QString& uid, QByteArray& bytes, Error*)
{
    VCard& card = m_card;
    const Fields& now = m_now;
    const Fields& was = m_saved;
    std::vector<size_t> removals;
    std::vector<ContentLine> appends;

    // Lines are found before anything moves; removals and appends come last.
    const std::optional<size_t> fn = findLine(card, u"FN");
    const std::optional<size_t> n = findLine(card, u"N");
    const std::optional<size_t> uidLine = findLine(card, u"UID");

    if (!fn)
        appends.push_back(makeLine(QStringLiteral("FN"), EscapeText(now.fullName)));
    else if (now.fullName != was.fullName)
        card.LineAt(*fn).SetTextValue(EscapeText(now.fullName));

    const QString nValue = EscapeText(now.lastName) + u';' + EscapeText(now.firstName) + QStringLiteral(";;;");
    if (!n)
        appends.push_back(makeLine(QStringLiteral("N"), nValue));
    else if (now.firstName != was.firstName || now.lastName != was.lastName)
        card.LineAt(*n).SetTextValue(nValue);

    // A field goes to its line: with the value as read, the line of its kind that holds it (none
    // when no line does any more); else the preferred or first line of its kind. old is what the
    // field held there.
    const auto apply = [&](std::optional<size_t> index, const QString& value, const QString& old,
                           const ContentLine& fresh) {
        if (value == old)
            return;
        if (!index) {
            if (!value.isEmpty()) {
                ContentLine line = fresh;
                line.value = EscapeText(value);
                appends.push_back(std::move(line));
            }
        } else if (value.isEmpty()) {
            removals.push_back(*index);
        } else {
            card.LineAt(*index).SetTextValue(EscapeText(value)); // a vCard 4.0 tel: URI becomes plain text
        }
    };
    // The first line that holds a value as read; none for an empty one (there was no line).
    const auto holding = [&card](const QString& asRead, const auto& holds) -> std::optional<size_t> {
        for (size_t i : card.Properties()) {
            if (!asRead.isEmpty() && holds(card.Lines()[i], asRead))
                return i;
        }
        return std::nullopt;
    };
    const auto applyTel = [&](Slot slot, std::optional<size_t> index, const QString& value, const QString& old,
                              const std::optional<QString>& asRead, const ContentLine& fresh) {
        if (!asRead) {
            apply(index, value, old, fresh);
            return;
        }
        // A number of the field's own type first, then one without a type that filled it.
        std::optional<size_t> at;
        for (const Slot kind : {slot, Slot::Untyped}) {
            if (!at)
                at = holding(*asRead, [kind](const ContentLine& line, const QString& number) {
                    return line.name == u"TEL" && telSlot(line) == kind && telValue(line) == number;
                });
        }
        apply(at, value, at ? *asRead : QString(), fresh);
    };
    const QString tel = QStringLiteral("TEL");
    const TelLines tels = findTels(card);
    // Which field a number without a type fills depends on the other numbers: once numbers
    // change here, each such number gets the type of the field it filled, so that it stays there.
    if (now.mobile != was.mobile || now.business != was.business || now.home != was.home) {
        const auto pin = [&card](std::optional<size_t> index, const QStringList& types) {
            if (!index || telSlot(card.Lines()[*index]) != Slot::Untyped)
                return;
            ContentLine& line = card.LineAt(*index);
            if (ContentParameter* type = line.Param(u"TYPE"))
                type->values += types;
            else
                line.params.push_back({QStringLiteral("TYPE"), types});
        };
        pin(tels.mobile, {QStringLiteral("CELL")});
        pin(tels.business, {QStringLiteral("WORK")});
        pin(tels.home, {QStringLiteral("HOME")});
    }
    applyTel(Slot::Mobile, tels.mobile, now.mobile, was.mobile, m_asRead.mobile, makeLine(tel, {}, {QStringLiteral("CELL")}));
    applyTel(Slot::Business, tels.business, now.business, was.business, m_asRead.business,
             makeLine(tel, {}, {QStringLiteral("WORK"), QStringLiteral("VOICE")}));
    applyTel(Slot::Home, tels.home, now.home, was.home, m_asRead.home,
             makeLine(tel, {}, {QStringLiteral("HOME"), QStringLiteral("VOICE")}));
    applyTel(Slot::BusinessFax, tels.businessFax, now.businessFax, was.businessFax, m_asRead.businessFax,
             makeLine(tel, {}, {QStringLiteral("WORK"), QStringLiteral("FAX")}));
    const ContentLine freshEmail = makeLine(QStringLiteral("EMAIL"), {}, {QStringLiteral("INTERNET")});
    if (m_asRead.email1) {
        const std::optional<size_t> at = holding(*m_asRead.email1, [](const ContentLine& line, const QString& address) {
            return line.name == u"EMAIL" && UnescapeText(line.TextValue()).trimmed() == address;
        });
        apply(at, now.email1, at ? *m_asRead.email1 : QString(), freshEmail);
    } else {
        apply(findLine(card, u"EMAIL"), now.email1, was.email1, freshEmail);
    }
    apply(findLine(card, u"NOTE"), now.body, was.body, makeLine(QStringLiteral("NOTE"), {}));

    if (!uidLine)
        appends.push_back(makeLine(QStringLiteral("UID"), EscapeText(uid)));
    else if (UnescapeText(card.Lines()[*uidLine].TextValue()).trimmed() != uid)
        card.LineAt(*uidLine).SetTextValue(EscapeText(uid));

    // vCard 4.0 spellings that 3.0 readers do not know: tel: URIs and numbered preferences.
    for (size_t index : card.Properties()) {
        ContentLine& line = card.LineAt(index);
        if (const ContentParameter* pref = line.Param(u"PREF")) {
            const bool first = pref->values.contains(QStringLiteral("1"));
            line.RemoveParam(u"PREF");
            if (first && !line.HasType(u"PREF")) {
                if (ContentParameter* type = line.Param(u"TYPE"))
                    type->values.append(QStringLiteral("PREF"));
                else
                    line.params.push_back({QStringLiteral("TYPE"), {QStringLiteral("PREF")}});
            }
        }
        if (line.name == u"TEL" && line.value.trimmed().startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
            line.SetTextValue(EscapeText(telValue(line)));
    }

    std::sort(removals.rbegin(), removals.rend());
    for (size_t index : removals)
        card.RemoveAt(index);
    for (ContentLine& line : appends)
        card.Append(std::move(line));
    if (!card.Find(u"VERSION"))
        card.Append(makeLine(QStringLiteral("VERSION"), QStringLiteral("3.0")), true);

    bytes = card.Serialize();
    return true;
}

} // namespace pim
