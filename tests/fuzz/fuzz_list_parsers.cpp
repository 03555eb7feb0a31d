// Feeds arbitrary replies to the session's list parsers and the reply rules under them. The
// first byte picks the parser, the rest is the reply as the transport would hand it over.
// Must never crash; every record must come from a line, and GetReplyLine must agree with the
// one-pass segmentation.
#include "link/phone_session.h"
#include "link/reply_parser.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

template <typename Record, typename Parse>
void parseList(CPhoneSession& session, Parse parse)
{
    RecordList<Record> list;
    const bool ok = parse(list);
    check(ok || session.m_nResult == SESSION_BAD_LINE || session.m_nResult == SESSION_BAD_REPLY);
    for (const auto& record : list)
        check(record != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int which = data[0] % 8;
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    CPhoneSession session;
    session.m_strReply = reply;
    session.m_nResult = 1;
    switch (which) {
    case 0:
        parseList<CPhoneEntry>(session, [&](auto& list) { return session.ParseHandsetBookReply(list); });
        break;
    case 1:
        parseList<CPhoneEntry>(session, [&](auto& list) { return session.ParseSimBookReply(list); });
        break;
    case 2:
        parseList<CScheduleEntry>(session, [&](auto& list) { return session.ParseScheduleReply(list); });
        break;
    case 3:
        parseList<CMemoEntry>(session, [&](auto& list) { return session.ParseMemoReply(list); });
        break;
    case 4:
        parseList<CSmsEntry>(session, [&](auto& list) { return session.ParseMessageList(list, 4); });
        break;
    case 5: {
        const QStringList segments = ReplySegments(reply, QStringLiteral("+CPBR"));
        for (int n = 0; n <= segments.size() && n < 64; ++n) {
            QString out;
            const bool found = GetReplyLine(out, reply, n, QStringLiteral("+CPBR"));
            check(found == (n < segments.size()));
            check(!found || out == segments[n]);
        }
        break;
    }
    case 6: {
        const QString trimmed = TrimListReply(reply);
        check(trimmed.size() <= reply.size());
        if (const auto range = ParseIndexRange(trimmed))
            check(range->first >= 0 && range->first <= range->last);
        NumberField(trimmed, 1);
        break;
    }
    default:
        ReplyIndexField(reply);
        CScheduleEntry schedule;
        schedule.m_dtStart.m_dt = double(size % 100000) - 1000.0;
        session.BuildScheduleWrite(schedule);
        break;
    }
    return 0;
}
