#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <vector>

class CArchive;

namespace dh2 {

// The features that set the models of the second family apart, by flag index: a row of seven
// bools ({flag 0, ..., flag 7} without flag 5) fills them in this order. Flag 5, the handset
// book's limits read from the SIM book, is set by no model and has no member.
struct ModelFeatures {
    bool callerGroups = false;      // flag 0: the group table is read from the phone, handset
                                    // entries carry a group field, a full group stops a write
    bool base64Fax = false;         // flag 1: a handset entry's fax field is Base64 text
    bool pairedBookEntries = false; // flag 2: each entry of a "+CPBR:" list takes two segments, the second counts
    bool plusForDoubleZero = false; // flag 3: the contact dialog's OK writes a leading "00" as "+"
    bool nameCappedAt20 = false;    // flag 4: the handset book's name limit is at most 20
    bool pduMessages = false;       // flag 6: messages are read in PDU mode, else in text mode
    bool syncCharset = false;       // flag 7: message listings switch the character set to "SYNC" first

    bool operator==(const ModelFeatures&) const = default;
};

// Each feature's name, as the member's and as the JSON member's, in flag order.
struct ModelFeatureName {
    const char* name;
    bool ModelFeatures::*member;
};
inline constexpr std::array<ModelFeatureName, 7> kModelFeatureNames {{
    {"callerGroups", &ModelFeatures::callerGroups},
    {"base64Fax", &ModelFeatures::base64Fax},
    {"pairedBookEntries", &ModelFeatures::pairedBookEntries},
    {"plusForDoubleZero", &ModelFeatures::plusForDoubleZero},
    {"nameCappedAt20", &ModelFeatures::nameCappedAt20},
    {"pduMessages", &ModelFeatures::pduMessages},
    {"syncCharset", &ModelFeatures::syncCharset},
}};

// Which model of the second family the program serves, and its features, which set apart the
// forms and commands. The session sets it from the phone's identification and the data file
// restores it; whoever shows the model (the main frame's title) listens to modelChanged.
class CModelProfile : public QObject, public ModelFeatures {
    Q_OBJECT
public:
    // Types 0 and 4 come only from data files; 3 also stands for an unknown phone.
    enum Type { TypePilla = 0, TypeTondav = 1, TypeCorvo = 2, TypeCorvoS2 = 3, TypeSarno = 4 };

    // Type 2 with its features.
    CModelProfile();

    // Stores the type and sets the features to its row; any type outside 0-4 gets the row of an
    // unknown model. Always signals, so that a title shows the model even when it is unchanged.
    void SetModel(int type);
    int GetModel() const { return m_nType; }

    // The features of a type: its row of the model table.
    static ModelFeatures FlagsOf(int type);
    const ModelFeatures& Features() const { return *this; }

signals:
    void modelChanged(int type);

private:
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
