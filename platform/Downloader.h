#pragma once

#include <QString>
#include <QUrl>

namespace qpn {

// Fetches one resource into a file, waiting until the transfer ends. The file
// is written only when the whole body arrived (a success status, no transfer
// error, and as many bytes as announced); otherwise an existing file stays as
// it was.
class Downloader
{
public:
    // A transfer that receives nothing for this long is given up.
    explicit Downloader(int idleTimeoutMs = 60000) : m_idleTimeoutMs(idleTimeoutMs) {}

    bool download(const QUrl &url, const QString &filePath);
    QString errorString() const { return m_error; }

private:
    int m_idleTimeoutMs;
    QString m_error;
};

} // namespace qpn
