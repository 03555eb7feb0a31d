#include "phonesim/output_queue.h"

#include <gtest/gtest.h>

namespace {

using phonesim::Output;
using phonesim::OutputQueue;
using phonesim::StreamSpec;

Output chunks(std::initializer_list<phonesim::TimedBytes> list)
{
    Output output;
    output.chunks = list;
    return output;
}

TEST(OutputQueue, BytesArriveAtTheirTime)
{
    OutputQueue queue;
    queue.add(1000, chunks({{0, "AT\r"}, {20, "\r\nOK\r\n"}}));
    EXPECT_EQ(queue.due(999), 0);
    EXPECT_EQ(queue.due(1000), 3);
    EXPECT_EQ(queue.nextEventMs(1000), 1020);
    EXPECT_EQ(queue.take(1010, 2), QByteArray("AT"));
    EXPECT_EQ(queue.due(1010), 1);
    EXPECT_EQ(queue.take(1030, 100), QByteArray("\r\r\nOK\r\n"));
    EXPECT_EQ(queue.due(5000), 0);
    EXPECT_FALSE(queue.nextEventMs(5000));
}

TEST(OutputQueue, PurgeDiscardsOnlyWhatHasArrived)
{
    OutputQueue queue;
    queue.add(0, chunks({{10, "early"}, {500, "late"}}));
    queue.discardDue(100);
    EXPECT_EQ(queue.due(100), 0);
    EXPECT_EQ(queue.take(600, 100), QByteArray("late"));
}

TEST(OutputQueue, StreamRunsUntilTheNextCommand)
{
    OutputQueue queue;
    Output streaming;
    streaming.stream = StreamSpec {20, 50, "line\r\n"};
    queue.add(0, streaming);
    EXPECT_EQ(queue.due(19), 0);
    EXPECT_EQ(queue.due(20), 6);
    EXPECT_EQ(queue.due(120), 18);
    EXPECT_EQ(queue.nextEventMs(120), 170);
    EXPECT_EQ(queue.take(120, 8), QByteArray("line\r\nli"));
    // Unread, only the last receiver's worth stays.
    EXPECT_EQ(queue.due(1'000'020), OutputQueue::kReceiveQueueBytes);
    queue.discardDue(200);
    EXPECT_EQ(queue.due(200), 0);

    // A command ends the stream; what was sent by then stays, its answer follows.
    Output answer = chunks({{20, "\r\nOK\r\n"}});
    answer.stopsStream = true;
    queue.add(230, answer);
    EXPECT_EQ(queue.take(10'000, 100), QByteArray("line\r\n\r\nOK\r\n"));
    EXPECT_EQ(queue.due(20'000), 0);
}

// A stream goes no faster than the line carries it, and a receiver nobody reads keeps only its
// last bytes: a stream left running never floods a later session.
TEST(OutputQueue, AStreamIsPacedToTheLineAndOverrunsItsReceiver)
{
    OutputQueue queue; // 57600 baud
    Output streaming;
    streaming.stream = StreamSpec {0, 1, QByteArray(98, 'x') + "\r\n"};
    queue.add(0, streaming);
    // 100 bytes take 18 ms at 57600 baud, ten bits a byte.
    EXPECT_EQ(queue.due(17), 100);
    EXPECT_EQ(queue.due(18), 200);
    EXPECT_EQ(queue.take(1000, 1 << 20).size(), OutputQueue::kReceiveQueueBytes);

    // An hour unread, then the next command: one receiver's worth, then its answer.
    Output answer = chunks({{20, "\r\nOK\r\n"}});
    answer.stopsStream = true;
    queue.add(3'600'000, answer);
    const QByteArray rest = queue.take(3'700'000, 1 << 24);
    EXPECT_EQ(rest.size(), OutputQueue::kReceiveQueueBytes + 6);
    EXPECT_TRUE(rest.endsWith("x\r\n\r\nOK\r\n"));
}

TEST(OutputQueue, ClosedLine)
{
    OutputQueue queue;
    Output closing;
    closing.closeAtMs = 20;
    queue.add(100, closing);
    EXPECT_FALSE(queue.isClosed(119));
    EXPECT_TRUE(queue.isClosed(120));
    EXPECT_EQ(queue.nextEventMs(100), 120);
    queue.clear();
    EXPECT_FALSE(queue.isClosed(200));
}

} // namespace
