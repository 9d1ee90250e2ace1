#pragma once

#include <QIODevice>

#include <algorithm>
#include <limits>

namespace quillon::test {

// A device that takes room bytes, at most perCall of them in one write, then refuses the next
// write the way a full disk does.
class FailingDevice final : public QIODevice {
public:
    explicit FailingDevice(qint64 room = 0, qint64 perCall = std::numeric_limits<qint64>::max())
        : m_room(room)
        , m_perCall(perCall)
    {
        open(WriteOnly);
    }

    // What the device took before it refused.
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override
    {
        if (m_room == 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 taken = std::min({len, m_room, m_perCall});
        written.append(data, taken);
        m_room -= taken;
        return taken;
    }

private:
    qint64 m_room;
    qint64 m_perCall;
};

} // namespace quillon::test
