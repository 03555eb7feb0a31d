#include "platform/pim/structured_name.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

namespace pim {

namespace {

// Where a part stands in the full name.
struct Placed {
    int part;
    qsizetype pos;
    qsizetype len;
};

// A character of a word of a name: "Sachsen-Coburg" and "O'Neill" are one word each.
bool inWord(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'\'';
}

// Whether text may be cut at pos without splitting a word. Scripts written without blanks
// (CJK) may be cut anywhere.
bool cutsNoWord(const QString& text, qsizetype pos)
{
    if (pos <= 0 || pos >= text.size())
        return true;
    const auto alphabetic = [](QChar c) { return inWord(c) && c.unicode() < 0x2e80; };
    return !(alphabetic(text[pos - 1]) && alphabetic(text[pos]));
}

bool atWordBounds(const QString& text, qsizetype pos, qsizetype len)
{
    const bool before = pos == 0 || !inWord(text[pos - 1]);
    const bool after = pos + len == text.size() || !inWord(text[pos + len]);
    return before && after;
}

// The part's text in the full name, after the parts placed before it where it can, as whole
// words where it can, never over another part.
std::optional<qsizetype> locate(const QString& text, const QString& part, qsizetype from, const std::vector<Placed>& placed)
{
    const auto free = [&](qsizetype at) {
        return std::none_of(placed.begin(), placed.end(),
                            [&](const Placed& p) { return at < p.pos + p.len && p.pos < at + part.size(); });
    };
    for (const qsizetype start : {from, qsizetype(0)}) {
        for (const bool whole : {true, false}) {
            for (qsizetype at = text.indexOf(part, start); at >= 0; at = text.indexOf(part, at + 1)) {
                if (free(at) && (!whole || atWordBounds(text, at, part.size())))
                    return at;
            }
        }
    }
    return std::nullopt;
}

QStringList wordsOf(const QString& text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// The words of a changed stretch of the name over the parts it spans: one word each from the
// last part back, the first part the rest. With fewer words than parts, the given and family
// names keep theirs first.
void distribute(QStringList words, std::vector<int> run, NameParts& parts)
{
    for (int part : run)
        parts[size_t(part)].clear();
    if (words.isEmpty())
        return;
    for (const int minor : {NameAdditional, NamePrefix, NameSuffix}) {
        if (run.size() > size_t(words.size()))
            std::erase(run, minor);
    }
    if (run.size() > size_t(words.size())) {
        const bool hasGiven = std::find(run.begin(), run.end(), NameGiven) != run.end();
        run = {hasGiven ? int(NameGiven) : run.front()};
    }
    for (size_t i = run.size(); i-- > 1;)
        parts[size_t(run[i])] = words.takeLast();
    parts[size_t(run.front())] = words.join(u' ');
}

} // namespace

QString ComposedName(const NameParts& parts)
{
    QStringList kept;
    for (const NamePart part : {NamePrefix, NameGiven, NameAdditional, NameFamily, NameSuffix}) {
        if (!parts[part].trimmed().isEmpty())
            kept.append(parts[part].trimmed());
    }
    return kept.join(u' ');
}

NameParts RenamedParts(const QString& was, const NameParts& parts, const QString& now)
{
    NameParts renamed = parts;
    const QString name = now.trimmed();
    std::vector<Placed> placed;
    qsizetype from = 0;
    for (const NamePart part : {NamePrefix, NameGiven, NameAdditional, NameFamily, NameSuffix}) {
        const QString text = parts[part].trimmed();
        if (text.isEmpty())
            continue;
        if (const std::optional<qsizetype> at = locate(was, text, from, placed)) {
            placed.push_back({part, *at, text.size()});
            from = *at + text.size();
        }
    }
    if (placed.empty()) {
        if (std::any_of(parts.begin(), parts.end(), [](const QString& p) { return !p.trimmed().isEmpty(); }))
            return renamed;
        const qsizetype blank = name.lastIndexOf(u' ');
        renamed[NameGiven] = blank < 0 ? name : name.left(blank).trimmed();
        renamed[NameFamily] = blank < 0 ? QString() : name.mid(blank + 1);
        return renamed;
    }
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.pos < b.pos; });

    // The full name as read: literal text around the parts, lit[i] before part i, lit[k] last.
    const qsizetype k = qsizetype(placed.size());
    QStringList lit;
    qsizetype pos = 0;
    for (const Placed& p : placed) {
        lit << was.mid(pos, p.pos - pos);
        pos = p.pos + p.len;
    }
    lit << was.mid(pos);
    const auto partText = [&](qsizetype i) { return was.mid(placed[size_t(i)].pos, placed[size_t(i)].len); };

    // The most parts kept at the front (a) and the back (b) of the new name, the literal text
    // next to the changed stretch kept with them where it still is.
    struct Match {
        qsizetype a = -1, b = 0;
        QString middle;
    } best;
    for (qsizetype a = 0; a <= k; ++a) {
        QString head;
        for (qsizetype i = 0; i < a; ++i)
            head += lit[i] + partText(i);
        for (qsizetype b = 0; a + b <= k; ++b) {
            QString tail;
            for (qsizetype i = k - b; i < k; ++i)
                tail += partText(i) + lit[i + 1];
            for (const QString& front : {head + lit[a], head}) {
                for (const QString& back : {lit[k - b] + tail, tail}) {
                    if (!name.startsWith(front) || !name.endsWith(back) || front.size() + back.size() > name.size() ||
                        !cutsNoWord(name, front.size()) || !cutsNoWord(name, name.size() - back.size()))
                        continue;
                    if (a + b > best.a + best.b || best.a < 0)
                        best = {a, b, name.mid(front.size(), name.size() - front.size() - back.size())};
                }
            }
        }
    }
    std::vector<int> run;
    for (qsizetype i = best.a; i < k - best.b; ++i)
        run.push_back(placed[size_t(i)].part);
    if (!run.empty())
        distribute(wordsOf(best.middle), run, renamed);
    return renamed;
}

} // namespace pim
