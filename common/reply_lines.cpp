#include "common/reply_lines.h"

#include "platform/ansi_codepage.h"
#include "platform/atoi.h"

namespace common {

QByteArray AnswerText(const QByteArray& reply, qsizetype end, bool cutEcho, const QByteArray& command)
{
    QByteArray text = reply.left(end);
    if (cutEcho && !command.isEmpty() && text.startsWith(command))
        text.remove(0, command.size());
    qsizetype size = text.size();
    while (size > 0 && (text[size - 1] == ' ' || text[size - 1] == '\t' || IsLineEnd(text[size - 1])))
        --size;
    text.truncate(size);
    return text;
}

QString DecodeReply(const QByteArray& bytes)
{
    static const QByteArray kReplacement = QString(QChar::ReplacementCharacter).toUtf8();
    const auto unreadable = [](const QByteArray& part, const QString& decoded) {
        return decoded.contains(QChar::ReplacementCharacter) && !part.contains(kReplacement);
    };
    const QString whole = platform::FromAnsi(bytes);
    if (!unreadable(bytes, whole))
        return whole;
    QString text;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray line = bytes.mid(start, end - start);
        start = end;
        const QString decoded = platform::FromAnsi(line);
        text += unreadable(line, decoded) ? platform::FromLegacy(line) : decoded;
    }
    return text;
}

std::optional<int> ErrorLineCode(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return std::nullopt;
    QByteArray rest = line.mid(colon + 1);
    const qsizetype next = rest.indexOf(':');
    if (next >= 0)
        rest.truncate(next);
    return platform::Atoi(rest);
}

bool IsErrorLine(const QByteArray& line, const char* prefix)
{
    const QByteArray head(prefix);
    if (!line.startsWith(head))
        return false;
    return line.size() == head.size() || line[head.size()] == ':' || line[head.size()] == ' ';
}

} // namespace common
