#pragma once

#include <QString>

#include <stdexcept>

namespace qpn::engine {

// Every failure of the engine: the message is one of the engine's texts with the
// names filled in ("Table 'daicyoA' does not exist"), ready to show to the user.
class EngineError : public std::runtime_error
{
public:
    explicit EngineError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace qpn::engine
