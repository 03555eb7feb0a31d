#include "docshared/pim_baseline.h"

#include "platform/archive.h"
#include "support/killed_save.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using docshared::CPimBaseline;
using docshared::PimAppointmentValues;
using docshared::PimContactValues;
using docshared::PimNoteValues;

TEST(PimBaseline, ReadsBackWhatItWroteAndNothingFromADamagedCopy)
{
    CPimBaseline baseline(QStringLiteral("pimbase.dat"));
    PimContactValues contact;
    contact.memo = QStringLiteral("王小明\r\nb");
    contact.fax = QStringLiteral("0309");
    baseline.Replace<PimContactValues>({{QStringLiteral("c1"), contact}});
    baseline.Remember(QStringLiteral("s1"), PimAppointmentValues {QStringLiteral("S"), COleDateTime(2004, 3, 7, 9, 0, 0), 2, 1},
                      QString());
    baseline.Remember(QStringLiteral("n2"), PimNoteValues {QStringLiteral("milk")}, QStringLiteral("n1"));
    const QByteArray bytes = baseline.ToBytes();

    CPimBaseline back(QStringLiteral("pimbase.dat"));
    ASSERT_TRUE(back.FromBytes(bytes));
    const PimContactValues* c1 = back.Find<PimContactValues>(QStringLiteral("c1"));
    const PimAppointmentValues* s1 = back.Find<PimAppointmentValues>(QStringLiteral("s1"));
    ASSERT_TRUE(c1 && s1 && back.Find<PimNoteValues>(QStringLiteral("n2")));
    EXPECT_EQ(c1->memo, contact.memo);
    EXPECT_EQ(c1->fax, contact.fax);
    EXPECT_EQ(s1->start, COleDateTime(2004, 3, 7, 9, 0, 0));
    EXPECT_EQ(s1->repeat, 2);
    EXPECT_EQ(s1->alarm, 1);
    // The kinds are apart: a contact's EntryID is no appointment's.
    EXPECT_FALSE(back.Find<PimAppointmentValues>(QStringLiteral("c1")));

    // Every cut, every flipped byte and anything appended: an empty baseline, never a wrong one.
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        QByteArray flipped = bytes;
        flipped[at] = char(flipped[at] ^ 0x20);
        EXPECT_FALSE(back.FromBytes(bytes.left(at))) << "cut at " << at;
        EXPECT_FALSE(back.FromBytes(flipped)) << "flipped at " << at;
    }
    EXPECT_FALSE(back.FromBytes(bytes + 'x'));
    EXPECT_TRUE(back.IsEmpty());
}

// Files written before contacts carried a fax still read.
TEST(PimBaseline, ReadsTheFilesOfEarlierVersions)
{
    CArchive ar;
    ar << quint32(0x42504844) << qint32(1);
    ar << qint32(1) << QStringLiteral("ann") << QStringLiteral("Ann") << QStringLiteral("0170") << QString()
       << QStringLiteral("030") << QStringLiteral("ann@x.org") << QStringLiteral("memo");
    ar << qint32(1) << QStringLiteral("e") << QStringLiteral("Dentist") << COleDateTime(2024, 1, 2, 10, 0, 0)
       << qint32(0) << qint32(2);
    ar << qint32(0);
    CPimBaseline baseline(QStringLiteral("pimbase.dat"));
    ASSERT_TRUE(baseline.FromBytes(ar.Data() + QCryptographicHash::hash(ar.Data(), QCryptographicHash::Sha1)));
    const PimContactValues* ann = baseline.Find<PimContactValues>(QStringLiteral("ann"));
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->home, QStringLiteral("030"));
    EXPECT_EQ(ann->memo, QStringLiteral("memo"));
    EXPECT_TRUE(ann->fax.isEmpty());
    ASSERT_TRUE(baseline.Find<PimAppointmentValues>(QStringLiteral("e")));
    EXPECT_EQ(baseline.Find<PimAppointmentValues>(QStringLiteral("e"))->alarm, 2);
}

// A disk that takes nothing more: the save fails with its reason and the file from before stays,
// since older values only make an update send more than was edited, while none would make it send
// everything. Nothing of the failed save is left beside it.
TEST(PimBaseline, AFailedSaveKeepsTheFileFromBeforeAndSaysWhy)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    CPimBaseline baseline(QStringLiteral("pimbase.dat"));
    baseline.Remember(QStringLiteral("n1"), PimNoteValues {QStringLiteral("milk")}, QString());
    QString error;
    ASSERT_TRUE(baseline.Save(folder, &error)) << error.toStdString();
    QFile file(folder + QStringLiteral("pimbase.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    baseline.Remember(QStringLiteral("n2"), PimNoteValues {QString(500, u'x')}, QString());
    {
        testsupport::ScopedFileSizeLimit full(16);
        EXPECT_FALSE(baseline.Save(folder, &error));
    }
    EXPECT_EQ(error, qt_error_string(EFBIG));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(testsupport::FolderEntries(dir.path()), QStringList {QStringLiteral("pimbase.dat")});
}

} // namespace
