#include "codetools/ErrorHandling.h"

#include "codetools/NewProcedure.h"
#include "codetools/ProcAnalysis.h"
#include "forms/ErrorReport.h"
#include "host/VBE.h"

namespace pv {
namespace {

std::string HandlerBlock(Env& env, const std::string& label, const std::string& strType) {
    return "Exit_" + label + ":\r\n" + "\tExit " + strType + "\r\n\r\n" + "Err_" + label + ":\r\n" + "\t" +
           GetErrorMessage(env, label) + "\r\n" + "\tResume Exit_" + label + "\r\n";
}

// The entry statement and the two empty lines after it.
constexpr long kEntryLines = 3;

}  // namespace

void AddToExistingProcedure(Env& env, const std::string& strName, const std::string& strType,
                            long lngStartLine, bool bolAddCommentStubs) {
    forms::Trap(env.ui, "AddToExistingProcedure", [&] {
        host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
        const std::string label = ReplaceSpaces(env, strName);
        // Found before anything is inserted, so the module is scanned once per
        // procedure; the lines inserted above it are added back below.
        long lngEndLine = ProcEndLine(module, SplitEntry(strName));
        if (bolAddCommentStubs) {
            const auto header = CommentHeaderLines(env, strName);
            module.InsertLines(lngStartLine, JoinLines(header));
            const auto added = static_cast<long>(header.size());
            lngStartLine += added;
            lngEndLine += added;
        }
        const long lngDeclarationEnd = DeclarationLastLine(module, lngStartLine);
        module.InsertLines(lngDeclarationEnd + 1, "\tOn Error Goto Err_" + label + "\r\n\r\n");
        lngEndLine += kEntryLines;
        module.InsertLines(lngEndLine, HandlerBlock(env, label, strType));
        module.CodePane().SetSelection(lngStartLine, 1, lngStartLine, 1);
    });
}

}  // namespace pv
