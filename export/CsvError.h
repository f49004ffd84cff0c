#pragma once

#include <QString>

#include <stdexcept>

namespace qpn {

// A failure of a CSV export or import, with a message for the user that names
// the file line and the column where it can.
class CsvError : public std::runtime_error
{
public:
    explicit CsvError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace qpn
