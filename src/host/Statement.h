#pragma once
// What the first statement of one logical line (continuations joined) declares,
// as far as the module's members and procedure ranges depend on it.
#include <string_view>
#include <vector>

#include "host/CodeModule.h"

namespace host {

enum class StatementKind {
    Blank,      // nothing, or only a comment
    Procedure,  // Sub, Function, Property Get/Let/Set
    EndProcedure,
    Declare,
    Event,
    Const,
    Variable,
    BlockStart,  // Enum or Type
    BlockEnd,
    Other  // any other code: Option, Implements, #If, labels, statements
};

struct Statement {
    StatementKind kind = StatementKind::Blank;
    vbext_ProcKind procKind = vbext_pk_Proc;
    std::vector<std::string_view> names;  // the declared name(s)
    bool oneLine = false;                 // a procedure whose End follows on the same logical line
};

// A conditional-compilation line: "#If", "#ElseIf" or "#Else", "#End If".
enum class Directive { None, If, Else, EndIf };
Directive ClassifyDirective(std::string_view line);

// What follows a numeric line label ("100 End Sub") or a named one ("Exit_Foo: ..."),
// without leading blanks; the line itself without its blanks when it has none.
std::string_view SkipLineLabel(std::string_view line);

// `line` is a whole logical line; the views in `out.names` point into it.
void ClassifyStatement(std::string_view line, Statement& out);

}  // namespace host
