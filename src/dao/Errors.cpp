#include "dao/Errors.h"

namespace dao {

std::string JetText(long number, const std::string& detail) {
    switch (number) {
        case jet::InvalidArgument:
            return "Invalid argument." + (detail.empty() ? "" : " (" + detail + ")");
        case jet::NoCurrentRecord:
            return "No current record.";
        case jet::DuplicateKey:
            return "The changes you requested to the table were not successful because they would create "
                   "duplicate values in the index, primary key, or relationship.";
        case jet::FileNotFound:
            return "Could not find file '" + detail + "'.";
        case jet::DiskFull:
            return "Not enough space on disk.";
        case jet::ReadOnly:
            return "Cannot update. Database or object is read-only.";
        case jet::NoTransaction:
            return "You tried to commit or rollback a transaction without first beginning a transaction.";
        case jet::UpdateWithoutEdit:
            return "Update or CancelUpdate without AddNew or Edit.";
        case jet::DiskOrNetworkError:
            return "Disk or network error." + (detail.empty() ? "" : " (" + detail + ")");
        case jet::InvalidPath:
            return "'" + detail + "' isn't a valid path.";
        case jet::FileInUse:
            return "Could not use '" + detail + "'; file already in use.";
        case jet::CorruptDatabase:
            return "Cannot open database '" + detail +
                   "'. It may not be a database that your application recognizes, or the file may be "
                   "corrupt.";
        case jet::CannotOpenFile:
            return "The Microsoft Jet database engine cannot open the file '" + detail +
                   "'. It is already opened exclusively by another user, or you need permission to view its "
                   "data.";
        case jet::CannotExecuteSelect:
            return "Cannot execute a select query.";
        case jet::UnknownField:
            return "The Microsoft Jet database engine does not recognize '" + detail +
                   "' as a valid field name or expression.";
        case jet::SyntaxError:
            return "Syntax error in query expression '" + detail + "'.";
        case jet::TableNotFound:
            return "The Microsoft Jet database engine cannot find the input table or query '" + detail +
                   "'. Make sure it exists and that its name is spelled correctly.";
        case jet::CharactersAfterEnd:
            return "Characters found after end of SQL statement.";
        case jet::FieldCannotBeUpdated:
            return "Field cannot be updated.";
        case jet::RecordDeleted:
            return "Record is deleted.";
        case jet::RelatedRecordsExist:
            return "The record cannot be deleted or changed because table '" + detail +
                   "' includes related records.";
        case jet::RelatedRecordRequired:
            return "You cannot add or change a record because a related record is required in table '" +
                   detail + "'.";
        case jet::DatabaseExists:
            return "Database already exists.";
        case jet::CouldNotUpdateLocked:
            return "Could not update; currently locked." + (detail.empty() ? "" : " (" + detail + ")");
        case jet::NotSupported:
            return "Operation is not supported for this type of object.";
        case jet::ItemNotFound:
            return "Item not found in this collection.";
        case jet::FieldRequired:
            return "You must enter a value in the '" + detail + "' field.";
        case jet::UnrecognizedFormat:
            return "Unrecognized database format '" + detail + "'.";
        case jet::ObjectInvalid:
            return "Object invalid or no longer set.";
        default:
            return "Reserved error (" + detail + "); there is no message for this error.";
    }
}

void Raise(long number, const std::string& detail) {
    throw vbrt::VbError(number, JetText(number, detail));
}

}  // namespace dao
