#pragma once

#include <QString>

#include <exception>

namespace qpn::engine {

// A failed SQLite call, before it is turned into one of the engine's texts by
// the layer that knows which table was involved (see MapDbFailure).
class DbFailure : public std::exception
{
public:
    DbFailure(int code, const QString &message)
        : m_code(code), m_message(message), m_bytes(message.toUtf8()) {}
    int code() const { return m_code; }          // extended result code
    int primaryCode() const { return m_code & 0xff; }
    QString message() const { return m_message; }
    const char *what() const noexcept override { return m_bytes.constData(); }

private:
    int m_code;
    QString m_message;
    QByteArray m_bytes;
};

} // namespace qpn::engine
