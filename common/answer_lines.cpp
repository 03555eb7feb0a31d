#include "common/answer_lines.h"

#include <array>

namespace common {

namespace {

// Result codes that stand alone on their line.
constexpr std::array kUnsolicitedWords {u"RING", u"NO CARRIER", u"BUSY", u"NO ANSWER", u"NO DIALTONE"};

// Result codes followed by ':' and their values: calls, messages and cell broadcasts as they
// arrive, status reports, the network's registration and time, supplementary services,
// indicator and key events, alarms and charge meters.
constexpr std::array kUnsolicitedNames {u"+CRING", u"+CLIP", u"+CCWA", u"+CNAP", u"+CDIP", u"+CMTI", u"+CMT",
    u"+CBMI", u"+CBM", u"+CDSI", u"+CDS", u"+CREG", u"+CGREG", u"+CEREG", u"+CGEV", u"+CUSD", u"+CSSI", u"+CSSU",
    u"+CIEV", u"+CKEV", u"+CDEV", u"+CCCM", u"+CCWV", u"+CALV", u"+CALA", u"+CTZV", u"+CTZE", u"+CUUS1U",
    u"+CUUS1I"};

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView Trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// The name before the line's ':' ("+CMTI" of "+CMTI: \"SM\",5"); empty without one.
QStringView ResultName(QStringView line)
{
    const qsizetype colon = line.indexOf(u':');
    return colon < 0 ? QStringView() : Trimmed(line.left(colon));
}

} // namespace

bool IsUnsolicitedLine(QStringView line)
{
    const QStringView text = Trimmed(line);
    for (const char16_t* word : kUnsolicitedWords) {
        if (text.compare(QStringView(word), Qt::CaseInsensitive) == 0)
            return true;
    }
    const QStringView name = ResultName(text);
    for (const char16_t* known : kUnsolicitedNames) {
        if (name == QStringView(known))
            return true;
    }
    return false;
}

int UnsolicitedFollowingLines(QStringView line)
{
    const QStringView text = Trimmed(line);
    const QStringView name = ResultName(text);
    if (name == u"+CMT" || name == u"+CBM")
        return 1;
    // A status report in PDU mode names only its length; in text mode it is one line.
    if (name == u"+CDS") {
        const QStringView values = Trimmed(text.mid(text.indexOf(u':') + 1));
        bool number = false;
        return values.toInt(&number) >= 0 && number ? 1 : 0;
    }
    return 0;
}

QStringList ReplyLines(const QString& reply)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= reply.size(); ++i) {
        if (i < reply.size() && reply[i] != u'\r' && reply[i] != u'\n')
            continue;
        const QStringView line = Trimmed(QStringView(reply).mid(start, i - start));
        if (!line.isEmpty())
            lines << line.toString();
        start = i + 1;
    }
    return lines;
}

bool IsAnswerLine(QStringView line, QStringView prefix)
{
    const QStringView text = Trimmed(line);
    return text.startsWith(prefix) && text.mid(prefix.size()).startsWith(u':');
}

std::optional<QString> AnswerLine(const QString& reply, const QString& prefix)
{
    for (const QString& line : ReplyLines(reply)) {
        if (IsAnswerLine(line, prefix))
            return line;
    }
    return std::nullopt;
}

QString AnswerValues(QStringView line)
{
    return Trimmed(line.mid(line.indexOf(u':') + 1)).toString();
}

ListAnswer ListAnswerLines(const QString& reply, const QString& prefix, const std::function<bool(QStringView)>& secondLine)
{
    ListAnswer answer;
    const QString marker = prefix + u':';
    const QStringList lines = ReplyLines(reply);
    // The prefix inside a line: a record line that lost its start to noise, or was cut.
    const auto garbled = [&](const QString& line) { return line.indexOf(marker, 1) >= 0; };
    const auto fail = [&answer] {
        answer.readable = false;
        return answer;
    };

    // A line is judged as the command's own before as unsolicited: a command may answer with
    // the name of an unsolicited code ("+CREG"), and a record line that lost its start may
    // begin with one.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (garbled(line))
            return fail();
        if (!IsAnswerLine(line, prefix)) {
            if (IsUnsolicitedLine(line))
                i += UnsolicitedFollowingLines(line);
            continue; // noise, an echo, the final result
        }
        QString record = Trimmed(QStringView(line).mid(marker.size())).toString();
        if (secondLine) {
            qsizetype j = i + 1;
            for (; j < lines.size(); ++j) {
                if (IsAnswerLine(lines[j], prefix) || garbled(lines[j]))
                    return fail();
                if (IsUnsolicitedLine(lines[j])) {
                    j += UnsolicitedFollowingLines(lines[j]);
                    continue;
                }
                if (secondLine(lines[j]))
                    break;
            }
            if (j >= lines.size())
                return fail();
            record += QStringLiteral("\r\n") + lines[j];
            i = j;
        }
        answer.records << record;
    }
    return answer;
}

bool IsHexLine(QStringView line)
{
    if (line.isEmpty())
        return false;
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f')))
            return false;
    }
    return true;
}

} // namespace common
