#include "link/phone_session_text.h"

#include "platform/ansi_width.h"

#include <algorithm>

namespace phonetext {

QString ToPhoneLines(const QString& text)
{
    QString result = text;
    return result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString FromPhoneLines(const QString& text)
{
    return ToPhoneLines(text).replace(u'\n', QLatin1String("\r\n"));
}

QString CutPhoneText(const QString& text, int width)
{
    QString cut = platform::ansiLeft(text, std::max(0, width));
    if (cut.size() < text.size() && cut.endsWith(u'\r') && text[cut.size()] == u'\n')
        cut.chop(1);
    return cut;
}

QByteArray IndexText(int index)
{
    return index == -1 ? QByteArray() : QByteArray::number(index);
}

} // namespace phonetext
