#pragma once

#include "scan/filesystem.h"

#include <QRandomGenerator>

#include <chrono>
#include <thread>

namespace quillon::test {

// Another file system, with every listing, opening and read made to wait a random time, as on
// a network share: the walk then uses its threads, and their work ends in a shuffled order.
class SlowFileSystem final : public FileSystem {
public:
    SlowFileSystem(const FileSystem &inner, int concurrency, std::chrono::microseconds maxDelay)
        : m_inner(inner)
        , m_concurrency(concurrency)
        , m_maxDelay(maxDelay)
    {}

    QChar separator() const override { return m_inner.separator(); }
    bool isFolder(const QString &path) const override { return m_inner.isFolder(path); }
    int concurrency() const override { return m_concurrency; }
    std::optional<QList<DirEntry>> list(const QString &folder) const override
    {
        wait();
        return m_inner.list(folder);
    }
    std::optional<FileHead> readFile(const QString &path, qint64 maxBytes) const override
    {
        wait();
        return m_inner.readFile(path, maxBytes);
    }
    std::unique_ptr<OpenFolder> openFolder(const QString &folder) const override
    {
        wait();
        return wrap(m_inner.openFolder(folder));
    }

private:
    class Folder final : public OpenFolder {
    public:
        Folder(const SlowFileSystem &fs, std::unique_ptr<OpenFolder> inner)
            : m_fs(fs)
            , m_inner(std::move(inner))
        {}
        std::optional<QList<DirEntry>> list() const override
        {
            m_fs.wait();
            return m_inner->list();
        }
        std::unique_ptr<OpenFolder> openFolder(QStringView name) const override
        {
            m_fs.wait();
            return m_fs.wrap(m_inner->openFolder(name));
        }
        std::optional<FileHead> readFile(const DirEntry &entry, qint64 maxBytes,
                                         QByteArray &buffer) const override
        {
            m_fs.wait();
            return m_inner->readFile(entry, maxBytes, buffer);
        }

    private:
        const SlowFileSystem &m_fs;
        std::unique_ptr<OpenFolder> m_inner;
    };

    std::unique_ptr<OpenFolder> wrap(std::unique_ptr<OpenFolder> inner) const
    {
        if (!inner)
            return nullptr;
        return std::make_unique<Folder>(*this, std::move(inner));
    }

    void wait() const
    {
        std::this_thread::sleep_for(std::chrono::microseconds(
            QRandomGenerator::global()->bounded(qint64(m_maxDelay.count()) + 1)));
    }

    const FileSystem &m_inner;
    int m_concurrency;
    std::chrono::microseconds m_maxDelay;
};

} // namespace quillon::test
