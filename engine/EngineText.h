#pragma once

#include <QString>
#include <QStringList>

namespace qpn::engine {

// The engine's message texts. Each %s is filled, in order, by EngineMessage.
namespace text {
inline constexpr const char *UnknownOsError = "An unknown operating system error %s occurred with the table '%s'";
inline constexpr const char *NoMemory = "There is insufficient operating system memory available for the current operation";
inline constexpr const char *TableMissing = "Table '%s' does not exist";
inline constexpr const char *AccessDenied = "Access denied to table '%s'";
inline constexpr const char *CannotDelete = "Cannot delete the table '%s'";
inline constexpr const char *InUse = "The table '%s' is already in use";
inline constexpr const char *ReadError = "Error reading from the table '%s'";
inline constexpr const char *WriteError = "Error writing to the table '%s'";
inline constexpr const char *TooManyFiles = "Too many operating system files open while attempting to open the table '%s'";
inline constexpr const char *HeaderCorrupt = "Header information corrupt in the table '%s'";
inline constexpr const char *DataCorrupt = "Data record buffers corrupt in the table '%s'";
inline constexpr const char *TableFull = "The table '%s' is full and cannot contain any more data";
inline constexpr const char *AlreadyExists = "The table '%s' already exists";
inline constexpr const char *TableLocked = "The table '%s' is already locked by another user";
inline constexpr const char *GeneralLock = "General lock failure with the table '%s'";
inline constexpr const char *CannotUnlock = "Cannot unlock table or record in the table '%s'";
inline constexpr const char *RecordInUse = "Record in the table '%s' is in use by another user";
inline constexpr const char *RecordChanged = "Record has been changed or deleted by another user, session, or table cursor in the table '%s'";
inline constexpr const char *DuplicateKey = "Duplicate key found in the index '%s' of the table '%s'";
inline constexpr const char *SizeExceeded = "Maximum or minimum limits on number of fields, auto-increment field value, or field size exceeded in the table '%s'";
inline constexpr const char *InvalidField = "Invalid field number or name '%s' specified for the table '%s'";
inline constexpr const char *ValueRequired = "A value must be provided for the field '%s' in the table '%s'";
inline constexpr const char *BelowMinimum = "The value for the field '%s' in the table '%s' is below the minimum allowable value";
inline constexpr const char *AboveMaximum = "The value for the field '%s' in the table '%s' is above the maximum allowable value";
inline constexpr const char *InvalidFieldDefinition = "Invalid field definition specified for the field '%s' in the table '%s'";
inline constexpr const char *DuplicateFieldName = "Invalid or duplicate field name '%s' specified for the table '%s'";
inline constexpr const char *InvalidIndexField = "Invalid field '%s' specified for the index '%s' in the table '%s'";
inline constexpr const char *PrimaryExists = "A primary index is already defined for the table '%s' and cannot be added again";
inline constexpr const char *IndexNameMissing = "The secondary index name is missing or not specified for the table '%s'";
inline constexpr const char *IndexExists = "The secondary index '%s' already exists for the table '%s'";
inline constexpr const char *InvalidIndexName = "Invalid secondary index name '%s' specified for the table '%s'";
inline constexpr const char *RecordNotFound = "Record not found in the table '%s'";
inline constexpr const char *FilterError = "Filter error for the table '%s' - %s";
inline constexpr const char *SqlError = "SQL error - %s";
inline constexpr const char *NoCurrentRecord = "No current record in the table '%s'";
// Texts of the dataset layer.
inline constexpr const char *NotEditing = "Dataset not in edit or insert mode";
inline constexpr const char *ReadOnlyDataset = "Cannot modify a read-only dataset";
inline constexpr const char *NotOpen = "Cannot perform this operation on a closed dataset";
inline constexpr const char *FieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char *NotCp932 = "The character '%s' (%s) in the field '%s' of the table '%s' cannot be stored in code page 932";
inline constexpr const char *NotDate = "'%s' is not a valid date for the field '%s' in the table '%s'";
inline constexpr const char *NotNumber = "'%s' is not a valid number for the field '%s' in the table '%s'";
} // namespace text

// Fills each %s of the text with the next argument.
QString EngineMessage(const char *text, const QStringList &args = {});

// Name of the primary index in messages.
inline QString PrimaryIndexName() { return QStringLiteral("Primary"); }

} // namespace qpn::engine
