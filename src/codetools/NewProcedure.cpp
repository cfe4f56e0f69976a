#include "codetools/NewProcedure.h"

#include <algorithm>

#include "forms/ErrorReport.h"
#include "host/VBE.h"
#include "settings/Options.h"
#include "vbrt/Text.h"

namespace pv {
namespace {

constexpr const char* kHyphenLine = "'------------------------------------------------------------------";
constexpr std::string_view kNamePlaceholder = "<NAME>";

bool IsNameCharacter(char c) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return (upper >= '0' && upper <= '9') || (upper >= 'A' && upper <= 'Z') || upper == '_';
}

bool Invalid(const std::string& name) {
    if (name.empty()) return true;
    if (name.find(' ') != std::string::npos) return true;
    if ((name.front() >= '0' && name.front() <= '9') || name.front() == '_') return true;
    return !std::all_of(name.begin(), name.end(), IsNameCharacter);
}

// Names a new procedure cannot share: the host's language reports an ambiguous
// name for any procedure, property part, Declare or event of the module.
bool IsProcedureLike(host::vbext_MemberType type) {
    return type == host::vbext_mt_Method || type == host::vbext_mt_Event || type == host::vbext_mt_Property;
}

std::vector<std::string> NewProcedureLines(Env& env, const std::string& strScope,
                                           const std::string& strProcType, const std::string& strProcName,
                                           const std::string& strPropertyType,
                                           const std::string& strArguments,
                                           const std::string& strReturnType) {
    const std::string& k = strProcType;
    const std::string label = ReplaceSpaces(env, strPropertyType) + strProcName;
    std::vector<std::string> lines{""};
    if (ReadFlag(env.store, key::ShowCommentStubs, "0")) {
        const auto header = CommentHeaderLines(env, strProcName);
        lines.insert(lines.end(), header.begin(), header.end());
    }
    lines.push_back(strScope + " " + k + " " + strPropertyType + strProcName + "(" + strArguments + ")" +
                    strReturnType);
    lines.push_back(std::string("\tOn Error Goto Err_") + label);
    lines.insert(lines.end(), {"", "", "", "Exit_" + label + ":", "\tExit " + k, "", "Err_" + label + ":"});
    lines.push_back(std::string("\t").append(GetErrorMessage(env, label)));
    lines.insert(lines.end(), {"\tResume Exit_" + label, "", "End " + k});
    return lines;
}

}  // namespace

bool InvalidProcedureName(Env& env, const std::string& strProcName) {
    bool result = false;
    forms::Trap(env.ui, "InvalidProcedureName()", [&] { result = Invalid(strProcName); });
    return result;
}

bool DuplicateProcedureName(Env& env, const std::string& strProcName, bool& bolIsVariable) {
    bool result = false;
    forms::Trap(env.ui, "DuplicateProcedureName()", [&] {
        const host::Members& members = Vbe().ActiveCodePane().CodeModule().Members();
        for (long i = 1; i <= members.Count(); ++i) {
            const host::Member& member = members.Item(i);
            if (!vbrt::EqualsText(member.Name(), strProcName)) continue;
            const bool isVariable = member.Type() == host::vbext_mt_Variable;
            if (!isVariable && !IsProcedureLike(member.Type())) continue;
            bolIsVariable = isVariable;
            result = true;
            return;
        }
    });
    return result;
}

std::string ReplaceSpaces(Env& env, const std::string& strText) {
    std::string result;
    forms::Trap(env.ui, "ReplaceSpaces()", [&] {
        result = strText;
        std::replace(result.begin(), result.end(), ' ', '_');
    });
    return result;
}

std::string GetErrorMessage(Env& env, const std::string& strProcName) {
    std::string result;
    forms::Trap(env.ui, "GetErrorMessage()", [&] {
        std::string text = ReadOption(env.store, key::ErrorMessage, kDefaultErrorMessage);
        // Searching on after each replacement, so a name can never feed the search.
        for (auto at = text.find(kNamePlaceholder); at != std::string::npos;
             at = text.find(kNamePlaceholder, at + strProcName.size()))
            text.replace(at, kNamePlaceholder.size(), strProcName);
        result = std::move(text);
    });
    return result;
}

std::vector<std::string> CommentHeaderLines(Env& env, const std::string& strProcName) {
    std::vector<std::string> lines{kHyphenLine};
    if (ReadFlag(env.store, key::ShowProcedureName)) lines.push_back("' Procedure: " + strProcName);
    if (ReadFlag(env.store, key::ShowCreatedBy))
        lines.push_back("' Created By: " + ReadOption(env.store, key::CreatedByName));
    if (ReadFlag(env.store, key::ShowDateCreated))
        lines.push_back("' Date Created: " + forms::FormatDdMmmYyyy(env.ui));
    if (ReadFlag(env.store, key::ShowPurpose)) lines.emplace_back("' Purpose: ");
    if (ReadFlag(env.store, key::ShowParameters)) lines.emplace_back("' Parameters: ");
    if (ReadFlag(env.store, key::ShowOutput)) lines.emplace_back("' Output: ");
    return lines;
}

void AddToNewProcedure(Env& env, const std::string& strScope, const std::string& strProcType,
                       const std::string& strProcName, const std::string& strPropertyType,
                       const std::string& strArguments, const std::string& strReturnType) {
    forms::Trap(env.ui, "AddToNewProcedure", [&] {
        const std::string text = JoinLines(NewProcedureLines(env, strScope, strProcType, strProcName,
                                                             strPropertyType, strArguments, strReturnType));
        host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
        const long n = module.CountOfLines() + 1;
        module.InsertLines(n, text);
        module.CodePane().SetSelection(n, 1, n, 1);
    });
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace pv
