#pragma once
// Access to the add-in's preferences: application "Procvault", section
// "Options". Every operation reads the keys it needs when it runs, with its own
// default; nothing is cached, so a saved change takes effect at the next command.
#include <string>

#include "vbrt/SettingsStore.h"

namespace pv {

inline constexpr const char* kAppName = "Procvault";
inline constexpr const char* kSection = "Options";

namespace key {
inline constexpr const char* CommentPrefix = "CommentPrefix";
inline constexpr const char* IndentLevel = "IndentLevel";
inline constexpr const char* ErrorMessage = "ErrorMessage";
inline constexpr const char* ShowCommentStubs = "ShowCommentStubs";
inline constexpr const char* ShowProcedureName = "ShowProcedureName";
inline constexpr const char* ShowCreatedBy = "ShowCreatedBy";
inline constexpr const char* CreatedByName = "CreatedByName";
inline constexpr const char* ShowDateCreated = "ShowDateCreated";
inline constexpr const char* ShowPurpose = "ShowPurpose";
inline constexpr const char* ShowParameters = "ShowParameters";
inline constexpr const char* ShowOutput = "ShowOutput";
inline constexpr const char* ProcvaultLocation = "ProcvaultLocation";
}  // namespace key

inline constexpr const char* kDefaultCommentPrefix = "' ";
inline constexpr const char* kDefaultIndentLevel = "0";
inline constexpr const char* kDefaultErrorMessage =
    "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"";

// Every setting is one line: a stored line break or NUL raises error 13, as text a
// generator would paste into code as more statements than the user wrote.
std::string ReadOption(vbrt::SettingsStore& store, const std::string& key,
                       const std::string& defaultValue = {});
void WriteOption(vbrt::SettingsStore& store, const std::string& key, const std::string& value);

// False when `text` holds a CR, an LF or a NUL; the dialogs' OK checks then show kNotOneLine.
bool IsOneLine(const std::string& text);
inline constexpr const char* kNotOneLine = "This setting must be one line of text, without line breaks.";

// "True"/"False" (any letter case) or a decimal number, 0 being false; anything
// else raises error 13 "Type mismatch", as VB's CBool does.
bool ToFlag(const std::string& value);
// A decimal number; anything else raises error 13.
int ToInteger(const std::string& value);
bool ReadFlag(vbrt::SettingsStore& store, const std::string& key, const std::string& defaultValue = "0");

// Self-initialising reads: an empty value is replaced by the default, written back.
std::string ReadCommentPrefix(vbrt::SettingsStore& store);
std::string ReadIndentLevel(vbrt::SettingsStore& store);
std::string ReadErrorMessageForEditing(vbrt::SettingsStore& store);
// Writes the eight header keys with their initial values, in the order the
// comment-stub dialog does when it finds ShowCommentStubs empty.
void InitialiseHeaderKeys(vbrt::SettingsStore& store);

}  // namespace pv
