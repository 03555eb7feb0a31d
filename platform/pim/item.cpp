#include "platform/pim/item.h"

#include "platform/folders.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"
#include "platform/pim/store.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace pim {

Item::Item(QString folderPath, QString path, QString entryId)
    : m_folder(std::move(folderPath)), m_path(std::move(path)), m_entryId(std::move(entryId))
{
}

bool Item::Save(Error* error)
{
    if (m_deleted)
        return Fail(error, ErrorCode::ItemDeleted, QStringLiteral("The item has been deleted"));
    QString uid = m_entryId;
    if (uid.isEmpty()) {
        // Kept across a failed write, so that a retry writes the same item.
        if (m_pendingUid.isEmpty())
            m_pendingUid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        uid = m_pendingUid;
    }
    QByteArray bytes;
    if (!Serialize(uid, bytes, error))
        return false;
    const QString path = m_path.isEmpty() ? m_folder + u'/' + Store::FileNameFor(uid, Extension()) : m_path;
    QString why;
    if (!platform::WriteFileAtomically(path, bytes, &why))
        return Fail(error, ErrorCode::WriteFailed, QStringLiteral("Cannot write %1: %2").arg(path, why));
    m_path = path;
    m_entryId = uid;
    Saved();
    return true;
}

bool Item::Delete(Error* error)
{
    if (m_deleted)
        return Fail(error, ErrorCode::ItemDeleted, QStringLiteral("The item has been deleted"));
    if (m_path.isEmpty())
        return Fail(error, ErrorCode::NotFound, QStringLiteral("The item has never been saved"));
    if (::unlink(QFile::encodeName(m_path).constData()) != 0) {
        const int code = errno;
        if (code == ENOENT) {
            m_deleted = true;
            return Fail(error, ErrorCode::NotFound, QStringLiteral("The item no longer exists"));
        }
        return Fail(error, ErrorCode::WriteFailed,
                    QStringLiteral("Cannot delete %1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(code))));
    }
    m_deleted = true;
    return true;
}

std::unique_ptr<Item> Item::Load(OlDefaultFolders folder, const QString& path, Error* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(error, ErrorCode::ReadFailed, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    const QString folderPath = QFileInfo(path).absolutePath();
    std::unique_ptr<Item> item;
    switch (folder) {
    case olFolderContacts:
        item = ContactItem::FromFile(folderPath, path, bytes);
        break;
    case olFolderCalendar:
        item = AppointmentItem::FromFile(folderPath, path, bytes);
        break;
    case olFolderNotes:
        item = NoteItem::FromFile(folderPath, path, bytes);
        break;
    }
    if (!item)
        Fail(error, ErrorCode::ReadFailed, QStringLiteral("%1 holds no item of its folder's kind").arg(path));
    return item;
}

} // namespace pim
