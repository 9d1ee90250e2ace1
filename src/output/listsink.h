#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace quillon {

// Collects a list's bytes and hands them to a device a chunk at a time, so that writing a list
// holds one chunk of it in memory, not the whole file.
class ListSink {
public:
    explicit ListSink(QIODevice &device)
        : m_device(device)
    {}

    ListSink &operator+=(QByteArrayView bytes)
    {
        m_pending.append(bytes);
        return *this;
    }
    ListSink &operator+=(char c)
    {
        m_pending.append(c);
        return *this;
    }

    // For escapers that append in place.
    QByteArray &pending() { return m_pending; }

    // Hands the pending bytes on once a chunk has gathered; writers call it after each link.
    void endItem()
    {
        if (m_pending.size() >= ChunkSize)
            writePending();
    }

    // Writes what is left. False, with the device's error text, when any write failed.
    bool finish(QString *errorText);

private:
    static constexpr qsizetype ChunkSize = 64 * 1024;

    void writePending();

    QIODevice &m_device;
    QByteArray m_pending;
    bool m_failed = false; // after a failure later bytes are dropped
    QString m_error;
};

} // namespace quillon
