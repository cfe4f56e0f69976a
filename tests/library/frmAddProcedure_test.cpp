// Storing module procedures in the library as a user would, checked against the rows of a real library file.
#include "library/frmAddProcedure.h"

#include <gtest/gtest.h>

#include "LibraryDialogFixture.h"

namespace {

class StoreDialog : public librarytest::LibraryDialogTest {
protected:
    // Writes `files` (name, then bytes) to a fresh folder and opens the first as the project.
    void OpenWritten(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [name, bytes] : files) testsupport::WriteBytes(projectDir / name, bytes);
        vbe.OpenProject(projectDir / files.front().first);
    }
    // Each header stored after the sample's as "Type Name [Category]", then its lines; "|" after each.
    std::string Stored() {
        std::string out, header;
        for (const auto& r : daotest::Rows(
                 *file.Open(),
                 "SELECT h.Type || ' ' || h.Name || ' [' || c.CategoryDesc || ']|', l.Line "
                 "FROM ProcedureHeader h, Category c, ProcedureLine l WHERE h.ProcedureHeaderID > 3 "
                 "AND c.CategoryID = h.CategoryID AND l.ProcedureHeaderID = h.ProcedureHeaderID "
                 "ORDER BY l.ProcedureLineID"))
            out += (r[0] != header ? header = r[0] : "") + r[1] + "|";
        return out;
    }
    testsupport::TempDir projectDir;
};

TEST_F(StoreDialog, EverySubAndFunctionOfTheExampleIsStoredWithExactlyItsLines) {
    std::string expected;  // each listed procedure with the module's lines from its start, none after its End
    int count = 0;
    for (int m = 0; m < 4; ++m) {
        When<pv::frmAddProcedure>("frmAddProcedure", [&](pv::frmAddProcedure& d) {
            d.cboModule.ChooseItem(m);
            const auto& code = vbe.ActiveVBProject().VBComponents().Item(d.cboModule.Text()).CodeModule();
            for (int p = 0; p < d.lstProcedures.ListCount(); ++p) {
                const std::string item = d.lstProcedures.List(p);
                const std::string kind = item.substr(0, item.find(' ')), name = item.substr(kind.size() + 1);
                const long first = code.ProcStartLine(name, host::vbext_pk_Proc),
                           end = first + code.ProcCountLines(name, host::vbext_pk_Proc);
                expected += item + " [Files]|";
                for (long i = first, closed = 0; i < end; closed |= code.Lines(i++, 1) == "End " + kind)
                    expected += (closed ? "<Null>" : code.Lines(i, 1)) + "|";
                ++count;
            }
            d.cmdSelectAll.Press();
            d.cmdOK.Press();
        });
        pv::frmAddProcedure dialog(env, "(All)");
        ui.ShowModal(dialog);
    }
    EXPECT_EQ(count, 13);  // every Sub and Function; clsItem's properties are not offered
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(Said(), "");
}

enum Act { kPlain, kTypeClick, kNoCategories, kOddCategories, kLocked, kLineRefused };

struct StoreRow {
    std::string module;    // code lines of Module9, the project's only module, "|" between
    const char* category;  // the organizer's category text
    Act act;
    std::string said;    // as Said() gives it
    std::string stored;  // as Stored() gives it
    std::string after;   // the list's entries; "off": Select All disabled; "open": OK left the dialog up
};

class StoreRows : public StoreDialog, public testing::WithParamInterface<StoreRow> {};

TEST_P(StoreRows, StoreWhatTheUserChose) {
    const StoreRow& row = GetParam();
    if (row.act == kLocked) PV_FILE_LIBRARY_ONLY();
    std::string bytes = "Attribute VB_Name = \"Module9\"\r\n";
    for (char c : row.module + "|") bytes += c == '|' ? std::string("\r\n") : std::string(1, c);
    OpenWritten({{"Module9.bas", bytes}});
    if (row.act == kNoCategories)
        RunRaw("DELETE FROM ProcedureLine; DELETE FROM ProcedureHeader; DELETE FROM Category");
    if (row.act == kOddCategories)
        RunRaw("INSERT INTO Category (CategoryDesc) VALUES ('Say \"Hi\"'), ('CategoryID')");
    if (row.act == kLineRefused)
        RunRaw(
            "CREATE TRIGGER no BEFORE INSERT ON ProcedureLine WHEN NEW.Line = 'boom' BEGIN SELECT "
            "RAISE(ABORT, 'no'); END",
            ServerRefusal("INSERT", "ProcedureLine", "NEW.\"Line\" = 'boom'"));
    std::string after;
    When<pv::frmAddProcedure>("frmAddProcedure", [&](pv::frmAddProcedure& d) {
        d.cmdSelectAll.Press();
        if (row.act == kTypeClick) d.cboCategory.TypeText("Nowhere");
        if (row.act == kLocked) Lock();
        d.cmdOK.Press();
        after += Items(d.lstProcedures) + std::string(d.cmdSelectAll.Enabled() ? "" : "off") +
                 (d.IsLoaded() ? "open" : "");
        if (d.cboCategory.ListCount() > 0 && d.cboCategory.ListIndex() < 0)
            after += " " + std::to_string(d.cboCategory.SelLength()) + " selected";
    });
    pv::frmAddProcedure dialog(env, row.category);
    ui.ShowModal(dialog);
    holder.reset();
    EXPECT_EQ(Said() + " / " + Stored() + " / " + after, row.said + " / " + row.stored + " / " + row.after);
    EXPECT_EQ(ui.Beeps(), static_cast<int>(ui.Messages().size()) - (row.act == kLineRefused));
}

const char* kNoCategory =
    "i:You cannot add a procedure without a category. You must add a new category and try again.|";
const char* kSub = "Sub A()|End Sub";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, StoreRows, testing::Values(
    StoreRow{"Private Static Sub Tally()|End Sub", "Strings", kPlain, "", "Sub Tally [Strings]|Private Static Sub Tally()|End Sub|", "Sub Tally|"},
    // (All) picks the first category; a commented End keeps every line.
    StoreRow{"Sub A()|End Sub ' done|' after", "(All)", kPlain, "", "Sub A [Files]|Sub A()|End Sub ' done|' after|", "Sub A|"},
    StoreRow{"Private Declare Function GetTickCount Lib \"kernel32\" () As Long|Property Get P()|End Property", "(All)", kPlain, "", "", "offopen"},
    // Copies per #If branch are stored whole, up to the #End If.
    StoreRow{"#If VBA7 Then|Sub P()|End Sub|  #Else|Sub P()|  #If D Then|  #End If|End Sub|  #End If|' tail", "(All)", kPlain, "",
             "Sub P [Files]|#If VBA7 Then|Sub P()|End Sub|  #Else|Sub P()|  #If D Then|  #End If|End Sub|  #End If|<Null>|", "Sub P|"},
    StoreRow{kSub, "(All)", kTypeClick, librarytest::kSelectItem, "", "Sub A|open 7 selected"},
    StoreRow{kSub, "(All)", kNoCategories, kNoCategory, "", "Sub A|open"},
    StoreRow{kSub, "Say \"Hi\"", kOddCategories, "", "Sub A [Say \"Hi\"]|Sub A()|End Sub|", "Sub A|"},
    StoreRow{kSub, "(All)", kLocked, librarytest::kInUse, "", "Sub A|open"},
    StoreRow{"Sub A()|End Sub|Sub B()|boom|End Sub", "(All)", kLineRefused,
             "x:AddSingleProcedure(): Reserved error (no); there is no message for this error. 3000|", "", "Sub A|Sub B|open"}));
// clang-format on

TEST_F(StoreDialog, OnlyComponentsWithCodeOfTheirOwnAreOffered) {
    std::vector<std::pair<std::string, std::string>> files{
        {"P.vbp",
         "Module=Module9; Module9.bas\r\nClass=clsA; clsA.cls\r\nResFile32=\"P.res\"\r\nUserControl=ctlA.ctl"
         "\r\nPropertyPage=pagA.pag\r\nDesigner=dsrA.dsr\r\n"},
        {"P.res", "res"}};
    for (std::string name : {"Module9", "clsA", "ctlA", "pagA", "dsrA"})
        files.emplace_back(name + "." + (name == "Module9" ? "bas" : name.substr(0, 3)),
                           "Attribute VB_Name = \"" + name + "\"\r\n");
    OpenWritten(files);
    pv::frmAddProcedure dialog(env, "(All)");
    dialog.BeginShow();
    EXPECT_EQ(Items(dialog.cboModule), "clsA|Module9|");
    EXPECT_EQ(vbe.ActiveVBProject().VBComponents().Count(), 6);
}

}  // namespace
