#include "platform/pim/item.h"

#include "platform/folders.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"
#include "platform/pim/store.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace pim {

namespace {

QString kindOf(OlDefaultFolders folder)
{
    switch (folder) {
    case olFolderContacts:
        return QStringLiteral("VCARD");
    case olFolderCalendar:
        return QStringLiteral("VEVENT");
    case olFolderNotes:
        break;
    }
    return QStringLiteral("VJOURNAL");
}

std::unique_ptr<Item> makeItem(OlDefaultFolders folder, const QString& folderPath, const QString& path,
                               const ComponentFile& file, const ItemSpans& spans)
{
    switch (folder) {
    case olFolderContacts:
        return ContactItem::FromSpans(folderPath, path, file, spans);
    case olFolderCalendar:
        return AppointmentItem::FromSpans(folderPath, path, file, spans);
    case olFolderNotes:
        break;
    }
    return NoteItem::FromSpans(folderPath, path, file, spans);
}

// A file as it is now.
struct FileNow {
    QByteArray bytes;
    bool gone = false; // nothing at the path
    QString why;       // why it cannot be read; empty when it was read
};

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

FileNow readNow(const QString& path)
{
    FileNow now;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        now.gone = errno == ENOENT;
        now.why = systemError(errno);
        return now;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            now.bytes.append(buffer, qsizetype(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            now.why = systemError(errno);
            break;
        }
    }
    ::close(fd);
    return now;
}

// What a change makes of its file, worked out before anything is written.
struct Outcome {
    QString path;
    QByteArray bytes;
    bool remove = false;      // nothing but time zones is left: the file goes
    std::vector<size_t> kept; // where the changed file's spans that stay now stand, by span
    QByteArray before;        // the file as it was, put back when a later write of the change fails
    bool existed = false;
};

// The change applied to the file as it is now, its components found by their keys wherever they
// stand. A file that is gone takes the change as read when fallBackToAsRead (the item's own file
// is written anew); otherwise outcome.path stays empty (nothing of it is left to change). A file
// that cannot be read, or no longer holds every component of the change, refuses it with its
// reason: what is there now is never written over with a copy of what was there before.
bool applyNow(const ComponentFile& asRead, const std::vector<size_t>& spans,
              const std::vector<std::pair<size_t, QByteArray>>& texts, const QString& path, Outcome& outcome,
              bool fallBackToAsRead, Error* error)
{
    const FileNow read = readNow(path);
    const ComponentFile now(read.bytes);
    // A link at the name to something else (planted, or its target gone) is no file of the store:
    // the write replaces the link itself and leaves what it points to as it is.
    const bool gone = read.gone || (QFileInfo(path).isSymLink() && (!read.why.isEmpty() || !now.HoldsContent()));
    if (gone && !fallBackToAsRead)
        return true;
    if (!gone && !read.why.isEmpty())
        return Fail(error, ErrorCode::ReadFailed, QStringLiteral("Cannot read %1: %2").arg(path, read.why));
    const auto changed = [&] {
        return Fail(error, ErrorCode::InvalidArgument,
                    QStringLiteral("%1 was changed by another program since the item was read; read it again").arg(path));
    };
    const ComponentFile* base = &asRead;
    std::vector<size_t> located = spans;
    if (!gone) {
        if (!now.HoldsContent())
            return changed();
        base = &now;
        for (size_t& index : located) {
            const std::optional<size_t> at = now.Find(asRead.Spans()[index].key);
            if (!at)
                return changed();
            index = *at;
        }
    }
    std::vector<std::pair<size_t, QByteArray>> edits;
    QSet<size_t> removed;
    for (const auto& [index, text] : texts) {
        const size_t at = located[size_t(std::find(spans.begin(), spans.end(), index) - spans.begin())];
        // What did not change is not written, so that nothing of it changes.
        if (text == asRead.SpanText(index))
            continue;
        edits.emplace_back(at, text);
        if (text.isEmpty())
            removed.insert(at);
    }
    outcome.path = path;
    outcome.bytes = base->Replaced(edits);
    outcome.before = read.bytes;
    outcome.existed = !gone;
    const ComponentFile written(outcome.bytes);
    // Each new text must read back as one component, or the file's other components would move.
    if (written.Spans().size() + size_t(removed.size()) != base->Spans().size())
        return Fail(error, ErrorCode::InvalidArgument, QStringLiteral("%1 cannot be changed safely").arg(path));
    outcome.remove = !written.HoldsContent();
    outcome.kept.clear();
    for (size_t at : located) {
        if (removed.contains(at))
            continue;
        size_t before = 0;
        for (size_t gone : removed)
            before += gone < at ? 1 : 0;
        outcome.kept.push_back(at - before);
    }
    return true;
}

bool writeOutcome(const Outcome& outcome, Error* error)
{
    if (outcome.remove) {
        if (::unlink(QFile::encodeName(outcome.path).constData()) != 0 && errno != ENOENT)
            return Fail(error, ErrorCode::WriteFailed,
                        QStringLiteral("Cannot delete %1: %2").arg(outcome.path, systemError(errno)));
        return true;
    }
    QString why;
    if (!platform::WriteFileAtomically(outcome.path, outcome.bytes, &why))
        return Fail(error, ErrorCode::WriteFailed, QStringLiteral("Cannot write %1: %2").arg(outcome.path, why));
    return true;
}

// Writes the outcomes in their order (those without a path have nothing to write). When one
// fails, the files already written are put back as they were: a retry then plans the whole
// change again against the files it was made for, and moves nothing twice.
bool writeAll(const std::vector<const Outcome*>& outcomes, Error* error)
{
    for (size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i]->path.isEmpty() || writeOutcome(*outcomes[i], error))
            continue;
        QStringList notRestored;
        for (size_t j = i; j-- > 0;) {
            const Outcome& done = *outcomes[j];
            if (done.path.isEmpty())
                continue;
            const bool restored = done.existed ? platform::WriteFileAtomically(done.path, done.before)
                                               : ::unlink(QFile::encodeName(done.path).constData()) == 0 || errno == ENOENT;
            if (!restored)
                notRestored.push_back(done.path);
        }
        if (error && !notRestored.isEmpty())
            error->description += QStringLiteral("; %1 could not be put back as it was").arg(notRestored.join(u", "));
        return false;
    }
    return true;
}

// EntryID parts: the characters that separate them, and control characters, are escaped.
QString escapePart(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c == u'%' || c == u'#' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
        else
            out += c;
    }
    return out;
}

} // namespace

Item::Item(QString folderPath) : m_folder(std::move(folderPath)) {}

Item::Item(QString folderPath, QString path, ComponentFile file, std::vector<size_t> spans, bool occurrence)
    : m_folder(std::move(folderPath)),
      m_path(std::move(path)),
      m_file(std::move(file)),
      m_spans(std::move(spans)),
      m_occurrence(occurrence)
{
    m_entryId = Key();
}

QString Item::Key() const
{
    if (m_spans.empty())
        return m_entryId;
    const QString uid = m_file.Spans()[m_spans.front()].key.uid;
    return uid.isEmpty() ? QFileInfo(m_path).completeBaseName() : uid;
}

QString Item::QualifiedEntryID() const
{
    if (m_spans.empty())
        return m_entryId;
    const ComponentKey& key = m_file.Spans()[m_spans.front()].key;
    QString id = escapePart(QFileInfo(m_path).fileName()) + u'#' + escapePart(key.uid);
    if (!key.recurrenceId.isEmpty())
        id += QStringLiteral("#r=") + escapePart(key.recurrenceId);
    if (key.ordinal > 1)
        id += QStringLiteral("#n=%1").arg(key.ordinal);
    return id;
}

QString Item::uidToAdd() const
{
    const ComponentKey& key = m_file.Spans()[m_spans.front()].key;
    if (!key.uid.isEmpty() || m_entryId != Key())
        return {};
    // Only when no other component of the file would take the same UID.
    for (const ComponentSpan& span : m_file.Spans()) {
        if (span.key.kind == key.kind && span.key.uid.isEmpty() && !(span.key == key))
            return {};
    }
    return Key();
}

bool Item::OtherFileChanges(bool, std::vector<FileChange>&, Error*)
{
    return true;
}

bool Item::planSave(std::vector<FileChange>& changes, Error* error)
{
    std::vector<QByteArray> texts;
    if (!SerializeSpans(uidToAdd(), texts, error))
        return false;
    FileChange own{m_path, m_file, {}};
    for (size_t i = 0; i < m_spans.size() && i < texts.size(); ++i)
        own.texts.emplace_back(m_spans[i], texts[i]);
    changes.push_back(std::move(own));
    return OtherFileChanges(false, changes, error);
}

bool Item::Save(Error* error)
{
    if (m_deleted)
        return Fail(error, ErrorCode::ItemDeleted, QStringLiteral("The item has been deleted"));
    if (m_path.isEmpty()) {
        // Kept across a failed write, so that a retry writes the same item.
        if (m_pendingUid.isEmpty())
            m_pendingUid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        QByteArray bytes;
        if (!SerializeNew(m_pendingUid, bytes, error))
            return false;
        const QString path = m_folder + u'/' + Store::FileNameFor(m_pendingUid, Extension());
        QString why;
        if (!platform::WriteFileAtomically(path, bytes, &why))
            return Fail(error, ErrorCode::WriteFailed, QStringLiteral("Cannot write %1: %2").arg(path, why));
        m_path = path;
        m_entryId = m_pendingUid;
        m_file = ComponentFile(bytes);
        const QString kind = m_file.Spans().empty() ? QString() : m_file.Spans().front().key.kind;
        const std::vector<ItemSpans> items = m_file.Items(kind);
        m_spans = items.empty() ? std::vector<size_t>{} : items.front().spans;
        Saved();
        return true;
    }

    std::vector<FileChange> changes;
    if (!planSave(changes, error))
        return false;
    // Every file's change is worked out before any is written: one that cannot be made refuses
    // the whole save.
    std::vector<Outcome> outcomes(changes.size());
    for (size_t i = 0; i < changes.size(); ++i) {
        const FileChange& change = changes[i];
        const bool own = i == 0;
        std::vector<size_t> spans;
        for (const auto& text : change.texts)
            spans.push_back(text.first);
        if (!applyNow(change.asRead, own ? m_spans : spans, change.texts, change.path, outcomes[i], own, error))
            return false;
    }
    // The item's own file last, and the item takes its new state only once every file is written:
    // until then a retry makes the same change again.
    std::vector<const Outcome*> order;
    for (size_t i = 1; i < outcomes.size(); ++i)
        order.push_back(&outcomes[i]);
    order.push_back(&outcomes[0]);
    if (!writeAll(order, error))
        return false;
    m_file = ComponentFile(outcomes[0].bytes);
    m_spans = outcomes[0].kept;
    Saved();
    return true;
}

bool Item::Delete(Error* error)
{
    if (m_deleted)
        return Fail(error, ErrorCode::ItemDeleted, QStringLiteral("The item has been deleted"));
    if (m_path.isEmpty())
        return Fail(error, ErrorCode::NotFound, QStringLiteral("The item has never been saved"));
    const FileNow read = readNow(m_path);
    if (!read.gone && !read.why.isEmpty())
        return Fail(error, ErrorCode::ReadFailed, QStringLiteral("Cannot read %1: %2").arg(m_path, read.why));
    const ComponentFile now(read.bytes);
    if (read.gone || !now.Find(m_file.Spans()[m_spans.front()].key)) {
        m_deleted = true;
        return Fail(error, ErrorCode::NotFound, QStringLiteral("The item no longer exists"));
    }
    // The item's components that are still there go; the file goes when nothing else is left.
    std::vector<size_t> present;
    std::vector<std::pair<size_t, QByteArray>> texts;
    for (size_t index : m_spans) {
        if (now.Find(m_file.Spans()[index].key)) {
            present.push_back(index);
            texts.emplace_back(index, QByteArray());
        }
    }
    std::vector<FileChange> changes;
    if (!OtherFileChanges(true, changes, error))
        return false;
    Outcome own;
    if (!applyNow(m_file, present, texts, m_path, own, false, error))
        return false;
    if (own.path.isEmpty()) { // gone since
        m_deleted = true;
        return Fail(error, ErrorCode::NotFound, QStringLiteral("The item no longer exists"));
    }
    std::vector<Outcome> others(changes.size());
    for (size_t i = 0; i < changes.size(); ++i) {
        std::vector<size_t> spans;
        for (const auto& text : changes[i].texts)
            spans.push_back(text.first);
        if (!applyNow(changes[i].asRead, spans, changes[i].texts, changes[i].path, others[i], false, error))
            return false;
    }
    // As a save: the other files first, the item's own last, and deleted only once all are written.
    std::vector<const Outcome*> order;
    for (const Outcome& outcome : others)
        order.push_back(&outcome);
    order.push_back(&own);
    if (!writeAll(order, error))
        return false;
    m_deleted = true;
    return true;
}

std::vector<std::unique_ptr<Item>> Item::LoadAll(OlDefaultFolders folder, const QString& path, Error* error)
{
    std::vector<std::unique_ptr<Item>> items;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(error, ErrorCode::ReadFailed, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        return items;
    }
    const ComponentFile components(file.readAll());
    const QString folderPath = QFileInfo(path).absolutePath();
    QSet<QString> named;
    for (const ItemSpans& spans : components.Items(kindOf(folder))) {
        std::unique_ptr<Item> item = makeItem(folder, folderPath, path, components, spans);
        if (!item)
            continue;
        // The first item of a key in the file is named by it; later ones by file and component.
        if (named.contains(item->Key()))
            item->m_entryId = item->QualifiedEntryID();
        named.insert(item->Key());
        items.push_back(std::move(item));
    }
    if (items.empty())
        Fail(error, ErrorCode::ReadFailed, QStringLiteral("%1 holds no item of its folder's kind").arg(path));
    return items;
}

} // namespace pim
