// What the code window shows of a module file, that writing it back keeps every byte the edits did not
// touch, and CodeModule's line calls.
#include <gtest/gtest.h>

#include "host/ModuleText.h"
#include "host/TestModules.h"

namespace {

using host::ModuleText;
using hosttest::ErrorOf;
using hosttest::MemoryModule;
using hosttest::Split;

// The visible lines, each ended by "\n" (so no line and one empty line differ).
std::string Visible(const ModuleText& text) {
    std::string lines;
    for (long i = 0; i < text.Count(); ++i) lines += text.Line(i) + "\n";
    return lines;
}

std::string Swapped(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

// Edits separated by ';', at 0-based lines: "i4:X|Y" inserts lines X and Y before line 4, "e4:2" erases
// two lines, "r4:X" replaces one. (The comment commands' round trip: tests/codetools/basComment_test.)
void Apply(ModuleText& text, const std::string& edits) {
    for (const std::string& edit : Split(edits, ';')) {
        std::string arg = edit.substr(edit.find(':') + 1);
        long at = std::stol(edit.substr(1));
        if (edit[0] == 'i') text.Insert(at, Split(arg, '|'));
        if (edit[0] == 'e') text.Erase(at, std::stol(arg));
        if (edit[0] == 'r') text.Replace(at, arg);
    }
}

const std::string kM = "Attribute VB_Name = \"M\"\r\n";
const std::string kClassHeader =
    "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\n  Persistable = 0  'NotPersistable\r\nEND\r\n"
    "Attribute VB_Name = \"CInvoice\"\r\nAttribute VB_GlobalNameSpace = False\r\nAttribute VB_Exposed = "
    "False\r\n";
const std::string kFormHeader =
    "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Begin VB.Form frmMain \r\n   Caption         =   \"End\"\r\n   BeginProperty Font \r\n"
    "      Name            =   \"MS Sans Serif\"\r\n   EndProperty\r\n   Begin VB.Frame Frame1 \r\n"
    "      Begin VB.CommandButton cmdOK \r\n         Caption         =   \"OK\"\r\n      End\r\n   End\r\n"
    "End\r\nAttribute VB_Name = \"frmMain\"\r\nAttribute VB_PredeclaredId = True\r\n";
const std::string kGetItem = "Public Property Get Item(ByVal index As Variant) As Object\r\n";
const std::string kAttributes =
    "Attribute Item.VB_UserMemId = 0\r\nAttribute Item.VB_Description = \"Returns one entry\"\r\n";
const std::string kItemCode =
    "Option Explicit\r\nPrivate WithEvents mForm As Form\r\n"
    "Attribute mForm.VB_VarHelpID = -1\r\nPrivate mItems As Collection\r\n\r\n" +
    kGetItem + kAttributes + "    Set Item = mItems(index)\r\nEnd Property\r\n";
const std::string kItemClass = kClassHeader + kItemCode;

TEST(ModuleFile, ShowsOnlyTheCodeAndWritesBackEveryByte) {
    const struct {
        const char* name;
        std::string bytes, visible;
    } rows[] = {
        {"UnixEndings", "Attribute VB_Name = \"M\"\nOption Explicit\nEnd Sub\n",
         "Option Explicit\nEnd Sub\n"},
        {"MixedEndingsEachKept", kM + "A\nB\r\nC\rD\r\n", "A\nB\nC\nD\n"},
        {"NoFinalLineEnding", kM + "Sub Main()\r\nEnd Sub", "Sub Main()\nEnd Sub\n"},
        {"Windows1252", kM + "' Pr\xE9sentation \x80 \x93quoted\x94 \xFF\r\nMsgBox \"Gr\xFC\xDF\"\r\n",
         "' Pr\xE9sentation \x80 \x93quoted\x94 \xFF\nMsgBox \"Gr\xFC\xDF\"\n"},
        {"ClassHeaderHidden", kClassHeader + "Option Explicit\r\n", "Option Explicit\n"},
        {"FormWithNestedBlocks", kFormHeader + "Option Explicit\r\nSub cmdOK_Click()\r\n",
         "Option Explicit\nSub cmdOK_Click()\n"},
        {"AttributesInsideTheCodeHidden", kItemClass,
         "Option Explicit\nPrivate WithEvents mForm As Form\nPrivate mItems As Collection\n\n"
         "Public Property Get Item(ByVal index As Variant) As Object\n    Set Item = mItems(index)\nEnd "
         "Property\n"},
        {"AttributeWordAfterContinuationIsCode", kM + "x = y + _\r\nAttribute X = 1\r\n",
         "x = y + _\nAttribute X = 1\n"},
        {"HeaderOnly", kM, ""},
        {"EmptyFile", "", ""},
        {"BlankLineEndsHeader", kM + "\r\nAttribute X.VB_Foo = 1\r\n", "\n"},
    };
    for (const auto& row : rows) {
        ModuleText text = ModuleText::Parse(row.bytes);
        EXPECT_EQ(Visible(text), row.visible) << row.name;
        EXPECT_EQ(text.Serialize(), row.bytes) << row.name;
    }
    EXPECT_EQ(ModuleText::Parse(kFormHeader).VbName() + ModuleText::Parse(kClassHeader).VbName() +
                  ModuleText::Parse("Option Explicit\r\n").VbName(),
              "frmMainCInvoice");
    EXPECT_EQ(ErrorOf([] { ModuleText::Parse(std::string("MZ\x90\0\x03", 5)); }).Number(), 5);
}

TEST(ModuleFile, EditsWriteExactBytes) {
    const struct {
        const char* name;
        std::string before, edits, after;
    } rows[] = {
        {"NewLinesUseUnixStyleOfUnixFile", "Attribute VB_Name = \"M\"\nA\nB\n", "i1:X|Y",
         "Attribute VB_Name = \"M\"\nA\nX\nY\nB\n"},
        {"NewLinesUseDominantStyleOfMixedFile", kM + "A\r\nB\nC\r\n", "i3:D", kM + "A\r\nB\nC\r\nD\r\n"},
        {"AppendKeepsMissingFinalEnding", kM + "A", "i1:B", kM + "A\r\nB"},
        {"DeletingLastLineKeepsMissingFinalEnding", kM + "A\r\nB", "e1:1", kM + "A"},
        {"ReplaceKeepsThatLinesOwnEnding", kM + "A\nB\r\n", "r0:Z", kM + "Z\nB\r\n"},
        // As the comment commands replace a line; the last one's missing ending stays missing.
        {"EraseThenInsertKeepsEachLinesOwnEnding", kM + "A\r\nB\nC", "e1:1;i1:'B;e2:1;i2:'C",
         kM + "A\r\n'B\n'C"},
        {"FirstCodeLineOfHeaderOnlyModule", kM, "i0:Option Explicit", kM + "Option Explicit\r\n"},
        {"AttributesFollowTheReplacementDeclaration", kItemClass,
         "e4:1;i4:Public Property Get Item(ByVal key As Variant) As Object",
         Swapped(kItemClass, "index As Variant", "key As Variant")},
        // Nothing replaces the declaration; another edit settles its attributes on the line above.
        {"AttributesStayWhenTheirLineGoes", kItemClass, "e4:1;i0:' top",
         kClassHeader + "' top\r\n" + Swapped(kItemCode, kGetItem, "")},
        {"DeletedFirstLineHandsAttributesToTheHeader",
         kM + "Sub Main()\r\nAttribute Main.VB_Description = \"Start\"\r\nEnd Sub\r\n",
         "e0:1;r0:End Function", kM + "Attribute Main.VB_Description = \"Start\"\r\nEnd Function\r\n"},
    };
    for (const auto& row : rows) {
        ModuleText text = ModuleText::Parse(row.before);
        Apply(text, row.edits);
        EXPECT_EQ(text.Serialize(), row.after) << row.name;
    }
}

// Calls on the module A, B, C: L<line>,<count> (Lines), I<line>:<text>, D<line>,<count> or R<line>:<text>,
// each = what Lines returns, or else the module's lines joined by "\n"; "!" is error 5, module unchanged.
TEST(CodeModuleLines, ReturnTextOrRaiseInvalidCallLeavingTheModuleAlone) {
    const std::string rows =
        "L2,1=B|L1,3=A\r\nB\r\nC|L4,0=|L2,3=!|L0,1=!|L5,0=!|L2,-1=!|I1:X=X\nA\nB\nC|I4:X\r\nY=A\nB\nC\nX\nY|"
        "I40:X=A\nB\nC\nX|I2:X\r\n=A\nX\n\nB\nC|I2:X\nY\rZ=A\nX\nY\nZ\nB\nC|I2:=A\n\nB\nC|I0:X=!|D1,2=C|"
        "D2,3=!|D0,1=!|R3:    Z=A\nB\n    Z|R4:X=!";
    for (const std::string& row : Split(rows, '|')) {
        MemoryModule module("A\r\nB\r\nC");
        host::CodeModule& code = module.Code();
        std::string call = row.substr(0, row.rfind('=')), want = row.substr(row.rfind('=') + 1), got;
        auto comma = call.find(',');
        long line = std::stol(call.substr(1)),
             count = comma == std::string::npos ? 0 : std::stol(call.substr(comma + 1));
        std::string text = call.substr(call.find(':') + 1);
        long error = ErrorOf([&] {
                         if (call[0] == 'L') got = code.Lines(line, count);
                         if (call[0] == 'I') code.InsertLines(line, text);
                         if (call[0] == 'D') code.DeleteLines(line, count);
                         if (call[0] == 'R') code.ReplaceLine(line, text);
                     }).Number();
        if (error != 0 || call[0] != 'L') got = code.AllText();
        EXPECT_EQ((error ? "error " + std::to_string(error) + ": " : "") + got,
                  want == "!" ? "error 5: A\nB\nC" : want)
            << call;
    }
}

}  // namespace
