// The Options dialog, Compact Now and the dialogs opened from it, on real library files with a scripted user.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "dao/LibraryFixture.h"
#include "forms/ScriptedUi.h"
#include "options/frmCommentStubs.h"
#include "options/frmCustomizeErrorMessage.h"
#include "options/frmOptions.h"
#include "settings/Options.h"

namespace {

namespace fs = std::filesystem;

using Stored = std::map<std::string, std::string>;

// Plays the user on `form`: '|'-separated steps, each a control to press, "@name" to focus one, or
// "name=text" to type into a text box.
void Act(forms::Form& form, const std::string& script) {
    std::istringstream steps(script);
    for (std::string step; std::getline(steps, step, '|');) {
        if (step.empty()) continue;
        const std::size_t from = step[0] == '@', eq = step.find('=');
        forms::Control* control =
            form.FindControl(step.substr(from, eq == std::string::npos ? eq : eq - from));
        ASSERT_NE(control, nullptr) << step;
        // clang-format off
        from ? control->SetFocus()
        : eq != std::string::npos ? dynamic_cast<forms::TextBox&>(*control).TypeText(step.substr(eq + 1))
        : step.starts_with("cmd") ? dynamic_cast<forms::CommandButton&>(*control).Press()
        : step.starts_with("chk") ? dynamic_cast<forms::CheckBox&>(*control).Press()
        : dynamic_cast<forms::OptionButton&>(*control).Press();
        // clang-format on
    }
}

// The scripted user, also keeping the last file-dialog request.
struct FileUi : forms::ScriptedUi {
    std::string ShowOpenFileDialog(const forms::OpenFileRequest& r) override {
        request = r.title + "|" + r.filter + "|" + r.initialFolder;
        return ScriptedUi::ShowOpenFileDialog(r);
    }
    std::string request;
};

// One user's session with the Options dialog, opened from a main dialog whose stub box is ticked and shown.
struct Session {
    Session() { mainStubs.SetValue(1); }
    // `play` is the user.
    void Open(const std::function<void(pv::frmOptions&)>& play) {
        ui.OnShow("frmOptions", [&](forms::Form& f) { play(static_cast<pv::frmOptions&>(f)); });
        pv::frmOptions dialog(env, &mainStubs);
        ui.ShowModal(dialog);
    }
    Stored Keys() const {
        Stored out;
        for (const auto& [key, value] : store.Values()) out[std::get<2>(key)] = value;
        return out;
    }
    // The messages shown ("title:prompt") and the keys sent, in order.
    std::string Said() const {
        std::string out;
        for (const auto& entry : ui.Transcript())
            if (entry.starts_with("msgbox:") || entry.starts_with("keys:"))
                out += (out.empty() ? "" : "|") + entry.substr(entry.starts_with("msgbox:") ? 7 : 0);
        return out;
    }

    daotest::LibraryFile file;
    FileUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    forms::Form mainDialog{"frmProcvault"};
    forms::CheckBox& mainStubs = mainDialog.Add<forms::CheckBox>("chkShowCommentStubs");
};

const std::string kNoLocation =
    "Procvault:There is no location entered for the Procvault database. Please enter the correct location of "
    "this file.|keys:{Home}+{End}";

TEST(Options, OpeningWritesTheDefaultsBrowseFillsTheBoxCancelKeepsThemOkWritesTheThreeKeys) {
    Session s;
    std::string shown;
    s.Open([&](pv::frmOptions& d) {
        shown = d.txtCommentPrefix.Text() + "|" + (d.optAlignLeft.Value() ? "left" : "");
        d.ctlTab.SetTab(1);
        d.txtProcvaultLocation.SetText("kept.mdb");
        for (const char* choice : {"", "  /home/user/lib.db "}) {  // the first file dialog cancelled
            s.ui.QueueFileChoice(choice);
            d.cmdFindProcvault.Press();
            shown += "|" + d.txtProcvaultLocation.Text();
        }
        d.cmdCancel.Press();
    });
    EXPECT_EQ(shown, "' |left|kept.mdb|/home/user/lib.db");
    EXPECT_EQ(s.ui.request, std::string("Select Procvault File|Databases (*.mdb)|*.mdb|All files (*)|*|") +
                                (std::getenv("HOME") ? std::getenv("HOME") : ""));
    EXPECT_EQ(s.Keys(), (Stored{{"CommentPrefix", "' "}, {"IndentLevel", "0"}}));
    s.Open([&](pv::frmOptions& d) {
        d.optAlignIndent.Press();
        d.txtProcvaultLocation.SetText(s.file.Path());
        d.cmdOK.Press();
    });
    EXPECT_EQ(s.Keys(),
              (Stored{{"CommentPrefix", "' "}, {"IndentLevel", "1"}, {"ProcvaultLocation", s.file.Path()}}));
    EXPECT_EQ(s.Said(), "");
}

TEST(Options, OkChecksThePrefixThenTheLocationAndPointsAtTheBoxToCorrect) {
    const std::string kAsk =
        "Procvault:You have not begun your comment prefix with the Visual Basic comment symbol. "
        "Would you like Procvault to add this for you?";
    const std::string kNotFound =
        "Procvault:@:\r\nThis file was not found. Please enter the correct location of the Procvault "
        "database.|keys:{Home}+{End}";
    // clang-format off
    // Tab at OK, prefix typed, path in the library's folder, SQL run first, answer (0: none), what was said ('@': the
    // path), then stored prefix|"stored" if the location is|while open: prefix|tab|focus. More files: bad-input.sh.
    struct Row { int tab; const char *prefix, *path, *sql; int answer; std::string said, state; };
    const Row rows[] = {
        {1, "   ", "", "", 0, "Procvault:You must enter a prefix for block comment sections.", "' |||0|txtCommentPrefix"},
        {1, "  ;", "Library.mdb", "", forms::vbYes, kAsk, "';|stored|"},  // leading blanks go, Yes adds the symbol
        {1, ";x", "", "", forms::vbNo, kAsk + "|keys:{Home}+{End}", "' ||;x|0|txtCommentPrefix"},
        {0, "' ", "", "", 0, kNoLocation, "' ||' |1|txtProcvaultLocation"},
        // A second line would be inserted as a live statement; a location is one line too.
        {1, "'\r\nX = 1", "", "", 0, std::string("Procvault:") + pv::kNotOneLine, "' ||'\r\nX = 1|0|txtCommentPrefix"},
        {1, "' ", "Lib\nrary.mdb", "", 0, std::string("Procvault:") + pv::kNotOneLine + "|keys:{Home}+{End}", "' ||' |1|txtProcvaultLocation"},
        {0, "' ", "Missing.mdb", "", 0, kNotFound, "' ||' |1|txtProcvaultLocation"},
        {0, "' ", "Library.mdb", "CREATE TABLE Notes (x TEXT)", 0, "Procvault:The database you entered is not a valid "
         "Procvault database. Please enter the path of a valid database.|keys:{Home}+{End}", "' ||' |1|txtProcvaultLocation"},
        {0, "' ", "Library.mdb", "DROP TABLE ProcedureLine", 0, "", "' |stored|"},  // a missing table is made again
        {0, "' ", "notes.txt", "", 0, "OKDatabaseLocation():Unrecognized database format '@'. 3343", "' ||' |0|cmdOK"},
        // "server": the test's server library, on the server rows only.
        {0, "' ", "server", "", 0, "", "' |stored|"},
        {0, "' ", "server", "CREATE TABLE Notes (x TEXT)", 0, "Procvault:The database you entered is not a valid "
         "Procvault database. Please enter the path of a valid database.|keys:{Home}+{End}", "' ||' |1|txtProcvaultLocation"}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.prefix) + "|" + row.path + "|" + row.sql);
        const bool server = std::string(row.path) == "server";
        // Each row's library is the file or the server one of the run, never both.
        if (server != daotest::OnServer() && (server || std::string(row.path) == "Library.mdb")) continue;
        Session s;
        const std::string path = server ? s.file.Path() : *row.path ? (s.file.Dir() / row.path).string() : "";
        if (path.ends_with(".txt")) testsupport::WriteBytes(path, "plain text\n");
        if (*row.sql) s.file.Open()->Execute(row.sql);
        if (row.answer) s.ui.QueueAnswer(row.answer);
        std::string open;
        s.Open([&](pv::frmOptions& d) {
            d.ctlTab.SetTab(row.tab);
            d.txtCommentPrefix.SetText(row.prefix);
            d.txtProcvaultLocation.SetText(path);
            d.cmdOK.Press();
            if (d.IsShown())
                open = d.txtCommentPrefix.Text() + "|" + std::to_string(d.ctlTab.Tab()) + "|" +
                       (d.ActiveControl() ? d.ActiveControl()->Name() : "");
        });
        std::string said = row.said;
        if (const auto at = said.find('@'); at != std::string::npos) said.replace(at, 1, path);
        EXPECT_EQ(s.Said(), said);
        EXPECT_EQ(s.Keys()["CommentPrefix"] + "|" + (s.Keys().count("ProcvaultLocation") ? "stored" : "") +
                      "|" + open,
                  row.state);
        EXPECT_TRUE(row.tab || said.empty() || s.ui.Messages()[0].Icon() == forms::vbCritical);  // errors
    }
}

// The sample rows, and free pages left by rows deleted again for compaction to drop.
void MakeLibrary(const std::string& path) {
    dao::CreateLibrary(path);
    auto db = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(path);
    daotest::FillSample(*db);
    db->Execute(
        "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
        "SELECT i+1 FROM n WHERE i<400) SELECT 1, printf(\"%0400d\", i) FROM n");
    db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureLineID > 7");
}

// The folder's file names but `except`, then every row of the library.
std::string Contents(const fs::path& folder, const std::string& library, const std::string& except = "") {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    names.erase(except);
    if (!fs::exists(library)) return testing::PrintToString(names);
    auto db = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(library);
    return testing::PrintToString(names) + daotest::Flat(*db, "SELECT * FROM Category") +
           daotest::Flat(*db, "SELECT * FROM ProcedureHeader") +
           daotest::Flat(*db, "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID");
}

TEST(CompactNow, CompactsTheStoredLibraryInPlaceOrLeavesItWhole) {
    constexpr const char* kDone = "Procvault:The Repair & Compact was completed successfully.";
    // clang-format off
    // Stored library (made unless Gone.mdb; "": none), old backup, box (LIB: the stored path, OTHER: another library),
    // what was said (DIR: the folder), compacted (else every file stays as it was), held exclusively meanwhile,
    // the name of a symbolic link to the library that is stored instead (and must stay a link).
    struct Row { const char *library, *oldBackup, *box; std::string prompt; bool compacted, held = false; const char* link = ""; };
    const Row rows[] = {
        {"Library.mdb", "", "LIB", kDone, true},  // keeps its name and rows, leaves no backup
        // The backup's name ends at the first dot; one there already goes.
        {"Library.mdb", "Library.bak", "LIB", kDone, true}, {"my.lib.mdb", "my.bak", "LIB", kDone, true},
        {"Library", "Library.bak", "LIB", kDone, true}, {".mdb", ".bak", "LIB", kDone, true}, {"Library.", "Library.bak", "LIB", kDone, true},
        {"Library.mdb", "", "OTHER", kDone, true},  // the box is only checked, the stored one compacted
        {"Gone.mdb", "", "OTHER", "cmdCompact_Click():Could not find file 'DIR/Gone.bak'. 3024", false},
        {"", ".bak", "OTHER", "cmdCompact_Click():Could not find file ''. 3024", false},
        {"Library.mdb", "Library.bak", "", kNoLocation, false},
        {"Library.bak", "", "LIB", "cmdCompact_Click():File already exists: the library's backup would be "
            "DIR/Library.bak itself 58", false},
        {"Library.mdb", "", "OTHER", "cmdCompact_Click():Could not use 'DIR/Library.mdb'; file already in "
            "use. 3045", false, true},  // left under its name, no backup made
        // The link's target is compacted, its backup beside it; the link is not replaced by a plain file.
        {"Library.mdb", "Library.bak", "LIB", kDone, true, false, "Link.mdb"}};
    // clang-format on
    const fs::path cwd = fs::current_path();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.library) + " " + row.box + " " + row.prompt);
        Session s;
        const testsupport::TempDir dir;
        fs::current_path(dir.Path());  // a relative backup name would land here
        const std::string library = *row.library ? (dir / row.library).string() : "";
        const std::string other = (s.file.Dir() / "Other.mdb").string();
        const bool exists = *row.library && library.find("Gone") == std::string::npos;
        MakeLibrary(other);
        if (exists) MakeLibrary(library);
        const std::string stored = *row.link ? (dir / row.link).string() : library;
        if (*row.link) fs::create_symlink(row.library, stored);
        if (*row.library) pv::WriteOption(s.store, pv::key::ProcvaultLocation, stored);
        if (*row.oldBackup) testsupport::WriteBytes(dir / row.oldBackup, "old backup");
        const std::string expected = Contents(dir.Path(), library, row.compacted ? row.oldBackup : "");
        const auto size = exists ? fs::file_size(library) : 0;
        const std::string otherBytes = testsupport::ReadBytes(other);
        s.Open([&](pv::frmOptions& d) {
            auto holder = row.held ? dao::DBEngine().OpenDatabase(library, true) : nullptr;
            d.ctlTab.SetTab(1);
            d.txtProcvaultLocation.SetText(*row.box == 'L' ? stored : *row.box == 'O' ? other : "");
            d.cmdCompact.Press();
        });
        fs::current_path(cwd);
        std::string prompt = row.prompt;
        if (const auto at = prompt.find("DIR"); at != std::string::npos)
            prompt.replace(at, 3, dir.Path().string());
        EXPECT_EQ(s.Said(), prompt);
        EXPECT_EQ(s.ui.GetMousePointer(), forms::vbDefault);
        EXPECT_EQ(Contents(dir.Path(), library), expected);
        EXPECT_EQ(exists && fs::file_size(library) < size, row.compacted);
        EXPECT_EQ(fs::is_symlink(stored), *row.link != '\0');
        EXPECT_EQ(testsupport::ReadBytes(other), otherBytes);
    }
}

// The stub dialog: S/N for the option chosen, per line its box's value, e/d enabled, its label's +/- enabled,
// then the name box and label likewise. The message dialog: its text, focused control and instructions.
std::string Shown(const forms::Form& form) {
    if (const auto* m = dynamic_cast<const pv::frmCustomizeErrorMessage*>(&form))
        return m->txtErrorMsg.Text() + "|" + (m->ActiveControl() ? m->ActiveControl()->Name() : "") + "|" +
               m->lblInstructions.Caption();
    const auto& d = dynamic_cast<const pv::frmCommentStubs&>(form);
    std::string out = d.optShowCommentStubs.Value() ? "S" : (d.optNoCommentStubs.Value() ? "N" : "?");
    for (const std::string line :
         {"ProcedureName", "CreatedBy", "DateCreated", "Purpose", "Parameters", "Output"}) {
        const auto& check = dynamic_cast<const forms::CheckBox&>(*d.FindControl("chk" + line));
        out += " " + std::to_string(check.Value()) + (check.Enabled() ? "e" : "d") +
               (d.FindControl("lbl" + line)->Enabled() ? "+" : "-");
    }
    out += " [" + d.txtCreatedByName.Text() + "]" + (d.txtCreatedByName.Enabled() ? "e" : "d");
    return out + " [" + d.lblCreatedByName.Caption() + "]" + (d.lblCreatedByName.Enabled() ? "+" : "-");
}

Stored With(Stored keys, const Stored& changes) {
    for (const auto& [key, value] : changes) keys[key] = value;
    return keys;
}

TEST(SubDialogs,
     ShowTheStoredSettingsCheckThemAndOnlyOkWritesThemWhileTheStubOptionsActOnTheMainDialogAtOnce) {
    const char *kStubs = "frmCommentStubs", *kMessage = "frmCustomizeErrorMessage";
    const Stored kTwo = {{"ShowCommentStubs", "True"}, {"ShowProcedureName", "1"}, {"ShowCreatedBy", "0"},
                         {"CreatedByName", "Ann"},     {"ShowDateCreated", "0"},   {"ShowPurpose", "0"},
                         {"ShowParameters", "0"},      {"ShowOutput", "1"}};
    const Stored kSixOff = {{"ShowProcedureName", "0"}, {"ShowCreatedBy", "0"},  {"ShowDateCreated", "0"},
                            {"ShowPurpose", "0"},       {"ShowParameters", "0"}, {"ShowOutput", "0"}};
    const Stored kInitial = With(kSixOff, {{"ShowCommentStubs", "0"}, {"CreatedByName", ""}}),
                 kOld = {{"ErrorMessage", "Old <NAME>"}};
    const std::string kNoLines =
        "Procvault:You have elected to display comment stubs, but have not chosen any comment "
        "lines to display. Is this OK?";
    const std::string kOff = "N 0d- 0d- 0d- 0d- 0d- 0d- []d []-", kA = std::string(29, 'a') + "b";
    const std::string kHow = "|To include the procedure name in the message, use the tag <NAME>.";
    const std::string kDefault = "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"";
    const std::string kNoName =
        "Procvault:You have not included the procedure name in the message. Is this OK?";
    const std::string kLong = "Log \"<NAME>\" '" + std::string(86, 'x');
    // clang-format off
    // The user's steps (see Act; each '?' records the dialog as shown, joined by " / "), the answer (0: none), every
    // key the two dialogs own afterwards, and the main dialog's box: value, visible.
    struct Row { const char* form; Stored stored; std::string script; int answer;
        std::string shown; bool closed; Stored after; std::string said; std::pair<int, bool> main; };
    const Row rows[] = {
        {kStubs, {}, "?|cmdCancel", 0, kOff, true, kInitial, "", {1, true}},
        {kStubs, With(kTwo, {{"ShowCommentStubs", "False"}}), "?|cmdCancel", 0, kOff, true, With(kTwo, {{"ShowCommentStubs", "False"}}), "", {0, false}},
        // A flag that is no number is reported, the rest stays usable.
        {kStubs, With(kTwo, {{"ShowPurpose", "yes"}}), "?|cmdCancel", 0, "S 1e+ 0e- 0e- 0e- 0e- 0e- [Ann]d [Ann]-", true,
         With(kTwo, {{"ShowPurpose", "yes"}}), "Form_Load():Type mismatch 13", {1, true}},
        {kStubs, kTwo, "?|chkProcedureName|chkOutput|cmdOK", forms::vbYes, "S 1e+ 0e- 0e- 0e- 0e- 1e+ [Ann]d [Ann]-", true,
         With(kTwo, With(kSixOff, {{"ShowCommentStubs", "True"}})), kNoLines, {1, true}},
        {kStubs, kTwo, "optNoCommentStubs|cmdOK", 0, "", true, With(kTwo, With(kSixOff, {{"ShowCommentStubs", "False"}})), "", {0, false}},
        {kStubs, kTwo, "optNoCommentStubs|cmdCancel", 0, "", true, kTwo, "", {0, false}},  // the main box is off already
        {kStubs, With(kTwo, {{"ShowCreatedBy", "1"}, {"ShowPurpose", "1"}}), "?|chkPurpose|?|cmdOK", 0,
         "S 1e+ 1e+ 0e- 1e+ 0e- 1e+ [Ann]e [Ann]+ / S 1e+ 1e+ 0e- 0e- 0e- 1e+ [Ann]e [Ann]+", true,
         With(kTwo, {{"ShowCreatedBy", "1"}, {"ShowPurpose", "0"}}), "", {1, true}},
        {kStubs, kTwo, "chkOutput|chkCreatedBy|@txtCreatedByName|txtCreatedByName=Bob Smith|chkParameters|cmdOK", 0, "", true,
         With(kTwo, {{"ShowOutput", "0"}, {"ShowCreatedBy", "1"}, {"CreatedByName", "Bob Smith"}, {"ShowParameters", "1"}}), "", {1, true}},
        // Created By goes with the name box and its labels; the name keeps thirty characters. The first option
        // unticks and hides the main box, the second shows it again unticked.
        {kStubs, {}, "optShowCommentStubs|chkCreatedBy|@txtCreatedByName|txtCreatedByName=" + kA + "cd|@chkDateCreated|?|"
         "chkCreatedBy|?|optNoCommentStubs|optShowCommentStubs|?|cmdCancel", 0, "S 0e- 1e+ 0e- 0e- 0e- 0e- [" + kA + "]e [" + kA +
         "]+ / S 0e- 0e- 0e- 0e- 0e- 0e- [" + kA + "]d [" + kA + "]- / S 0e- 0e- 0e- 0e- 0e- 0e- [" + kA + "]d [" + kA + "]-",
         true, kInitial, "", {0, true}},
        {kMessage, {}, "?|cmdCancel", 0, kDefault + "|txtErrorMsg" + kHow, true, {{"ErrorMessage", kDefault}}, "", {1, true}},
        {kMessage, kOld, "txtErrorMsg=|cmdOK|?", 0, "|txtErrorMsg" + kHow, false, kOld, "Procvault:You must enter an error message.", {1, true}},
        // The tag in another case is no tag; No selects the text.
        {kMessage, kOld, "txtErrorMsg=Log \"<name>\"|cmdOK|?", forms::vbNo, "Log \"<name>\"|txtErrorMsg" + kHow, false, kOld,
         kNoName + "|keys:{Home}+{End}", {1, true}},
        {kMessage, kOld, "txtErrorMsg=Log \"<NAME>\"\r\nKill \"C:\\x\"|cmdOK|?", 0, "Log \"<NAME>\"\r\nKill \"C:\\x\"|txtErrorMsg" + kHow,
         false, kOld, std::string("Procvault:") + pv::kNotOneLine, {1, true}},
        {kStubs, kTwo, "chkCreatedBy|@txtCreatedByName|txtCreatedByName=Bob\nKill|cmdOK", 0, "", false, kTwo,
         std::string("Procvault:") + pv::kNotOneLine + "|keys:{Home}+{End}", {1, true}},
        {kMessage, kOld, "txtErrorMsg=" + kLong + "yyy|cmdOK", 0, "", true, {{"ErrorMessage", kLong}}, "", {1, true}},  // 100 at most
        {kMessage, kOld, "?|cmdRestoreDefault|?|cmdCancel", 0, "Old <NAME>|txtErrorMsg" + kHow + " / " + kDefault + "|cmdRestoreDefault" + kHow,
         true, kOld, "", {1, true}}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        Session s;
        for (const auto& [key, value] : row.stored) pv::WriteOption(s.store, key, value);
        if (row.answer) s.ui.QueueAnswer(row.answer);
        std::string shown;
        bool closed = false;
        s.ui.OnShow(row.form, [&](forms::Form& d) {
            std::istringstream parts(row.script);
            for (std::string part; std::getline(parts, part, '?');) {
                Act(d, part);
                if (!parts.eof()) shown += (shown.empty() ? "" : " / ") + Shown(d);
            }
            closed = !d.IsShown();
        });
        s.Open([&](pv::frmOptions& d) { Act(d, "cmd" + std::string(row.form).substr(3)); });
        Stored after = s.Keys();
        for (const char* own : {"CommentPrefix", "IndentLevel"})
            after.erase(own);  // written as Options opens
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(closed, row.closed);
        EXPECT_EQ(after, row.after);
        EXPECT_EQ(s.Said(), row.said);
        EXPECT_EQ(std::make_pair(s.mainStubs.Value(), s.mainStubs.Visible()), row.main);
    }
}

}  // namespace
