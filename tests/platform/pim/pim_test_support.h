#pragma once

#include "platform/pim/application.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace pimtest {

inline QString FixturePath(const QString& relative)
{
    return QStringLiteral(PIM_FIXTURE_DIR) + relative;
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Local time for the scope: TZ set and the C library told.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_old;
};

// A logged-on store in a temporary folder.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/pim");
        m_app = std::make_unique<pim::Application>(m_root);
        m_ns = m_app->GetNamespace(QStringLiteral("MAPI"));
        ASSERT_TRUE(m_ns);
        ASSERT_TRUE(m_ns->Logon());
    }

    QString Folder(pim::OlDefaultFolders folder) const { return pim::Store(m_root).FolderPath(folder); }

    // Copies a fixture ("contacts/x.vcf") into the same folder of the store; returns its path.
    QString Put(const QString& fixture)
    {
        const QString target = m_root + u'/' + fixture;
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(FixturePath(fixture), target)) << fixture.toStdString();
        return target;
    }

    QString PutText(const QString& relative, const QByteArray& bytes)
    {
        const QString target = m_root + u'/' + relative;
        EXPECT_TRUE(WriteFile(target, bytes));
        return target;
    }

    template <class T>
    std::unique_ptr<T> Load(const QString& relative)
    {
        const pim::OlDefaultFolders folder = relative.startsWith(u"contacts") ? pim::olFolderContacts
                                             : relative.startsWith(u"notes")  ? pim::olFolderNotes
                                                                               : pim::olFolderCalendar;
        pim::Error error;
        auto items = pim::Item::LoadAll(folder, m_root + u'/' + relative, &error);
        auto item = items.empty() ? nullptr : pim::ItemCast<T>(std::move(items.front()));
        EXPECT_TRUE(item) << error.description.toStdString();
        return item;
    }

    template <class T>
    std::unique_ptr<T> Create(pim::OlItemType type)
    {
        return pim::ItemCast<T>(m_app->CreateItem(type));
    }

    template <class T>
    std::unique_ptr<T> Find(const QString& entryId)
    {
        return pim::ItemCast<T>(m_ns->GetItemFromID(entryId));
    }

    QTemporaryDir m_dir;
    QString m_root;
    std::unique_ptr<pim::Application> m_app;
    std::unique_ptr<pim::NameSpace> m_ns;
};

} // namespace pimtest
