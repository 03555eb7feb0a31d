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

ReplyClass CReplyClassifier::Classify(const QByteArray& reply, bool quiet)
{
    if (m_verdict)
        return *m_verdict;

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
    prompt = prompt && !m_bPromptIsNotSuccess;

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

ReplyClass ClassifyReply(const QByteArray& reply, bool promptIsNotSuccess, bool quiet)
{
    CReplyClassifier classifier(promptIsNotSuccess);
    return classifier.Classify(reply, quiet);
}

} // namespace dh2
