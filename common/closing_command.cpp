#include "common/closing_command.h"

namespace common {

namespace {

// The transport's policy with its abort checks left out.
class ClosingPolicy final : public ICollectPolicy {
public:
    explicit ClosingPolicy(ICollectPolicy& policy) : m_policy(policy) {}

    int BeforeWrite() override { return 0; }
    int Write(CSerialLine& line, const QByteArray& command) override { return m_policy.Write(line, command); }
    int CheckAbort() override { return 0; }
    CollectTiming Timing() const override
    {
        CollectTiming timing = m_policy.Timing();
        timing.abortWithoutWait = false;
        return timing;
    }
    ReplyState Judge(const QByteArray& reply, bool quiet) override { return m_policy.Judge(reply, quiet); }

private:
    ICollectPolicy& m_policy;
};

} // namespace

CollectOutcome SendClosingCommand(std::unique_ptr<CSerialLine>& line, const QByteArray& command, ICollectPolicy& policy)
{
    ClosingPolicy closing(policy);
    return SendAndCollect(line, command, false, closing);
}

} // namespace common
