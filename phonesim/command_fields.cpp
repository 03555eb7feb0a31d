#include "phonesim/command_fields.h"

#include "phonesim/at_command.h"
#include "phonesim/text_field.h"

#include <QList>

#include <climits>

namespace phonesim {

std::optional<int> Number(const QByteArray& text)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (!(trimmed[i] >= '0' && trimmed[i] <= '9') && !(i == 0 && trimmed[i] == '-'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<std::pair<int, int>> IndexPair(const QByteArray& args)
{
    const QList<QByteArray> parts = args.split(',');
    if (parts.size() > 2)
        return std::nullopt;
    const std::optional<int> first = Number(parts[0]);
    const std::optional<int> last = parts.size() == 2 ? Number(parts[1]) : first;
    if (!first || !last)
        return std::nullopt;
    return std::make_pair(*first, *last);
}

std::optional<QString> TextArgument(const QByteArray& field, int maxLength, const QByteArray& charset, int* error)
{
    const std::optional<QString> text = DecodeTextField(Unquoted(field), charset);
    if (!text) {
        *error = CME_INVALID_CHARACTERS;
        return std::nullopt;
    }
    if (text->size() > maxLength) {
        *error = CME_TEXT_TOO_LONG;
        return std::nullopt;
    }
    return text;
}

std::optional<QString> PaddedTextArgument(const QByteArray& field, int maxLength, const QByteArray& charset, int* error)
{
    std::optional<QString> text = TextArgument(field, INT_MAX, charset, error);
    if (!text)
        return std::nullopt;
    while (text->endsWith(u' '))
        text->chop(1);
    if (text->size() > maxLength) {
        *error = CME_TEXT_TOO_LONG;
        return std::nullopt;
    }
    return text;
}

} // namespace phonesim
