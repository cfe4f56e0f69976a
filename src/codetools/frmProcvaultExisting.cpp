// The main dialog's Existing Procedures tab: building the list of procedures
// without error handling and adding the block to the selected ones.
#include <array>

#include "codetools/ErrorHandling.h"
#include "codetools/ProcAnalysis.h"
#include "codetools/frmProcvault.h"
#include "forms/ErrorReport.h"
#include "host/VBE.h"

namespace pv {
namespace {

struct PropertyPart {
    host::vbext_ProcKind kind;
    const char* prefix;
};
constexpr std::array<PropertyPart, 3> kPropertyParts{
    {{host::vbext_pk_Get, "Get "}, {host::vbext_pk_Let, "Let "}, {host::vbext_pk_Set, "Set "}}};

}  // namespace

void frmProcvault::BuildProcedureList() {
    const host::Members members = Vbe().ActiveCodePane().CodeModule().Members();
    for (long i = 1; i <= members.Count(); ++i) {
        const host::Member& member = members.Item(i);
        switch (member.Type()) {
            case host::vbext_mt_Method:
            case host::vbext_mt_Event:
                TryAddEntry(member.Name(), host::vbext_pk_Proc, member.Name());
                break;
            case host::vbext_mt_Property:
                for (const auto& part : kPropertyParts)
                    TryAddEntry(member.Name(), part.kind, part.prefix + member.Name());
                break;
            default:
                break;
        }
    }
}

// Error 35: a property without this part, or a member the host cannot place;
// it gets no entry and the list goes on.
void frmProcvault::TryAddEntry(const std::string& strName, int kind, const std::string& strEntry) {
    try {
        const host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
        const auto procKind = static_cast<host::vbext_ProcKind>(kind);
        const long lngStartLine = module.ProcStartLine(strName, procKind);
        const long lngEndLine = lngStartLine + module.ProcCountLines(strName, procKind) - 1;
        // An Event or Declare has no body to take a handler.
        if (!IsProcedureKindWord(ExtractProcType(module.Lines(module.ProcBodyLine(strName, procKind), 1))))
            return;
        // The entry shows the declaration of the copy that needs the handling.
        const long lngDeclarationLine =
            FirstCopyLackingHandling(env_, module, {strName, procKind}, lngStartLine, lngEndLine);
        if (lngDeclarationLine == 0) return;
        lstProcedures.AddItem(strEntry);
        lstProcedures.SetItemData(lstProcedures.NewIndex(), lngDeclarationLine);
    } catch (const vbrt::VbError& e) {
        if (e.Number() != vbrt::err::SubNotDefined) throw;
    }
}

void frmProcvault::AddToSelectedProcedures() {
    host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
    const int n = lstProcedures.ListCount();
    for (int i = 0; i < n; ++i) {
        if (!lstProcedures.Selected(i)) continue;
        // Asked anew each time: the lines added to the procedures above move this one.
        const ProcEntry entry = SplitEntry(lstProcedures.List(i));
        lstProcedures.SetItemData(i, module.ProcBodyLine(entry.name, entry.kind));
        std::string strName, strType;
        long lngStartLine = 0;
        GetExistingProcedureDetails(i, strName, strType, lngStartLine);
        AddToExistingProcedure(env_, strName, strType, lngStartLine, chkShowCommentStubs.Value() == 1);
        lstProcedures.SetSelected(i, false);
    }
    Unload();
}

void frmProcvault::GetExistingProcedureDetails(int intIndex, std::string& strName, std::string& strType,
                                               long& lngStartLine) {
    forms::Trap(env_.ui, "GetExistingProcedureDetails", [&] {
        strName = lstProcedures.List(intIndex);
        lngStartLine = lstProcedures.ItemData(intIndex);
        strType = ExtractProcType(Vbe().ActiveCodePane().CodeModule().Lines(lngStartLine, 1));
    });
}

}  // namespace pv
