#include "phonesim/dialect2_model.h"

#include "phonesim/dialect.h"

namespace phonesim {

namespace {

// The longest command line the phone takes, without its CR.
constexpr qsizetype kMaxCommandLength = 224;

const Model2 kModels[] = {
    {{"Zentra Electronics Inc.", "RK7-T GSM 900/1800"}, "+SINF: Tondav1, 2003/06/18", false, true, true},
    {{"Zentra Electronics Inc.", "RK8-C GSM 900/1800/1900"}, "+SINF: Zentra-Corvo v1.04, 2003/11/20", true, false, false},
    {{"Zentra Electronics Inc.", "RK8-C GSM 900/1800/1900"}, "+SINF: Zentra-Corvo v1.04.S2, 2004/02/09", true, false,
        false},
};

std::vector<CallerGroup> DefaultGroups(int model)
{
    if (model == 1)
        return {};
    std::vector<CallerGroup> groups = {{QStringLiteral("Family"), 20}, {QStringLiteral("Friends"), 20},
        {QStringLiteral("Work"), 20}, {QStringLiteral("VIP"), 10}, {QStringLiteral("Club"), 20},
        {QStringLiteral("School"), 20}, {QStringLiteral("Others"), 50}};
    if (model == 3)
        groups.push_back({QStringLiteral("No group"), 200});
    return groups;
}

} // namespace

bool IsDialect2Model(int model)
{
    return model >= 1 && model <= 3;
}

const Model2& Model2Of(const PhoneState& state)
{
    return kModels[IsDialect2Model(state.dialect2.model) ? state.dialect2.model - 1 : 1];
}

void ApplyLineStart(PhoneState& state)
{
    state.asleep = state.dialect2.lineStart.asleep;
    state.atPrompt = state.dialect2.lineStart.atPrompt;
    state.sleepAfterMs = state.dialect2.lineStart.sleepAfterMs;
}

void PowerOnDialect2(PhoneState& state, int model)
{
    state.charset = "GSM";
    Dialect2State& phone = state.dialect2;
    phone = Dialect2State {};
    phone.model = model;
    phone.handset.last = 200;
    phone.handset.nameLength = model == 1 ? 30 : model == 2 ? 20 : 24;
    phone.sim.last = model == 3 ? 250 : 100;
    phone.sim.nameLength = model == 3 ? 12 : 14;
    phone.groups = DefaultGroups(model);
    ApplyLineStart(state);
}

std::unique_ptr<Dialect> MakeDialect2(int model)
{
    if (!IsDialect2Model(model))
        return nullptr;
    auto dialect = std::make_unique<Dialect>(2);
    dialect->setMaxCommandLength(kMaxCommandLength);
    dialect->setPowerOn([model](PhoneState& state) { PowerOnDialect2(state, model); });
    AddDialect2SessionCommands(*dialect);
    AddDialect2PhonebookCommands(*dialect);
    AddDialect2OrganizerCommands(*dialect);
    AddDialect2MessageCommands(*dialect);
    return dialect;
}

} // namespace phonesim
