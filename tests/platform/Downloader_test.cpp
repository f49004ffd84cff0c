#include "platform/Downloader.h"
#include "tests/support/SupportPrinters.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qpn {
namespace {

// Answers every request with one canned response, then hangs up.
class CannedServer
{
public:
    explicit CannedServer(QByteArray response) : m_response(std::move(response))
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket *socket = m_server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                m_request += socket->readAll();
                if (!m_request.contains("\r\n\r\n"))
                    return;
                socket->write(m_response);
                socket->flush();
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path));
    }
    QByteArray request() const { return m_request; }

private:
    QTcpServer m_server;
    QByteArray m_response;
    QByteArray m_request;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(Downloader, WritesTheFileOnlyWhenTheWholeBodyArrived)
{
    struct Case
    {
        const char *name;
        QByteArray response;
        bool ok;
    };
    const Case cases[] = {
        {"whole body", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nMZnew", true},
        {"no length, closed at end", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nMZnew", true},
        {"cut short", "HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\nMZn", false},
        {"not found", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("dload"));
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();

        CannedServer server(c.response);
        Downloader downloader;
        EXPECT_EQ(downloader.download(server.url(QStringLiteral("dload.exe")), target), c.ok);
        EXPECT_EQ(readFile(target), c.ok ? QByteArray("MZnew") : QByteArray("old"));
        EXPECT_TRUE(server.request().startsWith("GET /dload.exe "));
        EXPECT_EQ(downloader.errorString().isEmpty(), c.ok);
    }
}

TEST(Downloader, UnreachableSiteAndBadAddressAnswerNoAndWriteNothing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("tool"));
    quint16 freePort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        freePort = probe.serverPort();
    }
    Downloader downloader;
    EXPECT_FALSE(downloader.download(QUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(freePort)), target));
    EXPECT_FALSE(downloader.download(QUrl(QStringLiteral("no address")), target));
    EXPECT_FALSE(QFile::exists(target));
}

} // namespace
} // namespace qpn
