#include "platform/Downloader.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

#include <memory>

namespace qpn {

bool Downloader::download(const QUrl &url, const QString &filePath)
{
    m_error.clear();
    if (!url.isValid() || url.isRelative()) {
        m_error = QStringLiteral("invalid address: ") + url.toString();
        return false;
    }
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(m_idleTimeoutMs);
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));

    bool writeFailed = false;
    qint64 received = 0;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), [&] {
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (!writeFailed && file.write(chunk) != chunk.size())
            writeFailed = true;
    });
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const QByteArray rest = reply->readAll();
    received += rest.size();
    if (!writeFailed && file.write(rest) != rest.size())
        writeFailed = true;

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool compressed = !reply->rawHeader("Content-Encoding").isEmpty();
    if (reply->error() != QNetworkReply::NoError)
        m_error = reply->errorString();
    else if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299))
        m_error = QStringLiteral("HTTP status %1").arg(status.toInt());
    else if (announced.isValid() && !compressed && announced.toLongLong() != received)
        m_error = QStringLiteral("incomplete body: %1 of %2 bytes").arg(received).arg(announced.toLongLong());
    else if (writeFailed)
        m_error = file.errorString();
    if (!m_error.isEmpty()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

} // namespace qpn
