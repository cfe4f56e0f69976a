#pragma once
// A small VB6 project written into a temp folder: a form and a standard module
// whose lines the tests edit, with a hidden Attribute line after a declaration.
#include <string>

#include "support/TempDir.h"

namespace studiotest {

inline const std::string kModule1 = testsupport::CrLf({
    "Attribute VB_Name = \"Module1\"",
    "Option Explicit",
    "",
    "Public Sub ShowTotal()",
    "Attribute ShowTotal.VB_Description = \"Shows the total\"",
    "    Dim lngTotal As Long",
    "    lngTotal = 1",
    "    MsgBox lngTotal",
    "End Sub",
});

inline void WriteProject(const testsupport::TempDir& dir) {
    testsupport::WriteBytes(dir / "Project1.vbp",
                            testsupport::CrLf({"Type=Exe", "Form=Form1.frm", "Module=Module1; Module1.bas",
                                               "Name=\"Project1\""}));
    testsupport::WriteBytes(dir / "Module1.bas", kModule1);
    testsupport::WriteBytes(
        dir / "Form1.frm",
        testsupport::CrLf({"VERSION 5.00", "Begin VB.Form Form1 ", "   Caption         =   \"Form1\"", "End",
                           "Attribute VB_Name = \"Form1\"", "Option Explicit", "", "Private Sub Form_Load()",
                           "End Sub"}));
}

}  // namespace studiotest
