#pragma once
// New procedures: the name checks of the New Procedure tab, the standard
// comment header and error statement shared with existing procedures, and the
// generator that appends a procedure to the active code module.
#include <string>
#include <vector>

#include "settings/Env.h"

namespace pv {

// True when the name may not be used: empty, with a blank, starting with a
// digit or "_", or holding anything but A-Z, a-z, 0-9 and "_".
bool InvalidProcedureName(Env& env, const std::string& strProcName);

// True when a member of the active module already bears the name (letter case
// ignored). bolIsVariable tells a module-level variable from a procedure, a
// property or a Declare; it is left alone when there is no clash.
bool DuplicateProcedureName(Env& env, const std::string& strProcName, bool& bolIsVariable);

// Every blank of the text turned into "_": the label base of an entry name.
std::string ReplaceSpaces(Env& env, const std::string& strText);

// The ErrorMessage preference with each "<NAME>" replaced by strProcName.
std::string GetErrorMessage(Env& env, const std::string& strProcName);

// The comment header for a procedure: the hyphen line, then the lines whose
// preference flags are on. Raises what reading the preferences raises.
std::vector<std::string> CommentHeaderLines(Env& env, const std::string& strProcName);

// Builds one procedure (header when ShowCommentStubs is on, declaration,
// error-handling skeleton, End line) and appends it to the active code module,
// the caret on its first line. Failures are reported as "AddToNewProcedure".
void AddToNewProcedure(Env& env, const std::string& strScope, const std::string& strProcType,
                       const std::string& strProcName, const std::string& strPropertyType,
                       const std::string& strArguments, const std::string& strReturnType);

// Lines joined by CR LF, nothing after the last, as the host takes inserted text.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace pv
