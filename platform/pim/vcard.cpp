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
    card.m_lines = ParseContentLines(bytes);
    return card;
}

VCard VCard::NewCard()
{
    VCard card;
    card.m_lines.push_back(makeLine(QStringLiteral("BEGIN"), QStringLiteral("VCARD")));
    card.m_lines.push_back(makeLine(QStringLiteral("VERSION"), QStringLiteral("3.0")));
    card.m_lines.push_back(makeLine(QStringLiteral("PRODID"), QStringLiteral("-//Deskhand//PIM store//EN")));
    card.m_lines.push_back(makeLine(QStringLiteral("END"), QStringLiteral("VCARD")));
    return card;
}

QByteArray VCard::Serialize() const
{
    QByteArray out;
    for (const ContentLine& line : m_lines) {
        if (line.name == u"VERSION") {
            ContentLine version = line;
            version.value = QStringLiteral("3.0");
            out += FormatContentLine(version);
        } else {
            out += FormatContentLine(line);
        }
    }
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
        m_lines.push_back(makeLine(QStringLiteral("BEGIN"), QStringLiteral("VCARD")));
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
            m_lines.push_back(makeLine(QStringLiteral("END"), QStringLiteral("VCARD")));
        range->end = m_lines.size();
        m_lines.push_back(makeLine(QStringLiteral("END"), QStringLiteral("VCARD")));
    }
    const size_t at = first ? range->begin + 1 : range->end;
    m_lines.insert(m_lines.begin() + std::ptrdiff_t(at), std::move(line));
}

void VCard::RemoveAt(size_t index)
{
    if (index < m_lines.size())
        m_lines.erase(m_lines.begin() + std::ptrdiff_t(index));
}

} // namespace pim
