#include "controls/edit_limit.h"

#include "platform/ansi_width.h"

#include <algorithm>

namespace editlimit {

int TextWidth(QStringView text, bool multiLine)
{
    int width = platform::ansiWidth(text);
    if (multiLine)
        width += int(text.count(u'\n'));
    return width;
}

namespace {

// The longest prefix of text whose width is at most room; never splits a surrogate pair.
qsizetype fittingPrefix(QStringView text, int room, bool multiLine)
{
    qsizetype end = 0;
    int used = 0;
    while (end < text.size()) {
        const qsizetype step = (text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate()) ? 2 : 1;
        const int width = TextWidth(text.mid(end, step), multiLine);
        if (used + width > room)
            break;
        used += width;
        end += step;
    }
    return end;
}

} // namespace

Fit FitEdit(const QString& before, const QString& after, int limit, bool multiLine)
{
    const int widthAfter = TextWidth(after, multiLine);
    const int widthBefore = TextWidth(before, multiLine);
    if (limit <= 0 || widthAfter <= limit || widthAfter <= widthBefore)
        return {true, after, int(after.size())};

    // The edit replaced before[prefix, before.size() - suffix) by after[prefix, after.size() - suffix).
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    if (prefix > 0 && after[prefix - 1].isHighSurrogate())
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (suffix > 0 && after[after.size() - suffix].isLowSurrogate())
        --suffix;

    const QStringView removed = QStringView(before).mid(prefix, before.size() - prefix - suffix);
    const QStringView inserted = QStringView(after).mid(prefix, after.size() - prefix - suffix);
    const int room = limit - (widthBefore - TextWidth(removed, multiLine));
    const qsizetype kept = room > 0 ? fittingPrefix(inserted, room, multiLine) : 0;
    if (kept == 0)
        return {false, before, int(prefix)};

    QString text = after.left(prefix);
    text += inserted.left(kept);
    text += QStringView(after).right(suffix);
    return {true, text, int(prefix + kept)};
}

} // namespace editlimit
