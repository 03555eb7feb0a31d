#include "link/phone_session_text.h"

#include "common/text_codec.h"
#include "platform/ansi_width.h"

#include <algorithm>

namespace dh1 {

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

QByteArray IndexCommand(const QByteArray& command, int index)
{
    return command + '=' + QByteArray::number(index) + '\r';
}

QByteArray RangeCommand(const QByteArray& command, int first, int last)
{
    return command + '=' + QByteArray::number(first) + ',' + QByteArray::number(last) + '\r';
}

void NoteLength(int& length, const QString& reply, int k)
{
    if (const std::optional<int> value = common::NumberField(reply, k); value && *value > 0)
        length = *value;
}

} // namespace phonetext

} // namespace dh1
