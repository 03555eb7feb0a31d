#pragma once

// A simulated phone for the benchmarks, served on a pseudo-terminal from a thread of its own while
// the object lives, with DESKHAND_COM1 naming it: by default one of the first family with every
// handset index of 1..255 in use with typical entries.
#include "phonesim/dialect.h"
#include "phonesim/phone.h"
#include "phonesim/pty_server.h"

#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <memory>
#include <thread>

inline void FillHandsetBook(phonesim::Phone& phone)
{
    phone.setLatencyMs(20);
    for (int index = 1; index <= 255; ++index) {
        phonesim::BookEntry entry;
        entry.group = index % 7;
        entry.name = QStringLiteral("Contact %1").arg(index);
        entry.mobile = QStringLiteral("+49170%1").arg(1000000 + index);
        entry.office = QStringLiteral("030%1").arg(200000 + index);
        entry.email = QStringLiteral("c%1@example.org").arg(index);
        entry.memo = QStringLiteral("Met at the fair");
        phone.state().handset.entries[index] = entry;
    }
}

class ServedPhone {
public:
    ServedPhone() : ServedPhone(phonesim::MakeDialect(1), FillHandsetBook) {}
    ServedPhone(std::unique_ptr<phonesim::Dialect> dialect, const std::function<void(phonesim::Phone&)>& fill)
        : phone(std::move(dialect)), m_link(m_dir.filePath(QStringLiteral("com1"))), m_server(phone, m_link)
    {
        fill(phone);
    }
    ~ServedPhone()
    {
        m_stop = 1;
        if (m_serving.joinable())
            m_serving.join();
    }
    ServedPhone(const ServedPhone&) = delete;
    ServedPhone& operator=(const ServedPhone&) = delete;

    bool Start(QString* error)
    {
        if (!m_server.start(error))
            return false;
        m_serving = std::thread([this] { m_server.run(&m_stop); });
        qputenv("DESKHAND_COM1", m_link.toLocal8Bit());
        return true;
    }
    QString Folder() const { return m_dir.path(); }

    phonesim::Phone phone;

private:
    QTemporaryDir m_dir;
    QString m_link;
    phonesim::PtyServer m_server;
    volatile std::sig_atomic_t m_stop = 0;
    std::thread m_serving;
};
