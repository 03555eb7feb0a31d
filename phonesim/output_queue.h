#pragma once

#include "phonesim/output.h"

#include <deque>

namespace phonesim {

// The phone-to-PC direction of a line: bytes scheduled at absolute times (ms on the clock the
// front end uses), of which those whose time has come are "on the wire" for the PC to read
// or purge. Both front ends use it: the simulated line against the installed clock, the
// pseudo-terminal server against real time.
//
// A stream goes no faster than the line's speed allows, and of what the PC does not read the
// receiver keeps only its last kReceiveQueueBytes: older bytes are lost, as on a serial line
// nobody reads, so that a stream never leaves a backlog for a later session.
class OutputQueue {
public:
    static constexpr qsizetype kReceiveQueueBytes = 4096;
    static constexpr int kDefaultBaud = 57600;

    // The line's speed in baud (10 bits a byte); 0 leaves streams unpaced. Applies to streams
    // added afterwards.
    void setBaud(int baud) { m_baud = baud; }

    void add(qint64 nowMs, const Output& output);

    // Bytes that have arrived and are not yet read.
    qsizetype due(qint64 nowMs) const;
    QByteArray take(qint64 nowMs, qsizetype maxSize);
    // What a purge on the PC side discards: everything that has arrived. Later bytes still come.
    void discardDue(qint64 nowMs);

    bool isClosed(qint64 nowMs) const;
    // The next moment after nowMs at which more bytes arrive or the line closes.
    std::optional<qint64> nextEventMs(qint64 nowMs) const;
    void clear();

private:
    struct Chunk {
        qint64 atMs;
        QByteArray bytes;
    };
    struct Stream {
        qint64 startMs;
        int periodMs;
        QByteArray line;
        qint64 taken = 0; // bytes of the endless sequence already read or discarded
    };

    void insert(qint64 atMs, const QByteArray& bytes);
    qint64 streamSent(qint64 nowMs) const;
    qint64 streamDue(qint64 nowMs) const;
    void dropOverrun(qint64 nowMs);
    QByteArray streamBytes(qint64 count);
    void stopStream(qint64 nowMs);

    std::deque<Chunk> m_chunks; // ascending times
    qsizetype m_headTaken = 0;  // bytes of the first chunk already read
    std::optional<Stream> m_stream;
    std::optional<qint64> m_closeAtMs;
    int m_baud = kDefaultBaud;
};

} // namespace phonesim
