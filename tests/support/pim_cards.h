#pragma once

// Contact cards in a PIM store of a test's own, for the documents of both programs to import.
#include "support/temp_folder.h"

#include <QList>

#include <gtest/gtest.h>

#include <functional>
#include <type_traits>
#include <vector>

namespace testsupport {

// Writes a card "Contact i" for the i-th TEL value (escaped as in the file) into a fresh PIM
// store and has import read it, DESKHAND_PIM_DIR naming the store meanwhile; import's answer.
inline bool ImportCellCards(const QList<QByteArray>& tels, const std::function<bool()>& import)
{
    TempFolder store;
    for (qsizetype i = 0; i < tels.size(); ++i) {
        const QByteArray n = QByteArray::number(i);
        if (!store.write(QStringLiteral("contacts/%1.vcf").arg(i), "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:c" + n
                             + "\r\nFN:Contact " + n + "\r\nTEL;TYPE=CELL:" + tels[i] + "\r\nEND:VCARD\r\n")) {
            ADD_FAILURE() << "cannot write card " << i;
            return false;
        }
    }
    const QByteArray old = qgetenv("DESKHAND_PIM_DIR");
    const bool had = qEnvironmentVariableIsSet("DESKHAND_PIM_DIR");
    qputenv("DESKHAND_PIM_DIR", store.path().toUtf8());
    const bool imported = import();
    if (had)
        qputenv("DESKHAND_PIM_DIR", old);
    else
        qunsetenv("DESKHAND_PIM_DIR");
    return imported;
}

// Copies of the records named "Contact 0", "Contact 1", ... "Contact count-1", in that order.
template <typename Records>
auto InCardOrder(const Records& records, qsizetype count)
{
    std::vector<std::remove_cvref_t<decltype(*records.front())>> found;
    for (qsizetype i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Contact %1").arg(i);
        for (const auto& record : records) {
            if (record->m_strName == name)
                found.push_back(*record);
        }
    }
    return found;
}

} // namespace testsupport
