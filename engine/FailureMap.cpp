#include "engine/FailureMap.h"

#include "engine/EngineFunctions.h"
#include "engine/EngineText.h"

#include <sqlite3.h>

namespace qpn::engine {

EngineError MapFailure(const DbFailure &failure, const QString &table)
{
    const QString mark = QString::fromUtf8(EngineTextMark);
    const qsizetype at = failure.message().indexOf(mark);
    if (at >= 0)
        return EngineError(failure.message().mid(at + mark.size()));
    switch (failure.code()) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return EngineError(EngineMessage(text::DuplicateKey, {PrimaryIndexName(), table}));
    case SQLITE_IOERR_READ:
    case SQLITE_IOERR_SHORT_READ:
        return EngineError(EngineMessage(text::ReadError, {table}));
    case SQLITE_IOERR_WRITE:
    case SQLITE_IOERR_FSYNC:
    case SQLITE_IOERR_TRUNCATE:
        return EngineError(EngineMessage(text::WriteError, {table}));
    default: break;
    }
    switch (failure.primaryCode()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError(EngineMessage(text::TableLocked, {table}));
    case SQLITE_NOTADB:
        return EngineError(EngineMessage(text::HeaderCorrupt, {table}));
    case SQLITE_CORRUPT:
        return EngineError(EngineMessage(text::DataCorrupt, {table}));
    case SQLITE_FULL:
        return EngineError(EngineMessage(text::TableFull, {table}));
    case SQLITE_NOMEM:
        return EngineError(EngineMessage(text::NoMemory));
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
        return EngineError(EngineMessage(text::AccessDenied, {table}));
    case SQLITE_CANTOPEN:
        return EngineError(EngineMessage(text::TableMissing, {table}));
    case SQLITE_IOERR:
        return EngineError(EngineMessage(text::UnknownOsError, {QString::number(failure.code()), table}));
    case SQLITE_TOOBIG:
        return EngineError(EngineMessage(text::SizeExceeded, {table}));
    default:
        return EngineError(EngineMessage(text::SqlError, {failure.message()}));
    }
}

} // namespace qpn::engine
