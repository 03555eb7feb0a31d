#include "link/reply_classifier.h"

namespace dh1 {

namespace {

ReplyKind finalKind(const QByteArray& line)
{
    if (line == "OK")
        return ReplyKind::Ok;
    if (line == "ERROR")
        return ReplyKind::Error;
    if (common::IsErrorLine(line, "+CME ERROR"))
        return ReplyKind::CmeError;
    if (common::IsErrorLine(line, "+CMS ERROR"))
        return ReplyKind::CmsError;
    if (common::IsErrorLine(line, "+EXT ERROR"))
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
    m_scanner.Scan(reply, [&](const QByteArray& raw, qsizetype next) {
        if (raw.startsWith('>'))
            prompt = true;
        const QByteArray line = raw.trimmed().toUpper();
        if (line == "RING") {
            m_bRing = true;
            return false;
        }
        final.kind = finalKind(line);
        if (final.kind == ReplyKind::Pending)
            return false;
        final.end = next;
        finalLine = line;
        return true;
    });
    const qsizetype pos = m_scanner.TailStart();
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
        final.code = common::ErrorLineCode(finalLine);

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
        while (end < text.size() && !common::IsLineEnd(text[end]))
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
    const bool pending = verdict.kind == ReplyKind::Pending;
    QByteArray text = pending ? reply : reply.left(verdict.end);
    // The phone answered after a call came in: the answer is what the caller parses.
    if (verdict.ring && !pending && verdict.kind != ReplyKind::Ring)
        text = WithoutRingLines(text);
    return common::AnswerText(text, text.size(), verdict.kind == ReplyKind::Ok, command);
}

} // namespace dh1
