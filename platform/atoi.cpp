#include "platform/atoi.h"

#include <climits>

namespace platform {

namespace {

char16_t unitOf(QChar c) { return c.unicode(); }
char16_t unitOf(char c) { return char16_t(static_cast<unsigned char>(c)); }

template <typename Text>
int atoiOf(const Text& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto at = [&](qsizetype k) { return unitOf(text[k]); };
    while (i < n && (at(i) == u' ' || (at(i) >= u'\t' && at(i) <= u'\r')))
        ++i;
    bool negative = false;
    if (i < n && (at(i) == u'+' || at(i) == u'-'))
        negative = at(i++) == u'-';
    long long value = 0;
    for (; i < n && at(i) >= u'0' && at(i) <= u'9'; ++i) {
        value = value * 10 + (at(i) - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return int(-value);
    return value > INT_MAX ? INT_MAX : int(value);
}

} // namespace

int Atoi(QStringView text)
{
    return atoiOf(text);
}

int Atoi(const QByteArray& text)
{
    return atoiOf(QByteArrayView(text));
}

} // namespace platform
