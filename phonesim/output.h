#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace phonesim {

// Bytes the phone sends, offsetMs after the moment it received the input that caused them.
struct TimedBytes {
    qint64 offsetMs = 0;
    QByteArray bytes;
};

// A reply that never ends: line after line, one every periodMs, from offsetMs on.
struct StreamSpec {
    qint64 offsetMs = 0;
    int periodMs = 100;
    QByteArray line;
};

// Everything one piece of input makes the phone do on the line.
struct Output {
    std::vector<TimedBytes> chunks;  // ascending offsets
    std::optional<StreamSpec> stream;
    std::optional<qint64> closeAtMs; // the line goes dead (cable pulled)
    bool stopsStream = false;        // a new command ends an endless reply in progress

    void append(const Output& other);
};

} // namespace phonesim
