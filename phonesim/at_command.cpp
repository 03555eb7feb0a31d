#include "phonesim/at_command.h"

#include <QList>

namespace phonesim {

AtCommand ParseAtCommand(const QByteArray& text)
{
    AtCommand command;
    command.text = text;
    const QByteArray line = text.trimmed();
    if (line.size() < 2 || line.left(2).toUpper() != "AT")
        return command;
    command.valid = true;
    const QByteArray rest = line.mid(2);
    if (rest.isEmpty())
        return command;

    if (rest[0] != '+') {
        command.name = rest.left(1).toUpper();
        command.args = rest.mid(1);
        return command;
    }
    qsizetype end = 1;
    while (end < rest.size() && rest[end] != '=' && rest[end] != '?')
        ++end;
    command.name = rest.left(end).toUpper();
    const QByteArray tail = rest.mid(end);
    if (tail == "=?") {
        command.form = AtCommand::Form::Test;
    } else if (tail == "?") {
        command.form = AtCommand::Form::Query;
    } else if (tail.startsWith('=')) {
        command.form = AtCommand::Form::Set;
        command.args = tail.mid(1);
    } else if (!tail.isEmpty()) {
        command.valid = false;
    }
    return command;
}

QList<QByteArray> SplitArguments(const QByteArray& args)
{
    QList<QByteArray> parts;
    QByteArray current;
    bool quoted = false;
    for (const char c : args) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

QByteArray Unquoted(const QByteArray& argument)
{
    const QByteArray trimmed = argument.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith('"') && trimmed.endsWith('"'))
        return trimmed.mid(1, trimmed.size() - 2);
    return trimmed;
}

} // namespace phonesim
