#include "phonesim/at_command.h"
#include "phonesim/phone.h"

#include <gtest/gtest.h>

namespace {

using phonesim::AtCommand;
using phonesim::Fault;
using phonesim::Output;
using phonesim::Phone;

// All the bytes of an output, in order, whatever their timing.
QByteArray bytesOf(const Output& output)
{
    QByteArray bytes;
    for (const auto& chunk : output.chunks)
        bytes += chunk.bytes;
    return bytes;
}

TEST(ParseAtCommand, FormsAndNames)
{
    using Form = AtCommand::Form;
    const struct {
        const char* text;
        bool valid;
        const char* name;
        Form form;
        const char* args;
    } cases[] = {
        {"AT", true, "", Form::Action, ""},
        {"at", true, "", Form::Action, ""},
        {"ATE0", true, "E", Form::Action, "0"},
        {"ate1", true, "E", Form::Action, "1"},
        {"AT+SYNCSTART", true, "+SYNCSTART", Form::Action, ""},
        {"AT+CPBR=?", true, "+CPBR", Form::Test, ""},
        {"AT+CPBS?", true, "+CPBS", Form::Query, ""},
        {"AT+CPBR=1,10", true, "+CPBR", Form::Set, "1,10"},
        {"at+cscs=\"Base64\"", true, "+CSCS", Form::Set, "\"Base64\""},
        {"AT+CPBS?x", false, "+CPBS", Form::Action, ""},
        {"XYZ", false, "", Form::Action, ""},
        {"A", false, "", Form::Action, ""},
    };
    for (const auto& c : cases) {
        const AtCommand command = phonesim::ParseAtCommand(c.text);
        EXPECT_EQ(command.valid, c.valid) << c.text;
        if (!c.valid)
            continue;
        EXPECT_EQ(command.name, QByteArray(c.name)) << c.text;
        EXPECT_EQ(command.form, c.form) << c.text;
        EXPECT_EQ(command.args, QByteArray(c.args)) << c.text;
    }
    EXPECT_EQ(phonesim::SplitArguments("1,\"a,b\",,3"), QList<QByteArray>({"1", "\"a,b\"", "", "3"}));
    EXPECT_EQ(phonesim::Unquoted(" \"IRA\" "), QByteArray("IRA"));
}

// The first family's session commands, answered with standard framing.
TEST(Dialect1, SessionCommands)
{
    Phone phone;
    phone.state().echo = false;
    const struct {
        const char* command;
        const char* answer;
    } cases[] = {
        {"AT\r", "\r\nOK\r\n"},
        {"AT+SYNCSTART\r", "\r\nOK\r\n"},
        {"AT+CSCS=\"UCS2\"\r", "\r\nERROR\r\n"}, // +CMEE=0: errors are plain
        {"AT+CMEE=1\r", "\r\nOK\r\n"},
        {"AT+CMEE?\r", "\r\n+CMEE: 1\r\n\r\nOK\r\n"},
        {"AT+CSCS=\"UCS2\"\r", "\r\n+CME ERROR: 4\r\n"},
        {"AT+CSCS=\"Base64\"\r", "\r\nOK\r\n"},
        {"AT+CSCS?\r", "\r\n+CSCS: \"Base64\"\r\n\r\nOK\r\n"},
        {"AT+CSCS=?\r", "\r\n+CSCS: (\"IRA\",\"Base64\")\r\n\r\nOK\r\n"},
        {"AT+CMEE=7\r", "\r\nERROR\r\n"},
        {"AT+SYNCSTART=1\r", "\r\nERROR\r\n"},
        {"AT+NOSUCH\r", "\r\nERROR\r\n"},
        {"HELLO\r", "\r\nERROR\r\n"},
        {"ATE1\r", "\r\nOK\r\n"},
        {"AT+SYNCSTOP\r", "AT+SYNCSTOP\r\r\nOK\r\n"},
        {"ATE0\r", "ATE0\r\r\nOK\r\n"},
        {"AT+CSCS=\"IRA\"\r", "\r\nOK\r\n"},
        {"\r", ""},
        {"\r\n", ""},
    };
    for (const auto& c : cases) {
        const Output output = phone.receive(c.command);
        EXPECT_EQ(bytesOf(output), QByteArray(c.answer)) << c.command;
    }
    EXPECT_FALSE(phone.state().echo);
    EXPECT_FALSE(phone.state().sessionOpen);
    EXPECT_EQ(phone.state().cmee, 1);
    EXPECT_EQ(phone.state().charset, QByteArray("IRA"));
    EXPECT_EQ(phone.commandLog().size(), 17);
}

TEST(Phone, EchoComesAtOnceAndTheAnswerAfterTheLatency)
{
    Phone phone;
    const Output output = phone.receive("AT+SYNCSTART\r");
    ASSERT_EQ(output.chunks.size(), 2u);
    EXPECT_EQ(output.chunks[0].offsetMs, 0);
    EXPECT_EQ(output.chunks[0].bytes, QByteArray("AT+SYNCSTART\r"));
    EXPECT_EQ(output.chunks[1].offsetMs, Phone::kDefaultLatencyMs);
    EXPECT_EQ(output.chunks[1].bytes, QByteArray("\r\nOK\r\n"));
    EXPECT_TRUE(output.stopsStream);
    EXPECT_TRUE(phone.state().sessionOpen);
}

TEST(Phone, CommandsArriveInPieces)
{
    Phone phone;
    phone.state().echo = false;
    EXPECT_TRUE(bytesOf(phone.receive("AT+CS")).isEmpty());
    EXPECT_TRUE(bytesOf(phone.receive("CS=\"Bas")).isEmpty());
    EXPECT_EQ(bytesOf(phone.receive("e64\"\r")), QByteArray("\r\nOK\r\n"));
    // An ESC drops a half-typed command.
    phone.receive("AT+GARBAGE");
    phone.receive(QByteArray(1, 27));
    EXPECT_EQ(bytesOf(phone.receive("AT\r")), QByteArray("\r\nOK\r\n"));
    // Two commands in one write are answered in turn.
    EXPECT_EQ(bytesOf(phone.receive("AT\rAT+NO\r")), QByteArray("\r\nOK\r\n\r\nERROR\r\n"));
    EXPECT_EQ(phone.commandLog(), QByteArrayList({"AT+CSCS=\"Base64\"", "AT", "AT", "AT+NO"}));
}

TEST(Phone, OverlongCommandIsCut)
{
    Phone phone;
    phone.state().echo = false;
    phone.receive(QByteArray(Phone::kMaxCommandLength + 100, 'A') + "\r");
    ASSERT_EQ(phone.commandLog().size(), 1);
    EXPECT_EQ(phone.commandLog()[0].size(), Phone::kMaxCommandLength);
}

TEST(Phone, PromptTakesTextUntilEscape)
{
    Phone phone;
    phone.state().echo = false;
    phone.state().atPrompt = true;
    EXPECT_EQ(bytesOf(phone.receive("AT\r")), QByteArray("\r\n> "));
    EXPECT_TRUE(bytesOf(phone.receive(QByteArray(1, 27))).isEmpty());
    EXPECT_FALSE(phone.state().atPrompt);
    EXPECT_EQ(bytesOf(phone.receive("AT\r")), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(phone.commandLog(), QByteArrayList({"AT\r\x1b", "AT"}));
}

TEST(Phone, FaultsPerCommand)
{
    const struct {
        Fault fault;
        const char* bytes;
        bool carriedOut;
    } cases[] = {
        {Fault::silence(), "", false},
        {Fault::error(), "\r\nERROR\r\n", false},
        {Fault::cmeError(21), "\r\n+CME ERROR: 21\r\n", false},
        {Fault::cmsError(500), "\r\n+CMS ERROR: 500\r\n", false},
        {Fault::extError(14), "\r\n+EXT ERROR: 14\r\n", false},
        {Fault::reply("odd"), "odd", false},
        {Fault::ring(300), "\r\nRING\r\n\r\nOK\r\n", true},
        {Fault::split(3, 50), "\r\nOK\r\n", true},
        {Fault::delay(900), "\r\nOK\r\n", true},
        {Fault::closeLine(), "", false},
        {Fault::before("\r\n+CMTI: \"SM\",5\r\n"), "\r\n+CMTI: \"SM\",5\r\n\r\nOK\r\n", true},
        // Nothing but the final result: the lines come first.
        {Fault::amid("+CREG: 1\r\n"), "+CREG: 1\r\n\r\nOK\r\n", true},
        {Fault::lateFinal(2000), "\r\nRING\r\n\r\nOK\r\n", true},
        {Fault::lost(), "", true},
        {Fault::lostThenClose(), "", true},
    };
    for (const auto& c : cases) {
        Phone phone;
        phone.state().echo = false;
        phone.injectFault("AT+SYNCSTART", c.fault, 1);
        const Output output = phone.receive("AT+SYNCSTART\r");
        EXPECT_EQ(bytesOf(output), QByteArray(c.bytes)) << int(c.fault.kind);
        EXPECT_EQ(phone.state().sessionOpen, c.carriedOut) << int(c.fault.kind);
        // Once only.
        EXPECT_EQ(bytesOf(phone.receive("AT+SYNCSTART\r")), QByteArray("\r\nOK\r\n")) << int(c.fault.kind);
    }
}

TEST(Phone, FaultTimingAndStreams)
{
    Phone phone;
    phone.state().echo = false;
    phone.injectFault("AT+SYNCSTART", Fault::ring(300));
    phone.injectFault("AT+SYNCSTOP", Fault::split(3, 50));
    phone.injectFault("AT+CPBR=*", Fault::stream("+CPBR: 1\r\n", 40));
    phone.injectFault("ATE1", Fault::closeLine());

    Output output = phone.receive("AT+SYNCSTART\r");
    ASSERT_EQ(output.chunks.size(), 2u);
    EXPECT_EQ(output.chunks[1].offsetMs - output.chunks[0].offsetMs, 300);

    output = phone.receive("AT+SYNCSTOP\r");
    ASSERT_EQ(output.chunks.size(), 2u);
    EXPECT_EQ(output.chunks[0].bytes, QByteArray("\r\nO"));
    EXPECT_EQ(output.chunks[1].offsetMs - output.chunks[0].offsetMs, 50);

    output = phone.receive("at+cpbr=1,10\r");
    ASSERT_TRUE(output.stream);
    EXPECT_EQ(output.stream->periodMs, 40);
    EXPECT_EQ(output.stream->line, QByteArray("+CPBR: 1\r\n"));
    EXPECT_TRUE(output.chunks.empty());

    output = phone.receive("ATE1\r");
    ASSERT_TRUE(output.closeAtMs);
    EXPECT_EQ(*output.closeAtMs, Phone::kDefaultLatencyMs);

    // A list's body and RING come at once, its final result late.
    phone.state().handset.entries[1] = {.name = QStringLiteral("A"), .mobile = QStringLiteral("123")};
    phone.clearFaults();
    phone.injectFault("AT+CPBR=*", Fault::lateFinal(2500));
    output = phone.receive("AT+CPBR=1,10\r");
    ASSERT_EQ(output.chunks.size(), 2u);
    EXPECT_TRUE(output.chunks[0].bytes.contains("+CPBR: 1,"));
    EXPECT_TRUE(output.chunks[0].bytes.endsWith("\r\nRING\r\n"));
    EXPECT_EQ(output.chunks[1].bytes, QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(output.chunks[1].offsetMs - output.chunks[0].offsetMs, 2500);

    // Lines amid a list come between its first two entries.
    phone.state().handset.entries[3] = {.name = QStringLiteral("C"), .mobile = QStringLiteral("456")};
    phone.clearFaults();
    phone.injectFault("AT+CPBR=*", Fault::amid("+CMTI: \"SM\",5\r\n"));
    const QList<QByteArray> lines = bytesOf(phone.receive("AT+CPBR=1,10\r")).split('\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[1].startsWith("+CPBR: 1,"));
    EXPECT_EQ(lines[2], QByteArray("+CMTI: \"SM\",5\r"));
    EXPECT_TRUE(lines[3].startsWith("+CPBR: 3,"));
}

} // namespace
