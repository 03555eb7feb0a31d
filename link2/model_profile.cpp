#include "link2/model_profile.h"

#include "platform/archive.h"

namespace dh2 {

GroupTable g_arrGroups;

CModelProfile::CModelProfile()
    : ModelFeatures(FlagsOf(TypeCorvo))
{
}

ModelFeatures CModelProfile::FlagsOf(int type)
{
    switch (type) {
    case TypePilla: return {.base64Fax = true, .nameCappedAt20 = true, .syncCharset = true};
    case TypeTondav:
        return {.base64Fax = true, .pairedBookEntries = true, .plusForDoubleZero = true, .nameCappedAt20 = true,
            .pduMessages = true, .syncCharset = true};
    case TypeCorvo: return {.callerGroups = true, .plusForDoubleZero = true, .pduMessages = true};
    case TypeCorvoS2: return {.callerGroups = true, .nameCappedAt20 = true, .pduMessages = true};
    case TypeSarno: return {.base64Fax = true, .nameCappedAt20 = true, .pduMessages = true, .syncCharset = true};
    default: return {.base64Fax = true, .plusForDoubleZero = true, .nameCappedAt20 = true, .syncCharset = true};
    }
}

void CModelProfile::SetModel(int type)
{
    m_nType = type;
    static_cast<ModelFeatures&>(*this) = FlagsOf(type);
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
