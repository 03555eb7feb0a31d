#include "link2/model_profile.h"

#include "platform/archive.h"

namespace dh2 {

GroupTable g_arrGroups;

CModelProfile::CModelProfile()
{
    ApplyFlags(m_nType);
}

void CModelProfile::ApplyFlags(int type)
{
    const std::array<bool, 8> flags = FlagsOf(type);
    f0 = flags[0], f1 = flags[1], f2 = flags[2], f3 = flags[3];
    f4 = flags[4], f5 = flags[5], f6 = flags[6], f7 = flags[7];
}

std::array<bool, 8> CModelProfile::FlagsOf(int type)
{
    switch (type) {
    case TypePilla: return {false, true, false, false, true, false, false, true};
    case TypeTondav: return {false, true, true, true, true, false, true, true};
    case TypeCorvo: return {true, false, false, true, false, false, true, false};
    case TypeCorvoS2: return {true, false, false, false, true, false, true, false};
    case TypeSarno: return {false, true, false, false, true, false, true, true};
    default: return {false, true, false, true, true, false, false, true};
    }
}

void CModelProfile::SetModel(int type)
{
    m_nType = type;
    ApplyFlags(type);
    emit modelChanged(type);
}

CModelProfile& ModelProfile()
{
    static CModelProfile profile;
    return profile;
}

void CGroupEntry::Serialize(CArchive& ar)
{
    SerializeFields(ar, m_strName);
}

QString GetGroupName(int index)
{
    if (index >= 0 && index < int(g_arrGroups.size()))
        return g_arrGroups[size_t(index)].m_strName;
    return QStringLiteral("No group");
}

GroupTable DefaultGroups()
{
    GroupTable groups;
    for (const char* name : {"Family", "Friends", "Colleague", "VIP", "Group1", "Group2", "Others", "No group"})
        groups.emplace_back(QString::fromLatin1(name), 0, 0);
    return groups;
}

void ResetDefaultGroups()
{
    g_arrGroups = DefaultGroups();
}

} // namespace dh2
