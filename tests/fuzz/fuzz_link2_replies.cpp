// Feeds arbitrary replies to the second family's classification and list parsers. The first byte
// chooses the layout of phonebook lines (groups, Base64 fax, pairs) and the piece size; the rest
// is the reply. Must never crash; the classification must not depend on how the reply came in
// pieces; what the parsers take must make records whose write commands stay one command.
#include "link2/model_profile.h"
#include "link2/phone_session.h"
#include "link2/reply_classifier.h"
#include "link2/reply_parser.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace dh2;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool same(const ReplyClass& a, const ReplyClass& b)
{
    return a.result == b.result && a.end == b.end && a.cutEcho == b.cutEcho;
}

void ClassifyInPieces(const QByteArray& reply, qsizetype step, bool messageText)
{
    CReplyClassifier classifier(messageText);
    for (qsizetype length = 0;; length = std::min(length + step, reply.size())) {
        const QByteArray prefix = reply.left(length);
        CReplyClassifier quiet = classifier;
        check(same(quiet.Classify(prefix, true), ClassifyReply(prefix, messageText, true)));
        const ReplyClass piecewise = classifier.Classify(prefix);
        check(same(piecewise, ClassifyReply(prefix, messageText)));
        check(piecewise.end >= 0 && piecewise.end <= prefix.size());
        if (piecewise.result != AT_PENDING || length == reply.size())
            break;
    }
}

// A write command is one line: the only CR ends it, and no plain field carries a terminator.
void CheckCommand(const QByteArray& command)
{
    check(command.isEmpty() || (command.endsWith('\r') && command.count('\r') == 1));
    check(!command.contains('\x1a') && !command.contains('\x1b') && !command.contains('\0'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const BookFormat format {bool(data[0] & 1), bool(data[0] & 2), bool(data[0] & 4)};
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    ClassifyInPieces(bytes, 1 + (data[0] >> 3), data[0] & 1);
    const QString reply = QString::fromLatin1(bytes);

    static CPhoneSession session;
    ModelProfile().SetModel(format.groups ? CModelProfile::TypeCorvo : CModelProfile::TypeTondav);
    ResetDefaultGroups();
    for (const bool sim : {false, true}) {
        RecordList<CPhoneEntry> list;
        ParseBookReply(reply, sim, format, list);
        for (const auto& entry : list) {
            check(entry->m_nList == (sim ? 4 : 3));
            CheckCommand(sim ? session.BuildSimWrite(*entry) : session.BuildHandsetWrite(*entry));
        }
    }
    const BookLimits limits = ParseBookLimits(reply);
    check(!limits.numberLimit || *limits.numberLimit > 0);
    check(!limits.nameLimit || *limits.nameLimit > 0);
    ParseGroupRange(reply);
    if (const std::optional<GroupTable> groups = ParseGroupList(reply))
        check(groups->size() <= size_t(reply.size()));

    RecordList<CScheduleEntry> schedules;
    ParseScheduleReply(reply, schedules, [] {});
    for (const auto& entry : schedules) {
        check(entry->m_nAlarm >= 0 && entry->m_nAlarm <= 5);
        CheckCommand(session.BuildScheduleWrite(*entry));
    }
    return 0;
}
