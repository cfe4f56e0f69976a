#pragma once
// Adding the standard error-handling block (and optionally the comment header)
// to a procedure that exists in the active code module.
#include <string>

#include "settings/Env.h"

namespace pv {

// strName is a list entry ("DoIt", "Get Total"), strType the declaration's kind
// word, lngStartLine the current declaration line. Writes the header above the
// declaration when bolAddCommentStubs, the entry statement after the complete
// declaration, and the exit and handler block above the procedure's End
// statement; leaves the caret on the declaration line. Failures are reported as
// "AddToExistingProcedure"; lines already written stay.
void AddToExistingProcedure(Env& env, const std::string& strName, const std::string& strType,
                            long lngStartLine, bool bolAddCommentStubs);

}  // namespace pv
