#include "link/reply_classifier.h"

#include "platform/atoi.h"

#include <algorithm>

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The code of an error line: the text after its first ':' up to the next ':', as atoi reads it.
std::optional<int> errorCode(const QByteArray& line)
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

// "+CME ERROR", "+CME ERROR: 21", "+CME ERROR 21", not "+CME ERRORS".
bool isErrorLine(const QByteArray& line, const char* prefix)
{
    const QByteArray head(prefix);
    if (!line.startsWith(head))
        return false;
    return line.size() == head.size() || line[head.size()] == ':' || line[head.size()] == ' ';
}

ReplyKind finalKind(const QByteArray& line)
{
    if (line == "OK")
        return ReplyKind::Ok;
    if (line == "ERROR")
        return ReplyKind::Error;
    if (isErrorLine(line, "+CME ERROR"))
        return ReplyKind::CmeError;
    if (isErrorLine(line, "+CMS ERROR"))
        return ReplyKind::CmsError;
    if (isErrorLine(line, "+EXT ERROR"))
        return ReplyKind::ExtError;
    return ReplyKind::Pending;
}

} // namespace

ReplyClass CReplyClassifier::Classify(const QByteArray& reply, bool quiet)
{
    if (m_verdict)
        return *m_verdict;

    bool prompt = false;
    ReplyClass final;
    QByteArray finalLine;
    qsizetype pos = m_nScanned;
    while (pos < reply.size()) {
        qsizetype lineEnd = std::max(pos, m_nSearched);
        while (lineEnd < reply.size() && !isLineEnd(reply[lineEnd]))
            ++lineEnd;
        if (lineEnd == reply.size()) {
            m_nSearched = lineEnd; // an incomplete line: only the prompt may stand there
            break;
        }
        const QByteArray raw = reply.mid(pos, lineEnd - pos);
        qsizetype next = lineEnd + 1;
        if (reply[lineEnd] == '\r' && next < reply.size() && reply[next] == '\n')
            ++next;
        pos = next;
        if (raw.startsWith('>'))
            prompt = true;
        const QByteArray line = raw.trimmed().toUpper();
        if (line == "RING") {
            m_bRing = true;
            continue;
        }
        final.kind = finalKind(line);
        if (final.kind != ReplyKind::Pending) {
            final.end = next;
            finalLine = line;
            break;
        }
    }
    m_nScanned = pos;
    bool ring = m_bRing;
    if (final.kind == ReplyKind::Pending && pos < reply.size()) {
        if (reply[pos] == '>')
            prompt = true;
        // A phone that ends its reply without a line end: once the line is quiet, the last
        // line stands as it is.
        if (quiet) {
            finalLine = reply.mid(pos).trimmed().toUpper();
            final.kind = finalKind(finalLine);
            final.end = reply.size();
            ring = ring || finalLine == "RING";
        }
    }
    if (final.kind == ReplyKind::CmeError || final.kind == ReplyKind::CmsError || final.kind == ReplyKind::ExtError)
        final.code = errorCode(finalLine);

    ReplyClass verdict;
    if (final.kind == ReplyKind::Ok)
        verdict = final;
    else if (prompt)
        verdict = {ReplyKind::Prompt, std::nullopt, reply.size()};
    else if (final.kind != ReplyKind::Pending)
        verdict = final;
    else
        return {ReplyKind::Pending, std::nullopt, reply.size(), ring};
    verdict.ring = ring;
    m_verdict = verdict;
    return verdict;
}

ReplyClass ClassifyReply(const QByteArray& reply, bool quiet)
{
    CReplyClassifier classifier;
    return classifier.Classify(reply, quiet);
}

int ResultCode(const ReplyClass& verdict)
{
    switch (verdict.kind) {
    case ReplyKind::Pending: return AT_PENDING;
    case ReplyKind::Ok: return AT_OK;
    case ReplyKind::Prompt: return AT_PROMPT;
    case ReplyKind::Error: return AT_ERROR;
    case ReplyKind::CmeError:
        switch (verdict.code.value_or(-1)) {
        case 20: return AT_CME_MEMORY_FULL;
        case 21: return AT_CME_INVALID_INDEX;
        case 23: return AT_CME_NOT_FOUND;
        case 26: return AT_CME_TOO_LONG;
        default: return AT_CME_ERROR;
        }
    case ReplyKind::CmsError: return AT_CMS_ERROR;
    case ReplyKind::ExtError: return AT_EXT_ERROR;
    case ReplyKind::Ring: return AT_RING;
    }
    return AT_PENDING;
}

int LastErrorCode(const ReplyClass& verdict)
{
    switch (verdict.kind) {
    case ReplyKind::CmeError: {
        const int result = ResultCode(verdict);
        return result == AT_CME_ERROR ? 0 : result;
    }
    case ReplyKind::ExtError:
        return verdict.code == 14 ? kLastErrorFdn : 0;
    case ReplyKind::Ring:
        return AT_RING;
    default:
        return 0;
    }
}

namespace {

// The text without its RING lines (with their line ends).
QByteArray WithoutRingLines(const QByteArray& text)
{
    QByteArray kept;
    kept.reserve(text.size());
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = start;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        if (end < text.size())
            ++end;
        const QByteArray line = text.mid(start, end - start);
        if (line.trimmed().toUpper() != "RING")
            kept += line;
        start = end;
    }
    return kept;
}

} // namespace

QByteArray ReplyText(const QByteArray& reply, const ReplyClass& verdict, const QByteArray& command)
{
    QByteArray text = verdict.kind == ReplyKind::Pending ? reply : reply.left(verdict.end);
    // The phone answered after a call came in: the answer is what the caller parses.
    if (verdict.ring && verdict.kind != ReplyKind::Pending && verdict.kind != ReplyKind::Ring)
        text = WithoutRingLines(text);
    if (verdict.kind == ReplyKind::Ok && !command.isEmpty() && text.startsWith(command))
        text.remove(0, command.size());
    qsizetype size = text.size();
    while (size > 0 && (text[size - 1] == ' ' || text[size - 1] == '\t' || isLineEnd(text[size - 1])))
        --size;
    text.truncate(size);
    return text;
}
