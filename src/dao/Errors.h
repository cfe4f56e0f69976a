#pragma once
// The Jet engine's error numbers and texts for the failures this engine reports,
// so that callers that test a number (3045, 3200) see what DAO would give them.
#include <string>

#include "vbrt/VbError.h"

namespace dao {

namespace jet {
inline constexpr long ReservedError = 3000;
inline constexpr long InvalidArgument = 3001;
inline constexpr long NoCurrentRecord = 3021;
inline constexpr long DuplicateKey = 3022;
inline constexpr long FileNotFound = 3024;
inline constexpr long DiskFull = 3026;
inline constexpr long ReadOnly = 3027;
inline constexpr long NoTransaction = 3034;
inline constexpr long UpdateWithoutEdit = 3020;
inline constexpr long DiskOrNetworkError = 3043;
inline constexpr long InvalidPath = 3044;
inline constexpr long FileInUse = 3045;
inline constexpr long CorruptDatabase = 3049;
inline constexpr long CannotOpenFile = 3051;
inline constexpr long CannotExecuteSelect = 3065;
inline constexpr long UnknownField = 3070;
inline constexpr long SyntaxError = 3075;
inline constexpr long TableNotFound = 3078;
inline constexpr long CharactersAfterEnd = 3142;
inline constexpr long FieldCannotBeUpdated = 3164;
inline constexpr long RecordDeleted = 3167;
inline constexpr long RelatedRecordsExist = 3200;
inline constexpr long RelatedRecordRequired = 3201;
inline constexpr long DatabaseExists = 3204;
inline constexpr long CouldNotUpdateLocked = 3218;
inline constexpr long NotSupported = 3251;
inline constexpr long ItemNotFound = 3265;
inline constexpr long FieldRequired = 3314;
inline constexpr long UnrecognizedFormat = 3343;
inline constexpr long ObjectInvalid = 3420;
}  // namespace jet

[[noreturn]] void Raise(long number, const std::string& detail = {});

// Jet's text for `number`, with `detail` (a path, a table, a statement) in its place.
std::string JetText(long number, const std::string& detail = {});

}  // namespace dao
