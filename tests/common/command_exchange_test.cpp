// The steps of the send-and-collect loop, each on its own, over a serial line to a phone whose
// replies are scripted, on the virtual clock.
#include "common/command_exchange.h"

#include "common/serial_line.h"
#include "support/simulated_line_fixture.h"

#include <functional>
#include <optional>
#include <vector>

namespace {

using common::CollectOutcome;
using common::CollectTiming;
using common::CommandExchange;
using common::ReplyState;
using phonesim::Fault;

constexpr int kWriteFailed = 3;
constexpr int kRefused = 21;

// A family's policy reduced to a script: the codes its checks answer and a judge that takes a
// reply ending in OK for complete and one holding RING for a call.
class ScriptedPolicy final : public common::ICollectPolicy {
public:
    int BeforeWrite() override { return beforeWrite; }
    int Write(common::CSerialLine& line, const QByteArray& command) override
    {
        ++writes;
        return line.Write(command.constData(), int(command.size())) ? 0 : kWriteFailed;
    }
    int CheckAbort() override { return ++abortChecks == abortAtCheck ? kRefused : 0; }
    CollectTiming Timing() const override { return timing; }
    ReplyState Judge(const QByteArray& reply, bool quiet) override
    {
        judged.push_back(quiet);
        if (reply.endsWith("OK\r\n") || (quiet && reply.endsWith("OK")))
            return ReplyState::Answered;
        return reply.contains("RING") ? ReplyState::PendingAfterRing : ReplyState::Pending;
    }

    CollectTiming timing;
    int beforeWrite = 0;
    int abortAtCheck = 0; // the check (1, 2, ...) that answers kRefused
    int writes = 0;
    int abortChecks = 0;
    std::vector<bool> judged; // the quiet flag of every question to the judge
};

class CommandExchangeTest : public SimulatedLineTest {
protected:
    CommandExchangeTest()
    {
        phone.state().echo = false;
        policy.timing.afterReopenMs = 300;
    }
    void SetUp() override { ASSERT_TRUE(line->Open(1, 57600, 'N', 8, 1, 9)); }

    static common::SerialLineTraits Traits()
    {
        return {[](int nPort) { return QStringLiteral("Port %1 is busy").arg(nPort); }, 0};
    }

    const QByteArray command {"AT+X\r"};
    std::unique_ptr<common::CSerialLine> line = std::make_unique<common::CSerialLine>(Traits());
    ScriptedPolicy policy;
};

// The send: the check before the write, the write, one reopen of a device that went away under
// the open port, and the pause after the write.
TEST_F(CommandExchangeTest, Send)
{
    const struct {
        const char* name;
        std::function<void()> setUp;
        bool goesOn;
        CollectOutcome::End end;
        int code;
        int policyWrites;
        int lineWrites;
        int reopens;
        qint64 elapsed;
    } cases[] = {
        {"written", [] {}, true, CollectOutcome::NoLine, 0, 1, 1, 0, 50},
        {"refused before the write", [this] { policy.beforeWrite = 25; }, false, CollectOutcome::Refused, 25,
         0, 0, 0, 0},
        {"refused by the driver: no reopen", [this] { lines.failNextWrites(1); }, false,
         CollectOutcome::Refused, kWriteFailed, 1, 0, 0, 0},
        {"the device went away: opened again, written anew after its quiet", [this] { lines.pullCable(); },
         true, CollectOutcome::NoLine, 0, 2, 1, 1, 300 + 50},
        {"opened again once only", [this] {
             lines.pullCable();
             lines.failNextWrites(1);
         },
         false, CollectOutcome::Refused, kWriteFailed, 2, 0, 1, 300},
        {"the device does not come back", [this] {
             lines.pullCable();
             lines.setHeldElsewhere(true);
         },
         false, CollectOutcome::Refused, kWriteFailed, 1, 0, 0, 0},
        {"no line", [this] { line.reset(); }, false, CollectOutcome::NoLine, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lines.setHeldElsewhere(false);
        line = std::make_unique<common::CSerialLine>(Traits());
        ASSERT_TRUE(line->Open(1, 57600, 'N', 8, 1, 9));
        policy = ScriptedPolicy();
        policy.timing.afterReopenMs = 300;
        lines.clearWrites();
        const qsizetype opens = lines.openedPaths().size();
        c.setUp();

        CommandExchange exchange(line, command, policy);
        const qint64 start = now();
        EXPECT_EQ(exchange.Send(), c.goesOn);
        EXPECT_EQ(now() - start, c.elapsed);
        EXPECT_EQ(exchange.Outcome().end, c.end);
        EXPECT_EQ(exchange.Outcome().code, c.code);
        EXPECT_EQ(exchange.Outcome().written, c.goesOn);
        EXPECT_EQ(policy.writes, c.policyWrites);
        EXPECT_EQ(lines.writes().size(), size_t(c.lineWrites));
        EXPECT_EQ(lines.openedPaths().size() - opens, c.reopens);
    }
    // The one box: the device that did not come back.
    EXPECT_EQ(ui().boxTexts(), QStringList {QStringLiteral("Port 1 is busy")});
}

// One read pass while waiting: a pause of its own, then a poll of the line that gathers until
// the line is quiet; an abort drops what that poll brough
TEST_F(CommandExchangeTest, ReadPass)
{
    const struct {
        const char* name;
        std::function<void()> setUp;
        bool goesOn;
        CollectOutcome::End end;
        int count;
        QByteArray reply;
        qint64 elapsed;
    } cases[] = {
        {"a reply", [this] { phone.injectFault("AT+X", Fault::reply("\r\nOK\r\n"), 1); }, true,
         CollectOutcome::NoLine, 6, "\r\nOK\r\n", 20 + 100 + 100},
        {"a quiet line", [this] { phone.injectFault("AT+X", Fault::silence(), 1); }, true,
         CollectOutcome::NoLine, 0, "", 20 + 100},
        {"an abort", [this] {
             phone.injectFault("AT+X", Fault::reply("\r\nOK\r\n"), 1);
             policy.abortAtCheck = 1;
         },
         false, CollectOutcome::Refused, 6, "", 20 + 100 + 100},
        {"beyond the reply's limit", [this] {
             phone.injectFault("AT+X", Fault::reply("\r\nOK\r\n"), 1);
             policy.timing.maxReplyBytes = 5;
         },
         false, CollectOutcome::Overflow, 6, "", 20 + 100 + 100},
        {"the line died", [this] { phone.injectFault("AT+X", Fault::closeLine(), 1); }, false,
         CollectOutcome::ReadFailed, 0, "", 20 + 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        policy = ScriptedPolicy();
        c.setUp();
        CommandExchange exchange(line, command, policy);
        ASSERT_TRUE(exchange.Send());
        const qint64 start = now();
        int count = -1;
        EXPECT_EQ(exchange.ReadPass(count), c.goesOn);
        EXPECT_EQ(now() - start, c.elapsed);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(exchange.Outcome().end, c.end);
        EXPECT_EQ(exchange.Outcome().reply, c.reply);
        ASSERT_TRUE(line->Open(1, 57600, 'N', 8, 1, 9));
    }

    // An abort handler may close the line: the next pass finds none.
    CommandExchange exchange(line, command, policy);
    ASSERT_TRUE(exchange.Send());
    line.reset();
    int count = -1;
    EXPECT_FALSE(exchange.ReadPass(count));
    EXPECT_EQ(exchange.Outcome().end, CollectOutcome::NoLine);
}

// A command sent without waiting: one pause, an abort only where the family honours one there,
// and one poll of the line whose bytes go nowhere.
TEST_F(CommandExchangeTest, PollOnce)
{
    const struct {
        const char* name;
        bool abortWithoutWait;
        int abortAtCheck;
        std::optional<Fault> fault;
        CollectOutcome::End end;
        qint64 elapsed;
    } cases[] = {
        {"a quiet line", false, 0, Fault::silence(), CollectOutcome::Sent, 20 + 100},
        {"an answer is read and dropped", false, 0, Fault::reply("\r\nOK\r\n"), CollectOutcome::Sent, 20 + 200},
        {"an abort the family does not look at", false, 1, Fault::silence(), CollectOutcome::Sent, 20 + 100},
        {"an abort the family honours", true, 1, Fault::silence(), CollectOutcome::Refused, 20},
        {"no abort pressed", true, 0, Fault::silence(), CollectOutcome::Sent, 20 + 100},
        {"the line died", false, 0, Fault::closeLine(), CollectOutcome::ReadFailed, 20 + 100},
        {"the line went away", false, 0, std::nullopt, CollectOutcome::NoLine, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(line->Open(1, 57600, 'N', 8, 1, 9));
        policy = ScriptedPolicy();
        policy.timing.abortWithoutWait = c.abortWithoutWait;
        policy.abortAtCheck = c.abortAtCheck;
        if (c.fault)
            phone.injectFault("AT+X", *c.fault, 1);
        CommandExchange exchange(line, command, policy);
        ASSERT_TRUE(exchange.Send());
        std::unique_ptr<common::CSerialLine> away;
        if (!c.fault)
            away = std::move(line);
        const qint64 start = now();
        exchange.PollOnce();
        EXPECT_EQ(now() - start, c.elapsed);
        EXPECT_EQ(exchange.Outcome().end, c.end);
        EXPECT_EQ(exchange.Outcome().code, c.end == CollectOutcome::Refused ? kRefused : 0);
        EXPECT_EQ(policy.abortChecks, c.abortWithoutWait ? 1 : 0);
        EXPECT_TRUE(exchange.Outcome().reply.isEmpty());
        EXPECT_TRUE(exchange.Outcome().written);
        if (!line)
            line = std::move(away);
    }
}

// The judge is asked whenever bytes came, and once more when the pass after a full read (one
// that stopped at kReadStopBytes) finds the line quiet; its quiet flag says whether the read
// stopped shor
TEST(ReplyJudge, WhenTheJudgeIsAsked)
{
    constexpr int full = common::CSerialLine::kReadStopBytes;
    const struct {
        std::vector<int> counts;
        std::vector<bool> asked;
    } cases[] = {
        {{0, 0}, {}},
        {{5}, {true}},
        {{full - 1, 0}, {true}},
        {{full}, {false}},
        {{full + 87, 0, 0}, {false, true}},
        {{full, full, 0, 0}, {false, false, true}},
        {{full, 3, 0}, {false, true}},
    };
    for (const auto& c : cases) {
        ScriptedPolicy policy;
        common::ReplyJudge judge;
        QByteArray reply;
        for (const int count : c.counts) {
            reply.append(QByteArray(count, 'x'));
            EXPECT_EQ(judge.AfterPass(policy, reply, count), ReplyState::Pending);
        }
        EXPECT_EQ(policy.judged, c.asked) << c.counts.size();
    }
}

struct Pass {
    qint64 atMs;
    bool piece;
    ReplyState state = ReplyState::Pending;
};

// The silence limit runs from the first quiet pass (stopped again by bytes), or from the
// command's start and from every piece; in whole seconds. The whole wait is cut off at the
// limit times the factor. The wait starts at 100, the command at 0.
TEST(TimeLimits, WhenTheWaitIsOver)
{
    const struct {
        const char* name;
        int limitSec;
        bool fromCommandStart;
        int factor;
        std::vector<Pass> passes;
        std::optional<qint64> overAt;
    } cases[] = {
        {"from the first quiet pass", 1, false, 10, {{200, false}, {700, false}, {1199, false}, {1200, false}},
         1200},
        {"from the command's start", 1, true, 10, {{200, false}, {999, false}, {1000, false}}, 1000},
        {"bytes stop it until the next quiet pass", 1, false, 10,
         {{200, false}, {500, true}, {900, false}, {1800, false}, {1900, false}}, 1900},
        {"bytes start it anew", 1, true, 10, {{500, true}, {1499, false}, {1500, false}}, 1500},
        {"a piece on the pass the limit ends does not end it", 1, true, 10, {{1000, true}, {1900, false}}, std::nullopt},
        {"a talking phone is cut off", 1, false, 3, {{300, true}, {1100, true}, {2000, true}, {3100, true}}, 3100},
        {"also on a quiet pass", 2, false, 1, {{1000, true}, {1500, false}, {2099, false}, {2100, false}}, 2100},
    };
    for (const auto& c : cases) {
        CollectTiming timing;
        timing.silenceLimitSec = c.limitSec;
        timing.silenceFromCommandStart = c.fromCommandStart;
        timing.commandLimitFactor = c.factor;
        common::TimeLimits limits(timing, 0, 100);
        std::optional<qint64> overAt;
        for (const Pass& pass : c.passes) {
            if (limits.Over(pass.atMs, pass.piece)) {
                overAt = pass.atMs;
                break;
            }
        }
        EXPECT_EQ(overAt, c.overAt) << c.name;
    }
}

// After a call came in, the quiet since the last bytes ends the command; the quiet is never
// longer than the silence limi The wait starts at 0.
TEST(RingQuiet, WhenTheCallEndsTheCommand)
{
    constexpr ReplyState ring = ReplyState::PendingAfterRing;
    const struct {
        const char* name;
        int quietMs;
        int limitSec;
        std::vector<Pass> passes;
        std::optional<qint64> overAt;
    } cases[] = {
        {"no call", 1000, 10, {{100, true}, {5000, false}}, std::nullopt},
        {"quiet after the call", 1000, 10, {{100, true}, {200, true, ring}, {1199, false}, {1200, false}}, 1200},
        {"bytes after the call put it off", 1000, 10,
         {{200, true, ring}, {900, true}, {1899, false}, {1900, false}}, 1900},
        {"no longer than the silence limit", 5000, 2, {{200, true, ring}, {2199, false}, {2200, false}}, 2200},
    };
    for (const auto& c : cases) {
        CollectTiming timing;
        timing.quietAfterRingMs = c.quietMs;
        timing.silenceLimitSec = c.limitSec;
        common::RingQuiet quiet(timing, 0);
        std::optional<qint64> overAt;
        for (const Pass& pass : c.passes) {
            if (quiet.Over(pass.state, pass.atMs, pass.piece)) {
                overAt = pass.atMs;
                break;
            }
        }
        EXPECT_EQ(overAt, c.overAt) << c.name;
    }
}

// The steps together: how a command ends and when. Passes take 20 ms and one poll of 100 ms
// while the line is quiet, 200 ms when a reply comes.
TEST_F(CommandExchangeTest, HowAndWhenACommandEnds)
{
    const struct {
        const char* name;
        Fault fault;
        bool fromCommandStart;
        CollectOutcome::End end;
        qint64 elapsed;
    } cases[] = {
        {"answered", Fault::reply("\r\nOK\r\n"), false, CollectOutcome::Answered, 50 + 20 + 200},
        {"a final result without its line end", Fault::reply("\r\nOK"), false, CollectOutcome::Answered, 50 + 20 + 200},
        // The first quiet pass ends at 170 and starts the silence; passes of 120 ms follow.
        {"silence from the first quiet pass", Fault::silence(), false, CollectOutcome::Timeout, 170 + 9 * 120},
        {"silence from the command's start", Fault::silence(), true, CollectOutcome::Timeout, 170 + 7 * 120},
        {"a call and no answer", Fault::pieces({{20, "\r\nRING\r\n"}}), false, CollectOutcome::RingUnanswered,
         270 + 9 * 120},
        {"a call, then the answer", Fault::pieces({{20, "\r\nRING\r\n"}, {700, "\r\nOK\r\n"}}), false,
         CollectOutcome::Answered, 270 + 4 * 120 + 100},
        // 100 bytes every 50 ms from the command on: the first pass reads 600 bytes in two polls,
        // every later one in three; the pass that ends past 2 s of waiting ends it.
        {"a phone that never stops", Fault::stream(QByteArray(98, 'x') + "\r\n", 50), false,
         CollectOutcome::Timeout, 270 + 6 * 320},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(line->Open(1, 57600, 'N', 8, 1, 9));
        policy = ScriptedPolicy();
        policy.timing.silenceLimitSec = 1;
        policy.timing.commandLimitFactor = 2;
        policy.timing.silenceFromCommandStart = c.fromCommandStart;
        phone.injectFault("AT+X", c.fault, 1);
        const qint64 start = now();
        const CollectOutcome outcome = common::SendAndCollect(line, command, true, policy);
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(now() - start, c.elapsed);
        EXPECT_TRUE(outcome.written);
    }
}

} // namespace
