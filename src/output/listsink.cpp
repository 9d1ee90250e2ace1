#include "output/listsink.h"

#include <QIODevice>

namespace quillon {

void ListSink::writePending()
{
    // A device may take fewer bytes than offered (a pipe, a nearly full disk): go on with the
    // rest until all is written or the device reports an error.
    qsizetype done = 0;
    while (!m_failed && done < m_pending.size()) {
        const qint64 taken = m_device.write(m_pending.constData() + done, m_pending.size() - done);
        if (taken <= 0) {
            m_failed = true;
            m_error = m_device.errorString();
        } else {
            done += qsizetype(taken);
        }
    }
    m_pending.clear();
}

bool ListSink::finish(QString *errorText)
{
    writePending();
    if (m_failed && errorText)
        *errorText = m_error;
    return !m_failed;
}

} // namespace quillon
