// The Options dialog, Compact Now and the comment-stub and error-message dialogs opened from it, against
// real library files, a scripted user and an in-memory settings store.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include "dao/LibraryFixture.h"
#include "forms/ScriptedUi.h"
#include "options/RepairCompact.h"
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
        if (from)
            control->SetFocus();
        else if (eq != std::string::npos)
            dynamic_cast<forms::TextBox&>(*control).TypeText(step.substr(eq + 1));
        else if (auto* button = dynamic_cast<forms::CommandButton*>(control))
            button->Press();
        else if (auto* check = dynamic_cast<forms::CheckBox*>(control))
            check->Press();
        else
            dynamic_cast<forms::OptionButton&>(*control).Press();
    }
}

// The scripted user, also keeping the last file-dialog request.
struct FileUi : forms::ScriptedUi {
    std::string ShowOpenFileDialog(const forms::OpenFileRequest& r) override {
        request = r;
        return ScriptedUi::ShowOpenFileDialog(r);
    }
    forms::OpenFileRequest request;
};

// One user's session with the Options dialog, opened from a main dialog whose stub box is ticked and shown.
struct Session {
    Session() {
        mainStubs.SetValue(1);
        mainStubs.SetVisible(true);
    }
    // `play` is the user; `closed` tells whether the dialog closed itself.
    void Open(const std::function<void(pv::frmOptions&)>& play) {
        ui.OnShow("frmOptions", [&](forms::Form& f) {
            play(static_cast<pv::frmOptions&>(f));
            closed = !f.IsShown();
        });
        pv::frmOptions dialog(env, &mainStubs);
        ui.ShowModal(dialog);
    }
    // Options, then its button for the dialog `form`; `play` is the user there.
    void Through(const std::string& form, const std::function<void(forms::Form&)>& play) {
        ui.OnShow(form, [&](forms::Form& f) {
            play(f);
            subClosed = !f.IsShown();
        });
        Open([&](pv::frmOptions& d) { Act(d, "cmd" + form.substr(3)); });
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
    bool closed = false, subClosed = false;
    forms::Form mainDialog{"frmProcvault"};
    forms::CheckBox& mainStubs = mainDialog.Add<forms::CheckBox>("chkShowCommentStubs");
};

TEST(Options, OpeningWritesTheDefaultsBrowseFillsTheBoxCancelKeepsThemOkWritesTheThreeKeys) {
    Session s;
    std::string shown;
    s.Open([&](pv::frmOptions& d) {
        shown = d.txtCommentPrefix.Text() + "|" + (d.optAlignLeft.Value() ? "left" : "");
        d.ctlTab.SetTab(1);
        d.txtProcvaultLocation.SetText("kept.mdb");
        d.cmdFindProcvault.Press();  // the file dialog cancelled
        s.ui.QueueFileChoice("  /home/user/lib.db ");
        shown += "|" + d.txtProcvaultLocation.Text();
        d.cmdFindProcvault.Press();
        shown += "|" + d.txtProcvaultLocation.Text();
        d.cmdCancel.Press();
    });
    EXPECT_EQ(shown, "' |left|kept.mdb|/home/user/lib.db");
    EXPECT_EQ(s.ui.request.title, "Select Procvault File");
    EXPECT_EQ(s.ui.request.filter, "Databases (*.mdb)|*.mdb|All files (*)|*");
    EXPECT_EQ(s.ui.request.initialFolder, std::getenv("HOME") ? std::getenv("HOME") : "");
    EXPECT_EQ(s.Keys(), (Stored{{"CommentPrefix", "' "}, {"IndentLevel", "0"}}));
    s.Open([&](pv::frmOptions& d) {
        d.optAlignIndent.Press();
        d.txtProcvaultLocation.SetText(s.file.Path());
        d.cmdOK.Press();
    });
    EXPECT_TRUE(s.closed);
    EXPECT_EQ(s.Keys(),
              (Stored{{"CommentPrefix", "' "}, {"IndentLevel", "1"}, {"ProcvaultLocation", s.file.Path()}}));
    EXPECT_EQ(s.Said(), "");
}

TEST(Options, OkChecksThePrefixThenTheLocationAndPointsAtTheBoxToCorrect) {
    const std::string kAsk =
        "Procvault:You have not begun your comment prefix with the Visual Basic comment symbol. Would you "
        "like "
        "Procvault to add this for you?";
    const std::string kNotFound =
        "Procvault:@:\r\nThis file was not found. Please enter the correct location of the Procvault "
        "database.";
    const std::string kSelect = "|keys:{Home}+{End}";
    struct Row {
        int tab;             // shown when OK is pressed
        const char* prefix;  // typed
        const char* path;    // in the library's folder; "LIB" the library, "" nothing
        const char* sql;     // run on the library first, ';'-separated; "LOCK": held exclusively meanwhile
        int answer;          // to the question, 0: none asked
        std::string said;    // see Said; '@' stands for the path
        std::string
            state;  // the stored prefix | the location stored? || when open: the prefix box | tab | focus
    };
    // clang-format off
    const Row rows[] = {
        {1, "   ", "", "", 0, "Procvault:You must enter a prefix for block comment sections.", "' |||0|txtCommentPrefix"},
        {1, "  ;", "LIB", "", forms::vbYes, kAsk, "';|stored|"},  // leading blanks go, Yes adds the symbol
        {1, "' ", "LIB", "", 0, "", "' |stored|"},  // the default keeps its trailing blank
        {1, ";x", "", "", forms::vbNo, kAsk + kSelect, "' ||;x|0|txtCommentPrefix"},
        {0, "' ", "", "", 0, "Procvault:There is no location entered for the Procvault database. Please enter the correct "
         "location of this file." + kSelect, "' ||' |1|txtProcvaultLocation"},
        {0, "' ", "Missing.mdb", "", 0, kNotFound + kSelect, "' ||' |1|txtProcvaultLocation"},
        {0, "' ", ".", "", 0, kNotFound + kSelect, "' ||' |1|txtProcvaultLocation"},  // a folder
        {0, "' ", "LIB", "CREATE TABLE Notes (x TEXT)", 0, "Procvault:The database you entered is not a valid Procvault "
         "database. Please enter the path of a valid database." + kSelect, "' ||' |1|txtProcvaultLocation"},
        {0, "' ", "LIB", "DROP TABLE ProcedureLine;DROP TABLE ProcedureHeader;DROP TABLE Category", 0, "", "' |stored|"},
        {0, "' ", "LIB", "DROP TABLE ProcedureLine", 0, "", "' |stored|"},
        {0, "' ", "notes.txt", "", 0, "OKDatabaseLocation():Unrecognized database format '@'. 3343", "' ||' |0|cmdOK"},
        {0, "' ", "LIB", "LOCK", 0, "OKDatabaseLocation():Could not use '@'; file already in use. 3045", "' ||' |0|cmdOK"}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.prefix) + "|" + row.path + "|" + row.sql);
        Session s;
        const std::string path = row.path == std::string("LIB") ? s.file.Path()
                                 : *row.path                    ? (s.file.Dir() / row.path).string()
                                                                : "";
        if (path.ends_with(".txt")) testsupport::WriteBytes(path, "plain text\n");
        std::istringstream sql(row.sql);
        for (std::string statement; std::getline(sql, statement, ';');)
            if (statement != "LOCK") s.file.Open()->Execute(statement);
        auto holder = row.sql == std::string("LOCK") ? dao::DBEngine().OpenDatabase(path, true) : nullptr;
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
        EXPECT_EQ(s.closed, open.empty());
        // the location's refusals are errors
        EXPECT_EQ(row.tab == 1 || said.empty() || s.ui.Messages()[0].Icon() == forms::vbCritical, true);
    }
}

TEST(Options, CategoriesAndProceduresNeedALibraryInTheBoxAndHoldOkAndCancelWhileOpen) {
    for (const auto& [button, form] : {std::pair{"cmdCategories", "frmEditCategories"},
                                       std::pair{"cmdProcedures", "frmOrganizeProcedures"}}) {
        Session s;
        pv::WriteOption(s.store, pv::key::ProcvaultLocation, s.file.Path());
        bool buttonsInside = true, buttonsAfter = false;
        s.Open([&](pv::frmOptions& d) {
            s.ui.OnShow(form,
                        [&](forms::Form&) { buttonsInside = d.cmdOK.Enabled() || d.cmdCancel.Enabled(); });
            d.ctlTab.SetTab(1);
            d.txtProcvaultLocation.SetText("");
            Act(d, button);  // refused: the box is empty, although a library is stored
            d.txtProcvaultLocation.SetText(s.file.Path());
            Act(d, button);
            buttonsAfter = d.cmdOK.Enabled() && d.cmdCancel.Enabled();
        });
        EXPECT_EQ(s.ui.ShownForms(), (std::vector<std::string>{"frmOptions", form}));
        EXPECT_FALSE(buttonsInside) << form;
        EXPECT_TRUE(buttonsAfter) << form;
        EXPECT_EQ(s.Said().substr(0, 10), "Procvault:") << form;
    }
}

TEST(BackupFileName, EndsTheNameAtItsFirstDot) {
    for (const auto& [name, backup] : Stored{{"Library.mdb", "Library.bak"},
                                             {"my.lib.mdb", "my.bak"},
                                             {"Library", "Library.bak"},
                                             {".mdb", ".bak"},
                                             {"Library.", "Library.bak"}})
        EXPECT_EQ(pv::BackupFileName(name), backup) << name;
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

// The folder's file names, then every row of the library.
daotest::Table Contents(const fs::path& folder, const std::string& library) {
    daotest::Table contents(1);
    for (const auto& entry : fs::directory_iterator(folder))
        if (!entry.is_directory()) contents[0].push_back(entry.path().filename().string());
    std::sort(contents[0].begin(), contents[0].end());
    if (!fs::exists(library)) return contents;
    auto db = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(library);
    for (const char* query : {"SELECT * FROM Category", "SELECT * FROM ProcedureHeader",
                              "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID"})
        for (auto& row : daotest::Rows(*db, query)) contents.push_back(std::move(row));
    return contents;
}

TEST(CompactNow, CompactsTheStoredLibraryInPlaceOrLeavesItWhole) {
    constexpr const char* kDone = "Procvault:The Repair & Compact was completed successfully.";
    struct Row {
        const char* library;    // the stored library's file name; "" stores no location
        bool exists;            // false: the stored name is left without a file
        const char* oldBackup;  // a file put under this name first; "" none
        const char* box;        // LIB the stored path, OTHER another valid library, else typed as is
        std::string prompt;     // title: prompt of the one message; DIR stands for the folder
        bool compacted;         // else every file of the folder is left as it was
        bool held = false;      // another connection holds the library exclusively
    };
    // clang-format off
    const Row rows[] = {
        {"Library.mdb", true, "", "LIB", kDone, true},  // keeps its name and rows, leaves no backup
        {"Library.mdb", true, "Library.bak", "LIB", kDone, true},
        {"my.lib.mdb", true, "my.bak", "LIB", kDone, true},
        {"Library", true, "Library.bak", "LIB", kDone, true},
        {"Library.mdb", true, "", "OTHER", kDone, true},  // the box is only checked, the stored one compacted
        {"Gone.mdb", false, "", "OTHER", "cmdCompact_Click():Could not find file 'DIR/Gone.bak'. 3024", false},
        {"", false, ".bak", "OTHER", "cmdCompact_Click():Could not find file ''. 3024", false},
        {"Library.mdb", true, "Library.bak", "", "Procvault:There is no location entered for the Procvault "
            "database. Please enter the correct location of this file.|keys:{Home}+{End}", false},
        {"Library.bak", true, "", "LIB", "cmdCompact_Click():File already exists: the library's backup would be "
            "DIR/Library.bak itself 58", false},
        {"Library.mdb", true, "", "OTHER", "cmdCompact_Click():Could not use 'DIR/Library.bak'; file already in "
            "use. 3045", false, true}};  // put back under its name
    // clang-format on
    const fs::path cwd = fs::current_path();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.library) + " " + row.box + " " + row.prompt);
        Session s;
        const testsupport::TempDir dir;
        fs::current_path(dir.Path());  // a relative backup name would land here
        const std::string library = *row.library ? (dir / row.library).string() : "";
        const std::string other = (s.file.Dir() / "Other.mdb").string();
        MakeLibrary(other);
        if (row.exists) MakeLibrary(library);
        if (*row.library) pv::WriteOption(s.store, pv::key::ProcvaultLocation, library);
        if (*row.oldBackup) testsupport::WriteBytes(dir / row.oldBackup, "old backup");
        daotest::Table expected = Contents(dir.Path(), library);
        const auto size = row.exists ? fs::file_size(library) : 0;
        const std::string otherBytes = testsupport::ReadBytes(other);
        s.Open([&](pv::frmOptions& d) {
            auto holder = row.held ? dao::DBEngine().OpenDatabase(library, true) : nullptr;
            d.ctlTab.SetTab(1);
            d.txtProcvaultLocation.SetText(row.box == std::string("LIB")     ? library
                                           : row.box == std::string("OTHER") ? other
                                                                             : row.box);
            d.cmdCompact.Press();
        });
        fs::current_path(cwd);
        std::string prompt = row.prompt;
        if (const auto at = prompt.find("DIR"); at != std::string::npos)
            prompt.replace(at, 3, dir.Path().string());
        EXPECT_EQ(s.Said(), prompt);
        EXPECT_EQ(s.ui.GetMousePointer(), forms::vbDefault);
        if (row.compacted) std::erase(expected[0], row.oldBackup);
        EXPECT_EQ(Contents(dir.Path(), library), expected);
        EXPECT_EQ(row.exists && fs::file_size(library) < size, row.compacted);
        EXPECT_EQ(testsupport::ReadBytes(other), otherBytes);
    }
}

// The stub dialog: "S" or "N" for the option chosen, then per line in header order: check value, "e"/"d"
// for the box's enabled state and "+"/"-" for its preview label's; then the name box (text, e/d) and the
// name's preview label (caption, +/-). The message dialog: its text, focused control and instructions.
std::string Shown(const forms::Form& form) {
    if (const auto* m = dynamic_cast<const pv::frmCustomizeErrorMessage*>(&form))
        return m->txtErrorMsg.Text() + "|" + (m->ActiveControl() ? m->ActiveControl()->Name() : "") + "|" +
               m->lblInstructions.Caption();
    const auto& d = dynamic_cast<const pv::frmCommentStubs&>(form);
    std::string out = d.optShowCommentStubs.Value() ? "S" : (d.optNoCommentStubs.Value() ? "N" : "?");
    const std::pair<const forms::CheckBox*, const forms::Label*> lines[] = {
        {&d.chkProcedureName, &d.lblProcedureName}, {&d.chkCreatedBy, &d.lblCreatedBy},
        {&d.chkDateCreated, &d.lblDateCreated},     {&d.chkPurpose, &d.lblPurpose},
        {&d.chkParameters, &d.lblParameters},       {&d.chkOutput, &d.lblOutput}};
    for (const auto& [check, label] : lines)
        out += " " + std::to_string(check->Value()) + (check->Enabled() ? "e" : "d") +
               (label->Enabled() ? "+" : "-");
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
    const Stored kInitial = With(kSixOff, {{"ShowCommentStubs", "0"}, {"CreatedByName", ""}});
    const std::string kNoLines =
        "Procvault:You have elected to display comment stubs, but have not chosen any "
        "comment lines to display. Is this OK?";
    const std::string kOff = "N 0d- 0d- 0d- 0d- 0d- 0d- []d []-", kA = std::string(29, 'a') + "b";
    const std::string kHow = "|To include the procedure name in the message, use the tag <NAME>.";
    const std::string kDefault = "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"";
    const std::string kNoName =
        "Procvault:You have not included the procedure name in the message. Is this OK?";
    const std::string kLong = "Log \"<NAME>\" '" + std::string(86, 'x');
    const Stored kOld = {{"ErrorMessage", "Old <NAME>"}};
    struct Row {
        const char* form;
        Stored stored;
        std::string script;  // the user's steps, see Act; '?' records the dialog as shown then
        int answer;          // to the question asked, 0 when none
        std::string shown;   // what the '?'s recorded, joined by " / "
        bool closed;
        Stored after;               // every key the two dialogs own, afterwards
        std::string said;           // see Said
        std::pair<int, bool> main;  // the main dialog's check box: value, visible
    };
    // clang-format off
    const Row rows[] = {
        {kStubs, {}, "?|cmdCancel", 0, kOff, true, kInitial, "", {1, true}},
        {kStubs, With(kTwo, {{"ShowCommentStubs", "False"}}), "?|cmdCancel", 0, kOff, true, With(kTwo, {{"ShowCommentStubs", "False"}}), "", {0, false}},
        // A flag that is no number is reported, the rest stays usable.
        {kStubs, With(kTwo, {{"ShowPurpose", "yes"}}), "?|cmdCancel", 0, "S 1e+ 0e- 0e- 0e- 0e- 0e- [Ann]d [Ann]-", true,
         With(kTwo, {{"ShowPurpose", "yes"}}), "Form_Load():Type mismatch 13", {1, true}},
        {kStubs, kTwo, "?|chkProcedureName|chkOutput|cmdOK", forms::vbYes, "S 1e+ 0e- 0e- 0e- 0e- 1e+ [Ann]d [Ann]-", true,
         With(kTwo, With(kSixOff, {{"ShowCommentStubs", "True"}})), kNoLines, {1, true}},
        {kStubs, kTwo, "chkProcedureName|chkOutput|cmdOK", forms::vbNo, "", false, kTwo, kNoLines, {1, true}},
        {kStubs, kTwo, "optNoCommentStubs|cmdOK", 0, "", true, With(kTwo, With(kSixOff, {{"ShowCommentStubs", "False"}})), "", {0, false}},
        {kStubs, kTwo, "optNoCommentStubs|cmdCancel", 0, "", true, kTwo, "", {0, false}},  // the main box is off already
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
        {kMessage, kOld, "txtErrorMsg=Debug.Print Err|cmdOK", forms::vbYes, "", true, {{"ErrorMessage", "Debug.Print Err"}}, kNoName, {1, true}},
        // The tag in another case is no tag; No selects the text.
        {kMessage, kOld, "txtErrorMsg=Log \"<name>\"|cmdOK|?", forms::vbNo, "Log \"<name>\"|txtErrorMsg" + kHow, false, kOld,
         kNoName + "|keys:{Home}+{End}", {1, true}},
        {kMessage, kOld, "txtErrorMsg=" + kLong + "yyy|cmdOK", 0, "", true, {{"ErrorMessage", kLong}}, "", {1, true}},  // 100 at most
        {kMessage, kOld, "?|cmdRestoreDefault|?|cmdCancel", 0, "Old <NAME>|txtErrorMsg" + kHow + " / " + kDefault + "|cmdRestoreDefault" + kHow,
         true, kOld, "", {1, true}},
        {kMessage, kOld, "cmdRestoreDefault|cmdOK", 0, "", true, {{"ErrorMessage", kDefault}}, "", {1, true}}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        Session s;
        for (const auto& [key, value] : row.stored) pv::WriteOption(s.store, key, value);
        if (row.answer) s.ui.QueueAnswer(row.answer);
        std::string shown;
        s.Through(row.form, [&](forms::Form& d) {
            std::istringstream parts(row.script);
            for (std::string part; std::getline(parts, part, '?');) {
                Act(d, part);
                if (!parts.eof()) shown += (shown.empty() ? "" : " / ") + Shown(d);
            }
        });
        Stored after = s.Keys();
        after.erase("CommentPrefix");  // the Options dialog's own defaults, written when it opens
        after.erase("IndentLevel");
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(s.subClosed, row.closed);
        EXPECT_EQ(after, row.after);
        EXPECT_EQ(s.Said(), row.said);
        EXPECT_EQ(std::make_pair(s.mainStubs.Value(), s.mainStubs.Visible()), row.main);
    }
}

}  // namespace
