#pragma once

// A phone of the second family ready for command tables: awake, no echo, in synchronisation
// mode with the "SYNC" character set and numeric errors, as a session leaves it after Connect.
#include "phonesim/dialect.h"
#include "phonesim/dialect2_model.h"
#include "phonesim/phone.h"
#include "phonesim/text_field.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace dialect2test {

inline QByteArray BytesOf(const phonesim::Output& output)
{
    QByteArray bytes;
    for (const auto& chunk : output.chunks)
        bytes += chunk.bytes;
    return bytes;
}

// A text field as the phone sends it in "SYNC".
inline QByteArray Sync(const QString& text)
{
    return phonesim::EncodeTextField(text, "SYNC");
}

inline QByteArray Ok(const QByteArray& lines = {})
{
    return (lines.isEmpty() ? QByteArray() : "\r\n" + lines + "\r\n") + "\r\nOK\r\n";
}

inline QByteArray Cme(int code)
{
    return "\r\n+CME ERROR: " + QByteArray::number(code) + "\r\n";
}

inline QByteArray Cms(int code)
{
    return "\r\n+CMS ERROR: " + QByteArray::number(code) + "\r\n";
}

class ConnectedPhone {
public:
    explicit ConnectedPhone(int model)
        : phone(phonesim::MakeDialect2(model))
    {
        phonesim::PhoneState& state = phone.state();
        state.asleep = false;
        state.sleepAfterMs = 0;
        state.echo = false;
        state.sessionOpen = true;
        state.charset = "SYNC";
        state.cmee = 1;
        phone.setContentsObserver([this](const phonesim::PhoneState&) { ++changes; });
    }

    QByteArray send(const QByteArray& command) { return BytesOf(phone.receive(command + '\r')); }

    // Runs a table of commands and their exact answers.
    void expectAnswers(std::initializer_list<std::pair<QByteArray, QByteArray>> cases)
    {
        for (const auto& [command, answer] : cases)
            EXPECT_EQ(send(command), answer) << command.constData();
    }

    phonesim::PhoneState& state() { return phone.state(); }

    phonesim::Phone phone;
    int changes = 0;
};

} // namespace dialect2test
