#include "link2/reply_classifier.h"

namespace dh2 {

namespace {

int FinalResult(const QByteArray& line)
{
    if (line == "OK")
        return AT_OK;
    if (line == "ERROR")
        return AT_ERROR;
    if (common::IsErrorLine(line, "+CME ERROR"))
        return AT_CME_ERROR;
    if (common::IsErrorLine(line, "+CMS ERROR"))
        return AT_CMS_ERROR;
    if (common::IsErrorLine(line, "+CGR ERROR"))
        return AT_CGR_ERROR;
    return AT_PENDING;
}

// What a reply whose last line this is answers; pending when the line ends nothing.
std::optional<ReplyClass> LastLineVerdict(const QByteArray& line, qsizetype end)
{
    if (line == "RING")
        return ReplyClass {AT_RING, end, false};
    if (line.startsWith("+CMSS:"))
        return ReplyClass {AT_OK, end, false};
    const int result = FinalResult(line);
    if (result == AT_PENDING)
        return std::nullopt;
    return ReplyClass {result, end, result == AT_OK};
}

bool IsMessageHeader(const QByteArray& line)
{
    return line.startsWith("+CMGL:") || line.startsWith("+CMGR:");
}

} // namespace

bool CReplyClassifier::NoteLine(const QByteArray& raw, qsizetype end)
{
    const QByteArray line = raw.trimmed().toUpper();
    m_bLastLinePrompt = line.startsWith('>');
    if (line == "RING") {
        m_bRing = true;
        return false;
    }
    if (line.startsWith("+CMSS:")) {
        if (!m_nCmssEnd)
            m_nCmssEnd = end;
        return false;
    }
    m_nFinal = FinalResult(line);
    m_nFinalEnd = end;
    return m_nFinal != AT_PENDING;
}

void CReplyClassifier::NoteListingLine(const QByteArray& raw)
{
    const QByteArray line = raw.trimmed().toUpper();
    if (m_bTextLineNext) {
        m_bTextLineNext = false;
        m_lastLine.clear();
        return;
    }
    if (IsMessageHeader(line)) {
        m_bTextLineNext = true;
        m_lastLine.clear();
    } else if (!line.isEmpty()) {
        m_lastLine = line;
    }
}

ReplyClass CReplyClassifier::ClassifyListing(const QByteArray& reply, bool quiet)
{
    m_scanner.Scan(reply, [this](const QByteArray& line, qsizetype) {
        NoteListingLine(line);
        return false;
    });
    const ReplyClass pending {AT_PENDING, reply.size(), false};
    // The last line may lack its line end, and be a message's text all the same.
    if (!quiet || m_bTextLineNext)
        return pending;
    // Only blank lines can follow the last line, so the answer is the whole reply.
    const QByteArray tail = reply.mid(m_scanner.TailStart()).trimmed().toUpper();
    const std::optional<ReplyClass> verdict = LastLineVerdict(tail.isEmpty() ? m_lastLine : tail, reply.size());
    if (!verdict)
        return pending;
    m_verdict = verdict;
    return *verdict;
}

ReplyClass CReplyClassifier::Classify(const QByteArray& reply, bool quiet)
{
    if (m_verdict)
        return *m_verdict;
    if (m_bMessageText)
        return ClassifyListing(reply, quiet);

    m_scanner.Scan(reply, [this](const QByteArray& line, qsizetype end) { return NoteLine(line, end); });
    const qsizetype tail = m_scanner.TailStart();
    bool prompt = false;
    if (m_nFinal == AT_PENDING) {
        if (tail < reply.size()) {
            const QByteArray rest = reply.mid(tail);
            prompt = rest.trimmed().startsWith('>');
            // A phone that ends its reply without a line end: once the line is quiet, the last
            // line stands as it is.
            if (quiet && !prompt)
                NoteLine(rest, reply.size());
        } else {
            prompt = m_bLastLinePrompt;
        }
    }
    prompt = prompt && !m_bMessageText;

    ReplyClass verdict;
    if (m_nFinal == AT_OK)
        verdict = {AT_OK, m_nFinalEnd, true};
    else if (m_nCmssEnd)
        verdict = {AT_OK, *m_nCmssEnd, false};
    else if (prompt)
        verdict = {AT_PROMPT, reply.size(), false};
    else if (m_nFinal == AT_CME_ERROR || m_nFinal == AT_CMS_ERROR || m_nFinal == AT_CGR_ERROR)
        verdict = {m_nFinal, m_nFinalEnd, false};
    else if (m_bRing)
        verdict = {AT_RING, reply.size(), false};
    else if (m_nFinal == AT_ERROR)
        verdict = {AT_ERROR, m_nFinalEnd, false};
    else
        return {AT_PENDING, reply.size(), false};
    m_verdict = verdict;
    return verdict;
}

bool IsFinalResultLine(const QByteArray& line)
{
    return FinalResult(line.trimmed().toUpper()) != AT_PENDING;
}

ReplyClass ClassifyReply(const QByteArray& reply, bool messageText, bool quiet)
{
    CReplyClassifier classifier(messageText);
    return classifier.Classify(reply, quiet);
}

} // namespace dh2
