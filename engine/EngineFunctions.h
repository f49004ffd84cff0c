#pragma once

struct sqlite3;

namespace qpn::engine {

// Marks an error text raised by the engine's own SQL functions, so that it
// reaches the user as it stands rather than behind "SQL error - ".
inline constexpr const char *EngineTextMark = "qpn: ";

// Registers the functions the tables' checking triggers call (qpn_checking, qpn_check).
// While *trusted is true the checks are skipped.
void RegisterEngineFunctions(sqlite3 *db, const bool *trusted = nullptr);

} // namespace qpn::engine
