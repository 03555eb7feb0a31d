#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <vector>

class CArchive;

namespace dh2 {

// Which model of the second family the program serves, and the eight features that set apart
// the forms and commands. The session sets it from the phone's identification and the data
// file restores it; whoever shows the model (the main frame's title) listens to modelChanged.
class CModelProfile : public QObject {
    Q_OBJECT
public:
    // Types 0 and 4 come only from data files; 3 also stands for an unknown phone.
    enum Type { TypePilla = 0, TypeTondav = 1, TypeCorvo = 2, TypeCorvoS2 = 3, TypeSarno = 4 };

    // Type 2 with its flags.
    CModelProfile();

    // Stores the type and sets the flags to its row; any type outside 0-4 gets the row of an
    // unknown model. Always signals, so that a title shows the model even when it is unchanged.
    void SetModel(int type);
    int GetModel() const { return m_nType; }

    // The flags of a type, f0 first.
    static std::array<bool, 8> FlagsOf(int type);
    std::array<bool, 8> Flags() const { return {f0, f1, f2, f3, f4, f5, f6, f7}; }

    bool f0 = false; // caller groups: read from the phone, a group field in handset entries
    bool f1 = false; // a handset entry's fax field is Base64 text
    bool f2 = false; // each phonebook entry comes as a pair of lines, the second one counts
    bool f3 = false; // read by the contact dialog
    bool f4 = false; // the handset name limit is capped at 20
    bool f5 = false; // the handset limits come from the SIM book
    bool f6 = false; // read by the document's message read
    bool f7 = false; // message listings switch to "SYNC" first

signals:
    void modelChanged(int type);

private:
    void ApplyFlags(int type);

    int m_nType = TypeCorvo;
};

// The program's one profile.
CModelProfile& ModelProfile();

// One caller group of the phone; the data file keeps its name alone.
class CGroupEntry {
public:
    CGroupEntry() = default;
    CGroupEntry(QString name, int members, int capacity)
        : m_strName(std::move(name)), m_nMembers(members), m_nCapacity(capacity)
    {
    }
    virtual ~CGroupEntry() = default;
    CGroupEntry(const CGroupEntry&) = default;
    CGroupEntry& operator=(const CGroupEntry&) = default;

    virtual void Serialize(CArchive& ar);

    QString m_strName;
    int m_nMembers = 0;
    int m_nCapacity = 0; // 0 when unknown (the defaults)
};

// The caller-group table; a contact's m_nGroup is a position in it.
using GroupTable = std::vector<CGroupEntry>;
extern GroupTable g_arrGroups;

// The table's number of positions that a contact can name: 0-7.
inline constexpr int kGroupCount = 8;

// The name at a position of the table, "No group" for any position outside it.
QString GetGroupName(int index);
// The eight default groups, each with no members and an unknown capacity.
void ResetDefaultGroups();
GroupTable DefaultGroups();

} // namespace dh2
