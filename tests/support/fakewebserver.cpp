#include "fakewebserver.h"

#include <QNetworkInterface>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace quillon::test {

FakeWebServer::FakeWebServer(Handler handler, QObject *parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
    if (!m_handler)
        m_handler = [this](const QString &host, const QString &path, int nth) {
            const QList<FakeAnswer> answers = m_scripts.value(host + path);
            return answers.isEmpty() ? FakeAnswer{404}
                                     : answers.at(std::min(nth, int(answers.size()) - 1));
        };
    m_clock.start();
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection())
            serve(socket);
    });
    m_server.listen(QHostAddress::LocalHost);
}

QString FakeWebServer::proxyAddress() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void FakeWebServer::script(const QString &hostAndPath, QList<FakeAnswer> answers)
{
    m_scripts.insert(hostAndPath, std::move(answers));
}

qint64 FakeWebServer::shortestGapMs(const QString &host) const
{
    const QList<qint64> starts = m_starts.value(host);
    qint64 shortest = -1;
    for (qsizetype i = 1; i < starts.size(); ++i)
        if (shortest < 0 || starts[i] - starts[i - 1] < shortest)
            shortest = starts[i] - starts[i - 1];
    return shortest;
}

void FakeWebServer::serve(QTcpSocket *socket)
{
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (socket->property("answered").toBool())
            return;
        QByteArray head = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", head);
        if (!head.contains("\r\n\r\n"))
            return;
        socket->setProperty("answered", true);
        const QList<QByteArray> lines = head.left(head.indexOf("\r\n\r\n")).split('\n');
        const QUrl target = QUrl::fromEncoded(lines.first().split(' ').value(1));
        QString host = target.host();
        for (const QByteArray &line : lines) {
            const QByteArray name = line.left(line.indexOf(':')).trimmed().toLower();
            const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
            if (name == "host" && host.isEmpty())
                host = QString::fromLatin1(
                    value.left(value.lastIndexOf(':') > 0 ? value.lastIndexOf(':') : value.size()));
            if (name == "user-agent")
                m_lastUserAgent = value;
        }
        const QString path = target.path().isEmpty() ? QStringLiteral("/") : target.path();
        const int nth = m_counts[host + path]++;
        ++m_total;
        m_starts[host].append(m_clock.elapsed());
        m_mostAtOnce[host] = std::max(m_mostAtOnce.value(host), ++m_atOnce[host]);
        connect(socket, &QTcpSocket::disconnected, this, [this, host] { --m_atOnce[host]; });
        const FakeAnswer reply = m_handler(host, path, nth);
        QTimer::singleShot(reply.delayMs, socket,
                           [this, socket, host, reply] { answer(socket, host, reply); });
    });
}

void FakeWebServer::answer(QTcpSocket *socket, const QString &, const FakeAnswer &answer)
{
    switch (answer.kind) {
    case FakeAnswer::Kind::Silent:
        return;
    case FakeAnswer::Kind::Reset:
        socket->abort();
        return;
    case FakeAnswer::Kind::Whole:
    case FakeAnswer::Kind::EndlessBody:
        break;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(answer.status) + " Scripted\r\n";
    for (const auto &[name, value] : answer.headers)
        out += name + ": " + value + "\r\n";
    if (answer.kind == FakeAnswer::Kind::Whole)
        out += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n" + answer.body;
    socket->write(out);
    if (answer.kind == FakeAnswer::Kind::Whole) {
        socket->disconnectFromHost();
        return;
    }
    // A body that never ends: more whenever the last part is out, until the client leaves.
    const QByteArray chunk(16 * 1024, 'x');
    connect(socket, &QTcpSocket::bytesWritten, socket, [socket, chunk] {
        if (socket->bytesToWrite() == 0)
            socket->write(chunk);
    });
    socket->write(chunk);
}

bool onlyLoopbackNetwork()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    return !interfaces.isEmpty() &&
           std::all_of(interfaces.begin(), interfaces.end(), [](const QNetworkInterface &i) {
               return i.flags().testFlag(QNetworkInterface::IsLoopBack) &&
                      i.flags().testFlag(QNetworkInterface::IsUp);
           });
}

} // namespace quillon::test
