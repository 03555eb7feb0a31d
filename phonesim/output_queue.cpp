#include "phonesim/output_queue.h"

#include <algorithm>

namespace phonesim {

void OutputQueue::insert(qint64 atMs, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    auto at = std::upper_bound(m_chunks.begin(), m_chunks.end(), atMs,
        [](qint64 time, const Chunk& chunk) { return time < chunk.atMs; });
    // The partly read head must stay the head.
    if (at == m_chunks.begin() && m_headTaken > 0)
        ++at;
    m_chunks.insert(at, Chunk {atMs, bytes});
}

void OutputQueue::add(qint64 nowMs, const Output& output)
{
    if (output.stopsStream)
        stopStream(nowMs);
    for (const TimedBytes& chunk : output.chunks)
        insert(nowMs + chunk.offsetMs, chunk.bytes);
    if (output.stream && !output.stream->line.isEmpty()) {
        // A line cannot follow the previous one before that has gone over the wire.
        const qint64 lineBits = qint64(output.stream->line.size()) * 10;
        const int wireMs = m_baud > 0 ? int((lineBits * 1000 + m_baud - 1) / m_baud) : 1;
        m_stream = Stream {nowMs + output.stream->offsetMs, std::max({1, wireMs, output.stream->periodMs}),
            output.stream->line};
    }
    if (output.closeAtMs) {
        const qint64 at = nowMs + *output.closeAtMs;
        m_closeAtMs = m_closeAtMs ? std::min(*m_closeAtMs, at) : at;
    }
}

qint64 OutputQueue::streamSent(qint64 nowMs) const
{
    if (!m_stream || nowMs < m_stream->startMs)
        return 0;
    const qint64 lines = (nowMs - m_stream->startMs) / m_stream->periodMs + 1;
    return lines * m_stream->line.size();
}

qint64 OutputQueue::streamDue(qint64 nowMs) const
{
    if (!m_stream)
        return 0;
    return std::clamp<qint64>(streamSent(nowMs) - m_stream->taken, 0, kReceiveQueueBytes);
}

void OutputQueue::dropOverrun(qint64 nowMs)
{
    if (m_stream)
        m_stream->taken = std::max(m_stream->taken, streamSent(nowMs) - kReceiveQueueBytes);
}

QByteArray OutputQueue::streamBytes(qint64 count)
{
    QByteArray out;
    out.reserve(count);
    const QByteArray& line = m_stream->line;
    while (count > 0) {
        const qsizetype offset = qsizetype(m_stream->taken % line.size());
        const qsizetype n = qsizetype(std::min<qint64>(count, line.size() - offset));
        out.append(line.constData() + offset, n);
        m_stream->taken += n;
        count -= n;
    }
    return out;
}

void OutputQueue::stopStream(qint64 nowMs)
{
    if (!m_stream)
        return;
    // What the phone already sent stays on the wire.
    dropOverrun(nowMs);
    const qint64 due = streamDue(nowMs);
    const QByteArray sent = streamBytes(due);
    m_stream.reset();
    insert(nowMs, sent);
}

qsizetype OutputQueue::due(qint64 nowMs) const
{
    qsizetype total = 0;
    for (const Chunk& chunk : m_chunks) {
        if (chunk.atMs > nowMs)
            break;
        total += chunk.bytes.size();
    }
    total -= m_chunks.empty() || m_chunks.front().atMs > nowMs ? 0 : m_headTaken;
    return total + qsizetype(streamDue(nowMs));
}

QByteArray OutputQueue::take(qint64 nowMs, qsizetype maxSize)
{
    dropOverrun(nowMs);
    QByteArray out;
    while (out.size() < maxSize && !m_chunks.empty() && m_chunks.front().atMs <= nowMs) {
        const QByteArray& bytes = m_chunks.front().bytes;
        const qsizetype n = std::min(bytes.size() - m_headTaken, maxSize - out.size());
        out.append(bytes.constData() + m_headTaken, n);
        m_headTaken += n;
        if (m_headTaken == bytes.size()) {
            m_chunks.pop_front();
            m_headTaken = 0;
        }
    }
    if (out.size() < maxSize)
        out += streamBytes(std::min<qint64>(streamDue(nowMs), maxSize - out.size()));
    return out;
}

void OutputQueue::discardDue(qint64 nowMs)
{
    while (!m_chunks.empty() && m_chunks.front().atMs <= nowMs) {
        m_chunks.pop_front();
        m_headTaken = 0;
    }
    dropOverrun(nowMs);
    if (m_stream)
        m_stream->taken += streamDue(nowMs);
}

bool OutputQueue::isClosed(qint64 nowMs) const
{
    return m_closeAtMs && nowMs >= *m_closeAtMs;
}

std::optional<qint64> OutputQueue::nextEventMs(qint64 nowMs) const
{
    std::optional<qint64> next;
    auto consider = [&](qint64 at) {
        if (at > nowMs && (!next || at < *next))
            next = at;
    };
    for (const Chunk& chunk : m_chunks) {
        if (chunk.atMs > nowMs) {
            consider(chunk.atMs);
            break;
        }
    }
    if (m_stream) {
        if (nowMs < m_stream->startMs)
            consider(m_stream->startMs);
        else
            consider(m_stream->startMs + ((nowMs - m_stream->startMs) / m_stream->periodMs + 1) * m_stream->periodMs);
    }
    if (m_closeAtMs)
        consider(*m_closeAtMs);
    return next;
}

void OutputQueue::clear()
{
    m_chunks.clear();
    m_headTaken = 0;
    m_stream.reset();
    m_closeAtMs.reset();
}

} // namespace phonesim
