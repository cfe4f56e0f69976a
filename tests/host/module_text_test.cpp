// What the code window shows of a module file, and that writing it back keeps
// every byte the edits did not touch.
#include <gtest/gtest.h>

#include "host/ModuleText.h"
#include "host/TestModules.h"

namespace {

using host::ModuleText;

std::vector<std::string> Visible(const ModuleText& text) {
    std::vector<std::string> lines;
    for (long i = 0; i < text.Count(); ++i) lines.push_back(text.Line(i));
    return lines;
}

std::string Swapped(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

const std::string kClassHeader =
    "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\n  Persistable = 0  'NotPersistable\r\nEND\r\n"
    "Attribute VB_Name = \"CInvoice\"\r\nAttribute VB_GlobalNameSpace = False\r\nAttribute VB_Exposed = "
    "False\r\n";

const std::string kFormHeader =
    "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Begin VB.Form frmMain \r\n   Caption         =   \"End\"\r\n   ClientHeight    =   3195\r\n"
    "   BeginProperty Font \r\n      Name            =   \"MS Sans Serif\"\r\n      Size            =   "
    "8.25\r\n"
    "   EndProperty\r\n   Begin VB.Frame Frame1 \r\n      Caption         =   \"Options\"\r\n"
    "      Begin VB.CommandButton cmdOK \r\n         Caption         =   \"OK\"\r\n      End\r\n   End\r\n"
    "End\r\nAttribute VB_Name = \"frmMain\"\r\nAttribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Creatable = False\r\nAttribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = False\r\n";

const std::string kAttributes =
    "Attribute Item.VB_UserMemId = 0\r\nAttribute Item.VB_Description = \"Returns one entry\"\r\n";
const std::string kItemClass = kClassHeader +
                               "Option Explicit\r\n"
                               "Private WithEvents mForm As Form\r\n"
                               "Attribute mForm.VB_VarHelpID = -1\r\n"
                               "Private mItems As Collection\r\n"
                               "\r\n"
                               "Public Property Get Item(ByVal index As Variant) As Object\r\n" +
                               kAttributes +
                               "    Set Item = mItems(index)\r\n"
                               "End Property\r\n";

struct RoundTripRow {
    std::string name;
    std::string bytes;
    std::vector<std::string> visible;
};

class RoundTripTest : public testing::TestWithParam<RoundTripRow> {};

TEST_P(RoundTripTest, LoadThenSaveChangesNoByte) {
    ModuleText text = ModuleText::Parse(GetParam().bytes);
    EXPECT_EQ(Visible(text), GetParam().visible);
    EXPECT_EQ(text.Serialize(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RoundTripTest,
    testing::Values(
        RoundTripRow{"StandardModuleCrLf",
                     "Attribute VB_Name = \"basMain\"\r\nOption Explicit\r\n\r\nSub Main()\r\nEnd Sub\r\n",
                     {"Option Explicit", "", "Sub Main()", "End Sub"}},
        RoundTripRow{"UnixEndings",
                     "Attribute VB_Name = \"basMain\"\nOption Explicit\nSub Main()\nEnd Sub\n",
                     {"Option Explicit", "Sub Main()", "End Sub"}},
        RoundTripRow{
            "MixedEndingsEachKept", "Attribute VB_Name = \"M\"\r\nA\nB\r\nC\rD\r\n", {"A", "B", "C", "D"}},
        RoundTripRow{"NoFinalLineEnding",
                     "Attribute VB_Name = \"M\"\r\nSub Main()\r\nEnd Sub",
                     {"Sub Main()", "End Sub"}},
        RoundTripRow{"Windows1252BytesPassThrough",
                     "Attribute VB_Name = \"M\"\r\n' Pr\xE9sentation \x80 \x93quoted\x94 \xFF\r\nMsgBox "
                     "\"Gr\xFC\xDF\"\r\n",
                     {"' Pr\xE9sentation \x80 \x93quoted\x94 \xFF", "MsgBox \"Gr\xFC\xDF\""}},
        RoundTripRow{"ClassHeaderHidden",
                     kClassHeader + "Option Explicit\r\nPrivate mTotal As Currency\r\n",
                     {"Option Explicit", "Private mTotal As Currency"}},
        RoundTripRow{
            "FormWithNestedBlocksAndBeginProperty",
            kFormHeader + "Option Explicit\r\nPrivate Sub cmdOK_Click()\r\n    Unload Me\r\nEnd Sub\r\n",
            {"Option Explicit", "Private Sub cmdOK_Click()", "    Unload Me", "End Sub"}},
        RoundTripRow{"AttributesInsideTheCodeAreHidden",
                     kItemClass,
                     {"Option Explicit", "Private WithEvents mForm As Form", "Private mItems As Collection",
                      "", "Public Property Get Item(ByVal index As Variant) As Object",
                      "    Set Item = mItems(index)", "End Property"}},
        RoundTripRow{"AttributeWordAfterContinuationIsCode",
                     "Attribute VB_Name = \"M\"\r\nx = y + _\r\nAttribute X = 1\r\n",
                     {"x = y + _", "Attribute X = 1"}},
        RoundTripRow{"HeaderOnly", "Attribute VB_Name = \"Module1\"\r\n", {}},
        RoundTripRow{"EmptyFile", "", {}},
        RoundTripRow{
            "BlankLineEndsHeader", "Attribute VB_Name = \"M\"\r\n\r\nAttribute X.VB_Foo = 1\r\n", {""}}),
    hosttest::RowName);

TEST(ModuleTextHeader, VbNameComesFromTheHiddenHeaderAndNulIsRefused) {
    EXPECT_EQ(ModuleText::Parse(kFormHeader).VbName(), "frmMain");
    EXPECT_EQ(ModuleText::Parse(kClassHeader).VbName(), "CInvoice");
    EXPECT_EQ(ModuleText::Parse("Option Explicit\r\n").VbName(), "");
    EXPECT_EQ(hosttest::ErrorOf([] { ModuleText::Parse(std::string("MZ\x90\0\x03", 5)); }).Number(), 5);
}

TEST(HiddenAttributes, BelongToTheirCodeWindowLine) {
    ModuleText text = ModuleText::Parse(kItemClass);
    EXPECT_EQ(text.At(1).hidden, "Attribute mForm.VB_VarHelpID = -1\r\n");
    EXPECT_EQ(text.At(4).hidden, kAttributes);
    text.Erase(4, 1);           // the declaration goes, nothing replaces it
    text.Insert(0, {"' top"});  // a different edit settles them on the line above
    EXPECT_EQ(text.At(4).text, "");
    EXPECT_EQ(text.At(4).hidden, kAttributes);
}

// Replaces each line by what the function makes of it, as comment/uncomment commands do.
void EachLine(ModuleText& text, const std::function<std::string(const std::string&)>& change) {
    for (long i = 0; i < text.Count(); ++i) {
        std::string line = change(text.Line(i));
        text.Erase(i, 1);
        text.Insert(i, {line});
    }
}

struct EditRow {
    std::string name;
    std::string before;
    std::function<void(ModuleText&)> edit;
    std::string after;
};

class EditTest : public testing::TestWithParam<EditRow> {};

TEST_P(EditTest, WritesExactBytes) {
    ModuleText text = ModuleText::Parse(GetParam().before);
    GetParam().edit(text);
    EXPECT_EQ(text.Serialize(), GetParam().after);
}

const std::string kM = "Attribute VB_Name = \"M\"\r\n";

INSTANTIATE_TEST_SUITE_P(
    Edits, EditTest,
    testing::Values(EditRow{"NewLinesUseUnixStyleOfUnixFile", "Attribute VB_Name = \"M\"\nA\nB\n",
                            [](ModuleText& t) {
                                t.Insert(1, {"X", "Y"});
                            },
                            "Attribute VB_Name = \"M\"\nA\nX\nY\nB\n"},
                    EditRow{"NewLinesUseDominantStyleOfMixedFile", kM + "A\r\nB\nC\r\n",
                            [](ModuleText& t) { t.Insert(3, {"D"}); }, kM + "A\r\nB\nC\r\nD\r\n"},
                    EditRow{"AppendKeepsMissingFinalEnding", kM + "A",
                            [](ModuleText& t) { t.Insert(1, {"B"}); }, kM + "A\r\nB"},
                    EditRow{"DeletingLastLineKeepsMissingFinalEnding", kM + "A\r\nB",
                            [](ModuleText& t) { t.Erase(1, 1); }, kM + "A"},
                    EditRow{"ReplaceKeepsThatLinesOwnEnding", kM + "A\nB\r\n",
                            [](ModuleText& t) { t.Replace(0, "Z"); }, kM + "Z\nB\r\n"},
                    EditRow{"FirstCodeLineOfHeaderOnlyModule", "Attribute VB_Name = \"Module1\"\r\n",
                            [](ModuleText& t) { t.Insert(0, {"Option Explicit"}); },
                            "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n"},
                    EditRow{"AttributesSurviveDeleteThenInsertReplacement", kItemClass,
                            [](ModuleText& t) {
                                t.Erase(4, 1);
                                t.Insert(4, {"Public Property Get Item(ByVal key As Variant) As Object"});
                            },
                            Swapped(kItemClass, "index As Variant", "key As Variant")},
                    EditRow{"AttributesSurviveCommentingEveryLineAndBack", kItemClass,
                            [](ModuleText& t) {
                                EachLine(t, [](const std::string& line) { return "'" + line; });
                                EachLine(t, [](const std::string& line) { return line.substr(1); });
                            },
                            kItemClass},
                    EditRow{"DeletedFirstLineLeavesAttributesInPlace",
                            kM + "Sub Main()\r\nAttribute Main.VB_Description = \"Start\"\r\nEnd Sub\r\n",
                            [](ModuleText& t) { t.Erase(0, 1); },
                            kM + "Attribute Main.VB_Description = \"Start\"\r\nEnd Sub\r\n"},
                    EditRow{"DeletedFirstLineHandsAttributesToTheHeader",
                            kM + "Sub Main()\r\nAttribute Main.VB_Description = \"Start\"\r\nEnd Sub\r\n",
                            [](ModuleText& t) {
                                t.Erase(0, 1);
                                t.Replace(0, "End Function");
                            },
                            kM + "Attribute Main.VB_Description = \"Start\"\r\nEnd Function\r\n"}),
    hosttest::RowName);

// The gap buffer against a plain vector, over edits jumping up and down the module.
TEST(ModuleTextGapBuffer, MatchesPlainVectorOverScatteredEdits) {
    ModuleText text = ModuleText::Parse("");
    std::vector<std::string> model;
    unsigned seed = 12345;
    auto next = [&seed](long range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<long>((seed >> 8) % static_cast<unsigned>(range));
    };
    for (int step = 0; step < 3000; ++step) {
        long count = static_cast<long>(model.size()), op = next(4);
        std::string line = "line " + std::to_string(step);
        if (op == 0 || count == 0) {
            long at = next(count + 1);
            std::vector<std::string> lines(static_cast<std::size_t>(1 + next(3)), line);
            text.Insert(at, lines);
            model.insert(model.begin() + at, lines.begin(), lines.end());
        } else if (op == 1) {
            long at = next(count), n = std::min(1 + next(3), count - at);
            text.Erase(at, n);
            model.erase(model.begin() + at, model.begin() + at + n);
        } else {
            long at = next(count);
            text.Replace(at, line);
            model[static_cast<std::size_t>(at)] = line;
        }
    }
    EXPECT_EQ(Visible(text), model);
}

}  // namespace
