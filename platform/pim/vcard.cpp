#include "platform/pim/vcard.h"

namespace pim {

namespace {

bool isCardMarker(const ContentLine& line, QStringView name)
{
    return line.name == name && line.value.trimmed().compare(u"VCARD", Qt::CaseInsensitive) == 0;
}

ContentLine makeLine(const QString& name, const QString& value)
{
    ContentLine line;
    line.name = name;
    line.value = value;
    return line;
}

} // namespace

VCard VCard::Parse(const QByteArray& bytes)
{
    VCard card;
    const QByteArray text = TextWithoutByteOrderMark(bytes);
    for (SourceLine& source : ReadContentLines(text)) {
        QByteArray raw = text.mid(source.begin, source.end - source.begin);
        card.m_origins.push_back(Origin{source.line, std::move(raw), std::move(source.head), source.headDescribesValue});
        card.m_lines.push_back(std::move(source.line));
    }
    card.m_lineBreak = LineBreakOf(text);
    return card;
}

VCard VCard::NewCard()
{
    VCard card;
    for (ContentLine line : {makeLine(QStringLiteral("BEGIN"), QStringLiteral("VCARD")),
                             makeLine(QStringLiteral("VERSION"), QStringLiteral("3.0")),
                             makeLine(QStringLiteral("PRODID"), QStringLiteral("-//Deskhand//PIM store//EN")),
                             makeLine(QStringLiteral("END"), QStringLiteral("VCARD"))})
        card.insert(card.m_lines.size(), std::move(line));
    return card;
}

CardVersion VCard::Version() const
{
    const ContentLine* version = Find(u"VERSION");
    if (!version)
        return CardVersion::V30;
    return CardVersionOf(version->value);
}

QByteArray VCard::format(size_t index, CardVersion version) const
{
    const ContentLine& line = m_lines[index];
    const std::optional<Origin>& origin = m_origins[index];
    if (origin && line == origin->asRead) {
        if (origin->raw.endsWith('\n') || origin->raw.endsWith('\r'))
            return origin->raw;
        return origin->raw + m_lineBreak; // the text's last line
    }
    QByteArray out;
    // Only the value changed: the name and parameters stay as they were written.
    if (origin && origin->headDescribesValue && line.group == origin->asRead.group && line.name == origin->asRead.name &&
        line.params == origin->asRead.params)
        out = FormatContentLine(origin->head, line, version);
    if (out.isEmpty())
        out = FormatContentLine(line, version);
    return WithLineBreak(out, m_lineBreak);
}

QByteArray VCard::Serialize() const
{
    const CardVersion version = Version();
    QByteArray out;
    for (size_t i = 0; i < m_lines.size(); ++i)
        out += format(i, version);
    return out;
}

std::optional<VCard::Range> VCard::cardRange() const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (!isCardMarker(m_lines[i], u"BEGIN"))
            continue;
        int depth = 0;
        for (size_t j = i; j < m_lines.size(); ++j) {
            if (isCardMarker(m_lines[j], u"BEGIN"))
                ++depth;
            else if (isCardMarker(m_lines[j], u"END") && --depth == 0)
                return Range{i, j};
        }
        return Range{i, m_lines.size()};
    }
    return std::nullopt;
}

std::vector<size_t> VCard::Properties() const
{
    std::vector<size_t> result;
    const auto range = cardRange();
    if (!range)
        return result;
    int depth = 0;
    for (size_t i = range->begin + 1; i < range->end; ++i) {
        if (isCardMarker(m_lines[i], u"BEGIN"))
            ++depth;
        else if (isCardMarker(m_lines[i], u"END"))
            --depth;
        else if (depth == 0)
            result.push_back(i);
    }
    return result;
}

const ContentLine* VCard::Find(QStringView name) const
{
    for (size_t i : Properties()) {
        if (m_lines[i].name == name)
            return &m_lines[i];
    }
    return nullptr;
}

ContentLine* VCard::Find(QStringView name)
{
    return const_cast<ContentLine*>(std::as_const(*this).Find(name));
}

void VCard::Append(ContentLine line, bool first)
{
    auto range = cardRange();
    if (!range) {
        insert(m_lines.size(), makeLine(QStringLiteral("BEGIN"), QStringLiteral("VCARD")));
        range = Range{m_lines.size() - 1, m_lines.size()};
    }
    if (range->end == m_lines.size()) {
        // Close the card, and the nested cards left open inside it.
        int depth = 0;
        for (size_t i = range->begin; i < m_lines.size(); ++i) {
            if (isCardMarker(m_lines[i], u"BEGIN"))
                ++depth;
            else if (isCardMarker(m_lines[i], u"END"))
                --depth;
        }
        for (; depth > 1; --depth)
            insert(m_lines.size(), makeLine(QStringLiteral("END"), QStringLiteral("VCARD")));
        range->end = m_lines.size();
        insert(m_lines.size(), makeLine(QStringLiteral("END"), QStringLiteral("VCARD")));
    }
    insert(first ? range->begin + 1 : range->end, std::move(line));
}

void VCard::insert(size_t at, ContentLine line)
{
    m_lines.insert(m_lines.begin() + std::ptrdiff_t(at), std::move(line));
    m_origins.insert(m_origins.begin() + std::ptrdiff_t(at), std::nullopt);
}

void VCard::RemoveAt(size_t index)
{
    if (index < m_lines.size()) {
        m_lines.erase(m_lines.begin() + std::ptrdiff_t(index));
        m_origins.erase(m_origins.begin() + std::ptrdiff_t(index));
    }
}

} // namespace pim
