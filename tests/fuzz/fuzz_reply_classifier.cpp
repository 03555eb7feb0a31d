// Classifies arbitrary replies, whole and piece by piece. The first byte sets the piece size,
// the rest is the reply; its first line up to a CR stands for the command, so the echo path
// is taken too. Must never crash, and both ways must agree on every prefix, also when the
// line has gone quiet after it.
#include "link/reply_classifier.h"

#include <cstdint>
#include <cstdlib>

using namespace dh1;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool validResult(int result)
{
    switch (result) {
    case AT_PENDING: case AT_OK: case AT_PROMPT: case AT_ERROR: case AT_CME_ERROR: case AT_CME_INVALID_INDEX:
    case AT_CME_NOT_FOUND: case AT_CME_MEMORY_FULL: case AT_CME_TOO_LONG: case AT_CMS_ERROR: case AT_EXT_ERROR:
    case AT_RING:
        return true;
    default:
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype step = 1 + data[0] % 64;
    const QByteArray reply(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype cr = reply.indexOf('\r');
    const QByteArray command = cr >= 0 ? reply.left(cr + 1) : QByteArray("AT\r");

    const ReplyClass whole = ClassifyReply(reply);
    check(validResult(ResultCode(whole)));
    check(whole.end >= 0 && whole.end <= reply.size());
    check(ReplyText(reply, whole, command).size() <= reply.size());
    LastErrorCode(whole);

    CReplyClassifier classifier;
    for (qsizetype length = 0;; length = std::min(length + step, reply.size())) {
        const QByteArray prefix = reply.left(length);
        CReplyClassifier quiet = classifier;
        const ReplyClass quietPiecewise = quiet.Classify(prefix, true);
        const ReplyClass quietFresh = ClassifyReply(prefix, true);
        check(quietPiecewise.kind == quietFresh.kind && quietPiecewise.code == quietFresh.code
            && quietPiecewise.end == quietFresh.end && quietPiecewise.ring == quietFresh.ring);
        const ReplyClass piecewise = classifier.Classify(prefix);
        const ReplyClass fresh = ClassifyReply(prefix);
        check(piecewise.kind == fresh.kind && piecewise.code == fresh.code && piecewise.end == fresh.end
            && piecewise.ring == fresh.ring);
        check(ReplyText(prefix, piecewise, command).size() <= prefix.size());
        if (piecewise.kind != ReplyKind::Pending || length == reply.size())
            break;
    }
    return 0;
}
