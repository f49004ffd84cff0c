#pragma once

#include "engine/DbFailure.h"
#include "engine/EngineError.h"

namespace qpn::engine {

// The engine's text for a failed SQLite call on a table: locking, damage,
// disk and key faults get their own texts; the rest follows "SQL error - ".
EngineError MapFailure(const DbFailure &failure, const QString &table);

} // namespace qpn::engine
