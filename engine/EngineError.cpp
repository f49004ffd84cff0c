#include "engine/EngineError.h"

namespace qpn::engine {

EngineError::EngineError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

} // namespace qpn::engine
