#include "platform/pim/contact_item.h"

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

// The parts of an N line; values of one part are joined by blanks (2.1 has no lists).
NameParts namePartsOf(const ContentLine& n, CardVersion version)
{
    NameParts parts;
    const QStringList components = SplitEscaped(n.TextValue(), u';');
    for (size_t i = 0; i < parts.size() && qsizetype(i) < components.size(); ++i) {
        const QStringList values =
            version == CardVersion::V21 ? QStringList{components[qsizetype(i)]} : SplitEscaped(components[qsizetype(i)], u',');
        QStringList kept;
        for (const QString& value : values) {
            const QString text = UnescapeText(value).trimmed();
            if (!text.isEmpty())
                kept.append(text);
        }
        parts[i] = kept.join(u' ');
    }
    return parts;
}

// A number a tel: URI can hold as it stands.
bool fitsTelUri(const QString& number)
{
    return !number.isEmpty() && std::all_of(number.begin(), number.end(), [](QChar c) {
        return c.isLetterOrNumber() && c.unicode() < 0x80 ? true : QStringView(u"+-*#.()/;=").contains(c);
    });
}

// A new number in a TEL line: a tel: URI stays one where the number fits it (4.0 cards).
void setNumber(ContentLine& line, const QString& number)
{
    if (line.value.trimmed().startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive) && fitsTelUri(number) &&
        !line.Param(u"ENCODING"))
        line.value = QStringLiteral("tel:") + number;
    else
        line.SetTextValue(EscapeText(number));
}

QStringList pinTypes(Slot slot)
{
    switch (slot) {
    case Slot::Mobile:
        return {QStringLiteral("CELL")};
    case Slot::Business:
        return {QStringLiteral("WORK")};
    case Slot::Home:
        return {QStringLiteral("HOME")};
    case Slot::BusinessFax:
    case Slot::Untyped:
        break;
    }
    return {};
}

std::optional<size_t> lineOf(const TelLines& tels, Slot slot)
{
    switch (slot) {
    case Slot::Mobile:
        return tels.mobile;
    case Slot::Business:
        return tels.business;
    case Slot::Home:
        return tels.home;
    case Slot::BusinessFax:
        return tels.businessFax;
    case Slot::Untyped:
        break;
    }
    return std::nullopt;
}

} // namespace

ContactItem::ContactItem(const QString& folderPath) : Item(folderPath), m_card(VCard::NewCard()) {}

ContactItem::ContactItem(const QString& folderPath, const QString& path, const ComponentFile& file,
                         const ItemSpans& spans, VCard card)
    : Item(folderPath, path, file, spans.spans, spans.occurrence), m_card(std::move(card))
{
    readFields();
}

void ContactItem::readFields()
{
    Fields& f = m_now;
    f = {};
    f.fullName = textOf(m_card, findLine(m_card, u"FN")).trimmed();
    if (const std::optional<size_t> n = findLine(m_card, u"N")) {
        f.name = namePartsOf(m_card.Lines()[*n], m_card.Version());
        if (f.fullName.isEmpty()) // vCard 2.1 cards often carry N alone
            f.fullName = ComposedName(f.name);
    } else {
        f.name = RenamedParts(QString(), {}, f.fullName);
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

std::unique_ptr<ContactItem> ContactItem::FromSpans(const QString& folderPath, const QString& path,
                                                    const ComponentFile& file, const ItemSpans& spans)
{
    VCard card = VCard::Parse(file.SpanText(spans.spans.front()));
    if (!card.HasCard())
        return nullptr;
    return std::unique_ptr<ContactItem>(new ContactItem(folderPath, path, file, spans, std::move(card)));
}

std::unique_ptr<Item> ContactItem::Clone() const
{
    return std::unique_ptr<Item>(new ContactItem(*this));
}

void ContactItem::SetFullName(const QString& value)
{
    // Writing back the same name must not touch the structured N.
    if (value == m_now.fullName)
        return;
    m_now.name = RenamedParts(m_now.fullName, m_now.name, value);
    m_now.fullName = value;
}

void ContactItem::SetFirstName(const QString& value)
{
    m_now.name[NameGiven] = value;
    m_now.fullName = joinNonEmpty({m_now.name[NameGiven], m_now.name[NameFamily]});
}

void ContactItem::SetLastName(const QString& value)
{
    m_now.name[NameFamily] = value;
    m_now.fullName = joinNonEmpty({m_now.name[NameGiven], m_now.name[NameFamily]});
}

bool ContactItem::SerializeNew(const QString& uid, QByteArray& bytes, Error*)
{
    // The card changes only once it is written (Saved).
    VCard card = m_card;
    applyChanges(card, uid, true);
    bytes = card.Serialize();
    return true;
}

bool ContactItem::SerializeSpans(const QString& uid, std::vector<QByteArray>& texts, Error*)
{
    VCard card = m_card;
    applyChanges(card, uid, false);
    texts = {card.Serialize()};
    return true;
}

void ContactItem::Saved()
{
    m_saved = m_now;
    m_asRead = {};
    m_card = VCard::Parse(File().SpanText(Spans().front()));
}

void ContactItem::applyChanges(VCard& card, const QString& uid, bool whole) const
{
    const CardVersion version = card.Version();
    const Fields& now = m_now;
    const Fields& was = m_saved;
    std::vector<size_t> removals;
    std::vector<ContentLine> appends;

    // Lines are found before anything moves; removals and appends come last.
    const std::optional<size_t> fn = findLine(card, u"FN");
    const std::optional<size_t> n = findLine(card, u"N");
    const std::optional<size_t> uidLine = findLine(card, u"UID");

    // A card of another program that has no FN (2.1) or no N gets one when the name changes.
    const bool renamed = now.fullName != was.fullName || now.name != was.name;
    if (!fn && (whole || renamed))
        appends.push_back(makeLine(QStringLiteral("FN"), EscapeText(now.fullName)));
    else if (fn && now.fullName != was.fullName)
        card.LineAt(*fn).SetTextValue(EscapeText(now.fullName));

    if (!n && (whole || renamed)) {
        QStringList components;
        for (const QString& part : now.name)
            components << EscapeText(part);
        appends.push_back(makeLine(QStringLiteral("N"), components.join(u';')));
    } else if (n && now.name != was.name) {
        // Only the parts that changed; the others stay as they were written.
        ContentLine& line = card.LineAt(*n);
        QStringList components = SplitEscaped(line.TextValue(), u';');
        while (components.size() < qsizetype(now.name.size()))
            components.append(QString());
        for (size_t i = 0; i < now.name.size(); ++i) {
            if (now.name[i] != was.name[i])
                components[qsizetype(i)] = EscapeText(now.name[i]);
        }
        line.SetTextValue(components.join(u';'));
    }

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
        } else if (card.Lines()[*index].name == u"TEL") {
            setNumber(card.LineAt(*index), value);
        } else {
            card.LineAt(*index).SetTextValue(EscapeText(value));
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
    applyTel(Slot::Mobile, tels.mobile, now.mobile, was.mobile, m_asRead.mobile, makeLine(tel, {}, {QStringLiteral("CELL")}));
    applyTel(Slot::Business, tels.business, now.business, was.business, m_asRead.business,
             makeLine(tel, {}, {QStringLiteral("WORK"), QStringLiteral("VOICE")}));
    applyTel(Slot::Home, tels.home, now.home, was.home, m_asRead.home,
             makeLine(tel, {}, {QStringLiteral("HOME"), QStringLiteral("VOICE")}));
    applyTel(Slot::BusinessFax, tels.businessFax, now.businessFax, was.businessFax, m_asRead.businessFax,
             makeLine(tel, {}, {QStringLiteral("WORK"), QStringLiteral("FAX")}));
    // 4.0 knows no INTERNET type: every address is one.
    const ContentLine freshEmail = version == CardVersion::V40
                                       ? makeLine(QStringLiteral("EMAIL"), {})
                                       : makeLine(QStringLiteral("EMAIL"), {}, {QStringLiteral("INTERNET")});
    if (m_asRead.email1) {
        const std::optional<size_t> at = holding(*m_asRead.email1, [](const ContentLine& line, const QString& address) {
            return line.name == u"EMAIL" && UnescapeText(line.TextValue()).trimmed() == address;
        });
        apply(at, now.email1, at ? *m_asRead.email1 : QString(), freshEmail);
    } else {
        apply(findLine(card, u"EMAIL"), now.email1, was.email1, freshEmail);
    }
    apply(findLine(card, u"NOTE"), now.body, was.body, makeLine(QStringLiteral("NOTE"), {}));

    if (!uidLine && !uid.isEmpty())
        appends.push_back(makeLine(QStringLiteral("UID"), EscapeText(uid)));

    // Which field a number without a type fills depends on the other numbers: a number that a
    // change here would move to another field gets the type of the one it filled. The others
    // stay as they were written.
    std::sort(removals.begin(), removals.end());
    const auto finished = [&removals, &appends](VCard trial) {
        for (auto it = removals.rbegin(); it != removals.rend(); ++it)
            trial.RemoveAt(*it);
        for (const ContentLine& line : appends)
            trial.Append(line);
        return findTels(trial);
    };
    for (int round = 0; round < 4; ++round) {
        const TelLines after = finished(card);
        bool pinned = false;
        for (const Slot slot : {Slot::Mobile, Slot::Home, Slot::Business}) {
            const std::optional<size_t> index = lineOf(tels, slot);
            if (!index || telSlot(card.Lines()[*index]) != Slot::Untyped ||
                std::binary_search(removals.begin(), removals.end(), *index))
                continue;
            const size_t moved = *index - size_t(std::lower_bound(removals.begin(), removals.end(), *index) - removals.begin());
            if (lineOf(after, slot) == moved)
                continue;
            ContentLine& line = card.LineAt(*index);
            if (ContentParameter* type = line.Param(u"TYPE"))
                type->values += pinTypes(slot);
            else
                line.params.push_back({QStringLiteral("TYPE"), pinTypes(slot)});
            pinned = true;
        }
        if (!pinned)
            break;
    }

    for (auto it = removals.rbegin(); it != removals.rend(); ++it)
        card.RemoveAt(*it);
    for (ContentLine& line : appends)
        card.Append(std::move(line));
    if (!card.Find(u"VERSION"))
        card.Append(makeLine(QStringLiteral("VERSION"), QStringLiteral("3.0")), true);
}

} // namespace pim
