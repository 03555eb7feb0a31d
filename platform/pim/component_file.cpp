#include "platform/pim/component_file.h"

#include "platform/pim/content_line.h"

#include <algorithm>
#include <map>

namespace pim {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

QString componentName(const ContentLine& line)
{
    return line.value.trimmed().toUpper();
}

// A UID as it reads back after a rewrite: unescaped and trimmed; in a calendar also without
// control characters, which its writer does not keep.
QString uidOf(const ContentLine& line, bool card)
{
    QString uid = UnescapeText(line.TextValue());
    uid.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    uid.replace(u'\r', u'\n');
    if (!card)
        uid.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    return uid.trimmed();
}

} // namespace

ComponentFile::ComponentFile(const QByteArray& bytes)
{
    if (bytes.startsWith(kByteOrderMark)) {
        m_mark = kByteOrderMark;
        m_text = bytes.mid(kByteOrderMark.size());
    } else {
        m_text = TextWithoutByteOrderMark(bytes);
    }

    struct Open {
        QString kind;
        ComponentSpan span;
        bool tracked; // a component of the file's top (not VCALENDAR, not nested)
    };
    std::vector<Open> open;
    int calendars = 0;
    for (const SourceLine& source : ReadContentLines(m_text)) {
        const ContentLine& line = source.line;
        if (line.name == u"BEGIN") {
            const QString kind = componentName(line);
            const bool inCalendar = open.size() == 1 && open.front().kind == u"VCALENDAR";
            Open entry{kind, {}, false};
            if (kind == u"VCALENDAR" && open.empty()) {
                ++calendars;
            } else if (open.empty() || inCalendar) {
                entry.tracked = true;
                entry.span.begin = source.begin;
                entry.span.key.kind = kind;
                entry.span.calendar = inCalendar ? calendars - 1 : -1;
            }
            open.push_back(std::move(entry));
            continue;
        }
        if (line.name == u"END") {
            const QString kind = componentName(line);
            // An END closes the nearest open component of its kind, and what is left open in it.
            auto it = std::find_if(open.rbegin(), open.rend(), [&](const Open& o) { return o.kind == kind; });
            if (it == open.rend())
                continue;
            const size_t at = size_t(open.rend() - it) - 1;
            if (open[at].tracked) {
                ComponentSpan span = open[at].span;
                span.end = source.end;
                m_spans.push_back(std::move(span));
            }
            open.resize(at);
            continue;
        }
        // A property of a tracked component itself, not of one nested in it.
        if (open.empty() || !open.back().tracked)
            continue;
        ComponentKey& key = open.back().span.key;
        if (line.name == u"UID" && key.uid.isEmpty())
            key.uid = uidOf(line, key.kind == u"VCARD");
        else if (line.name == u"RECURRENCE-ID" && key.recurrenceId.isEmpty())
            key.recurrenceId = line.value.trimmed();
    }
    // A card cut off at the end of its file is still a card; other components need their END.
    if (!open.empty() && open.front().tracked && open.front().kind == u"VCARD") {
        ComponentSpan span = open.front().span;
        span.end = m_text.size();
        m_spans.push_back(std::move(span));
    }
    std::sort(m_spans.begin(), m_spans.end(),
              [](const ComponentSpan& a, const ComponentSpan& b) { return a.begin < b.begin; });
    for (size_t i = 0; i < m_spans.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            const ComponentKey& other = m_spans[j].key;
            const ComponentKey& key = m_spans[i].key;
            if (other.kind == key.kind && other.uid == key.uid && other.recurrenceId == key.recurrenceId)
                ++m_spans[i].key.ordinal;
        }
    }
}

QByteArray ComponentFile::SpanText(size_t index) const
{
    const ComponentSpan& span = m_spans.at(index);
    return m_text.mid(span.begin, span.end - span.begin);
}

std::optional<size_t> ComponentFile::Find(const ComponentKey& key) const
{
    for (size_t i = 0; i < m_spans.size(); ++i) {
        if (m_spans[i].key == key)
            return i;
    }
    return std::nullopt;
}

std::vector<size_t> ComponentFile::TimeZonesBeside(size_t index) const
{
    std::vector<size_t> zones;
    for (size_t i = 0; i < m_spans.size(); ++i) {
        if (m_spans[i].key.kind == u"VTIMEZONE" && m_spans[i].calendar == m_spans.at(index).calendar)
            zones.push_back(i);
    }
    return zones;
}

std::vector<ItemSpans> ComponentFile::Items(const QString& kind) const
{
    std::vector<ItemSpans> items;
    std::map<QString, size_t> series; // UID -> its item
    for (size_t i = 0; i < m_spans.size(); ++i) {
        const ComponentKey& key = m_spans[i].key;
        if (key.kind == kind && key.recurrenceId.isEmpty() && !series.count(key.uid)) {
            series.emplace(key.uid, items.size());
            items.push_back({{i}, false});
        } else if (key.kind == kind && key.recurrenceId.isEmpty()) {
            items.push_back({{i}, false});
        }
    }
    for (size_t i = 0; i < m_spans.size(); ++i) {
        const ComponentKey& key = m_spans[i].key;
        if (key.kind != kind || key.recurrenceId.isEmpty())
            continue;
        const auto it = series.find(key.uid);
        if (it != series.end())
            items[it->second].spans.push_back(i);
        else
            items.push_back({{i}, true});
    }
    // In the file's order.
    std::stable_sort(items.begin(), items.end(),
                     [](const ItemSpans& a, const ItemSpans& b) { return a.spans.front() < b.spans.front(); });
    return items;
}

bool ComponentFile::HoldsContent() const
{
    return std::any_of(m_spans.begin(), m_spans.end(),
                       [](const ComponentSpan& span) { return span.key.kind != u"VTIMEZONE"; });
}

QByteArray ComponentFile::Replaced(const std::vector<std::pair<size_t, QByteArray>>& texts) const
{
    std::map<qsizetype, std::pair<qsizetype, QByteArray>> edits; // begin -> end, text
    const QByteArray lineBreak = LineBreakOf(m_text);
    for (const auto& [index, text] : texts) {
        const ComponentSpan& span = m_spans.at(index);
        edits[span.begin] = {span.end, WithLineBreak(text, lineBreak)};
    }
    QByteArray out = m_mark;
    qsizetype pos = 0;
    for (const auto& [begin, edit] : edits) {
        out += m_text.mid(pos, begin - pos);
        out += edit.second;
        pos = edit.first;
    }
    out += m_text.mid(pos);
    return out;
}

} // namespace pim
