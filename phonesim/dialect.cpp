#include "phonesim/dialect.h"

namespace phonesim {

void Dialect::add(const QByteArray& name, Handler handler)
{
    m_handlers[name] = std::move(handler);
}

bool Dialect::handles(const QByteArray& name) const
{
    return m_handlers.count(name) != 0;
}

Response Dialect::dispatch(const AtCommand& command, PhoneState& state) const
{
    if (!command.valid || (m_maxCommandLength > 0 && command.text.size() > m_maxCommandLength))
        return Response::error();
    const auto handler = m_handlers.find(command.name);
    if (handler == m_handlers.end())
        return Response::error();
    return handler->second(command, state);
}

void Dialect::powerOn(PhoneState& state) const
{
    if (m_powerOn)
        m_powerOn(state);
}

std::optional<Response> Dialect::finishPrompt(const QByteArray& text, PhoneState& state) const
{
    if (!m_promptHandler)
        return std::nullopt;
    return m_promptHandler(text, state);
}

std::unique_ptr<Dialect> MakeDialect(int number)
{
    if (number == 2)
        return MakeDialect2(2);
    if (number != 1)
        return nullptr;
    auto dialect = std::make_unique<Dialect>(1);
    AddDialect1SessionCommands(*dialect);
    AddDialect1PhonebookCommands(*dialect);
    AddDialect1OrganizerCommands(*dialect);
    AddDialect1MessageCommands(*dialect);
    return dialect;
}

} // namespace phonesim
