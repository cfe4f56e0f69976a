// The comment-stub and error-message dialogs, opened from the Options dialog,
// against a scripted user and an in-memory settings store.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "forms/ScriptedUi.h"
#include "options/frmCommentStubs.h"
#include "options/frmCustomizeErrorMessage.h"
#include "options/frmOptions.h"
#include "settings/Options.h"

namespace {

using Stored = std::map<std::string, std::string>;

constexpr const char* kNoLines =
    "You have elected to display comment stubs, but have not chosen any comment lines to display. Is this "
    "OK?";
constexpr const char* kNoName = "You have not included the procedure name in the message. Is this OK?";
constexpr const char* kDefault = "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"";

class SubDialogs : public testing::Test {
protected:
    SubDialogs() {
        mainStubs.SetValue(1);
        mainStubs.SetVisible(true);
    }
    void Seed(const Stored& keys) {
        for (const auto& [k, v] : keys) pv::WriteOption(store, k, v);
    }
    // Options, then its button for `form`; `play` is the user there.
    template <class Dialog>
    void Open(const char* form, forms::CommandButton& (*button)(pv::frmOptions&),
              const std::function<void(Dialog&)>& play) {
        ui.OnShow("frmOptions", [&](forms::Form& f) { button(static_cast<pv::frmOptions&>(f)).Press(); });
        ui.OnShow(form, [&](forms::Form& f) {
            play(static_cast<Dialog&>(f));
            closed = !f.IsShown();
        });
        pv::frmOptions options(env, &mainStubs);
        ui.ShowModal(options);
    }
    void Stubs(const std::function<void(pv::frmCommentStubs&)>& play) {
        Open<pv::frmCommentStubs>(
            "frmCommentStubs", [](pv::frmOptions& o) -> forms::CommandButton& { return o.cmdCommentStubs; },
            play);
    }
    void Message(const std::function<void(pv::frmCustomizeErrorMessage&)>& play) {
        Open<pv::frmCustomizeErrorMessage>(
            "frmCustomizeErrorMessage",
            [](pv::frmOptions& o) -> forms::CommandButton& { return o.cmdCustomizeErrorMessage; }, play);
    }
    // The keys the two dialogs own; the Options dialog writes its own defaults when it opens.
    Stored Keys() const {
        Stored out;
        for (const auto& [key, value] : store.Values()) out[std::get<2>(key)] = value;
        out.erase("CommentPrefix");
        out.erase("IndentLevel");
        return out;
    }
    std::string Prompts() const {
        std::string out;
        for (const auto& m : ui.Messages()) out += (out.empty() ? "" : "|") + m.title + ": " + m.prompt;
        return out;
    }

    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    forms::Form mainDialog{"frmProcvault"};
    forms::CheckBox& mainStubs = mainDialog.Add<forms::CheckBox>("chkShowCommentStubs");
    bool closed = false;
};

// "S" or "N" for the option chosen, then per line in header order: check value,
// "e"/"d" for the box's enabled state and "+"/"-" for its preview label's; then
// the name box (text, e/d) and the name's preview label (caption, +/-).
std::string Shown(const pv::frmCommentStubs& d) {
    std::string out = d.optShowCommentStubs.Value() ? "S" : (d.optNoCommentStubs.Value() ? "N" : "?");
    const std::pair<const forms::CheckBox*, const forms::Label*> lines[] = {
        {&d.chkProcedureName, &d.lblProcedureName}, {&d.chkCreatedBy, &d.lblCreatedBy},
        {&d.chkDateCreated, &d.lblDateCreated},     {&d.chkPurpose, &d.lblPurpose},
        {&d.chkParameters, &d.lblParameters},       {&d.chkOutput, &d.lblOutput}};
    for (const auto& [check, label] : lines)
        out += " " + std::to_string(check->Value()) + (check->Enabled() ? "e" : "d") +
               (label->Enabled() ? "+" : "-");
    out += " [" + d.txtCreatedByName.Text() + "]" + (d.txtCreatedByName.Enabled() ? "e" : "d");
    out += " [" + d.lblCreatedByName.Caption() + "]" + (d.lblCreatedByName.Enabled() ? "+" : "-");
    return out;
}

const Stored kShowTwo = {{"ShowCommentStubs", "True"}, {"ShowProcedureName", "1"}, {"ShowCreatedBy", "0"},
                         {"CreatedByName", "Ann"},     {"ShowDateCreated", "0"},   {"ShowPurpose", "0"},
                         {"ShowParameters", "0"},      {"ShowOutput", "1"}};
const Stored kInitial = {{"ShowCommentStubs", "0"}, {"ShowProcedureName", "0"}, {"ShowCreatedBy", "0"},
                         {"CreatedByName", ""},     {"ShowDateCreated", "0"},   {"ShowPurpose", "0"},
                         {"ShowParameters", "0"},   {"ShowOutput", "0"}};

struct OpeningRow {
    const char* name;
    Stored stored;
    const char* shown;
    Stored after;        // the store once the dialog was cancelled
    const char* report;  // "" when none
};

class StubsOpening : public SubDialogs, public testing::WithParamInterface<OpeningRow> {};

TEST_P(StubsOpening, ShowsTheStoredHeaderAndCancelWritesNothingMore) {
    Seed(GetParam().stored);
    std::string shown;
    Stubs([&](pv::frmCommentStubs& d) {
        shown = Shown(d);
        d.cmdCancel.Press();
    });
    EXPECT_EQ(shown, GetParam().shown);
    EXPECT_TRUE(closed);
    EXPECT_EQ(Keys(), GetParam().after);
    EXPECT_EQ(Prompts(), GetParam().report);
}

Stored With(Stored keys, const std::string& key, const std::string& value) {
    keys[key] = value;
    return keys;
}

INSTANTIATE_TEST_SUITE_P(
    Openings, StubsOpening,
    testing::Values(
        OpeningRow{"EmptyStoreWritesTheInitialKeys", {}, "N 0d- 0d- 0d- 0d- 0d- 0d- []d []-", kInitial, ""},
        OpeningRow{"FalseDisablesTheLines", With(kShowTwo, "ShowCommentStubs", "False"),
                   "N 0d- 0d- 0d- 0d- 0d- 0d- []d []-", With(kShowTwo, "ShowCommentStubs", "False"), ""},
        OpeningRow{"TrueShowsExactlyTheStoredLines", kShowTwo, "S 1e+ 0e- 0e- 0e- 0e- 1e+ [Ann]d [Ann]-",
                   kShowTwo, ""},
        OpeningRow{"AFlagThatIsNoNumberIsReportedAndTheRestStaysUsable", With(kShowTwo, "ShowPurpose", "yes"),
                   "S 1e+ 0e- 0e- 0e- 0e- 0e- [Ann]d [Ann]-", With(kShowTwo, "ShowPurpose", "yes"),
                   "Form_Load(): Type mismatch 13"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SaveRow {
    const char* name;
    std::function<void(pv::frmCommentStubs&)> play;
    int answer;  // to the no-lines question, 0 when none is asked
    bool closed;
    Stored saved;  // on top of kShowTwo
    int mainValue;
    bool mainVisible;
};

class StubsSave : public SubDialogs, public testing::WithParamInterface<SaveRow> {};

TEST_P(StubsSave, OkWritesTheHeaderKeysAndTheOptionsActOnTheMainDialogAtOnce) {
    const SaveRow& row = GetParam();
    Seed(kShowTwo);
    if (row.answer) ui.QueueAnswer(row.answer);
    Stubs([&](pv::frmCommentStubs& d) { row.play(d); });
    EXPECT_EQ(closed, row.closed);
    Stored expected = kShowTwo;
    for (const auto& [k, v] : row.saved) expected[k] = v;
    EXPECT_EQ(Keys(), expected);
    EXPECT_EQ(Prompts(), row.answer ? std::string("Procvault: ") + kNoLines : "");
    EXPECT_EQ(std::make_pair(mainStubs.Value(), mainStubs.Visible()),
              std::make_pair(row.mainValue, row.mainVisible));
}

void Untick(pv::frmCommentStubs& d) {
    d.chkProcedureName.Press();
    d.chkOutput.Press();
}

const Stored kSixOff = {{"ShowProcedureName", "0"}, {"ShowCreatedBy", "0"},  {"ShowDateCreated", "0"},
                        {"ShowPurpose", "0"},       {"ShowParameters", "0"}, {"ShowOutput", "0"}};

INSTANTIATE_TEST_SUITE_P(
    Saves, StubsSave,
    testing::Values(SaveRow{"NoLinesYesSavesTrueAndSixZeros",
                            [](auto& d) {
                                Untick(d);
                                d.cmdOK.Press();
                            },
                            forms::vbYes, true, With(kSixOff, "ShowCommentStubs", "True"), 1, true},
                    SaveRow{"NoLinesNoKeepsTheDialogOpen",
                            [](auto& d) {
                                Untick(d);
                                d.cmdOK.Press();
                            },
                            forms::vbNo,
                            false,
                            {},
                            1,
                            true},
                    SaveRow{"NoStubsSavesFalseSixZerosAndKeepsTheName",
                            [](auto& d) {
                                d.optNoCommentStubs.Press();
                                d.cmdOK.Press();
                            },
                            0, true, With(kSixOff, "ShowCommentStubs", "False"), 0, false},
                    SaveRow{"NoStubsThenCancelSavesNothingButTheMainBoxIsAlreadyOff",
                            [](auto& d) {
                                d.optNoCommentStubs.Press();
                                d.cmdCancel.Press();
                            },
                            0,
                            true,
                            {},
                            0,
                            false},
                    SaveRow{"ChosenLinesAndNameAreSaved",
                            [](auto& d) {
                                d.chkOutput.Press();
                                d.chkCreatedBy.Press();
                                d.txtCreatedByName.SetFocus();
                                d.txtCreatedByName.TypeText("Bob Smith");
                                d.chkParameters.Press();
                                d.cmdOK.Press();
                            },
                            0,
                            true,
                            {{"ShowOutput", "0"},
                             {"ShowCreatedBy", "1"},
                             {"CreatedByName", "Bob Smith"},
                             {"ShowParameters", "1"}},
                            1,
                            true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SubDialogs, CreatedByGoesWithTheNameBoxAndItsLabelsAndTheNameKeepsThirtyCharacters) {
    std::vector<std::string> shown;
    mainStubs.SetVisible(false);
    Stubs([&](pv::frmCommentStubs& d) {
        d.optShowCommentStubs.Press();
        d.chkCreatedBy.Press();
        d.txtCreatedByName.SetFocus();
        d.txtCreatedByName.TypeText(std::string(29, 'a') + "bcd");
        d.chkDateCreated.SetFocus();
        shown.push_back(Shown(d));
        d.chkCreatedBy.Press();
        shown.push_back(Shown(d));
        d.optNoCommentStubs.Press();
        d.optShowCommentStubs.Press();
        shown.push_back(Shown(d));
    });
    const std::string name = "[" + std::string(29, 'a') + "b]";
    EXPECT_EQ(shown, (std::vector<std::string>{"S 0e- 1e+ 0e- 0e- 0e- 0e- " + name + "e " + name + "+",
                                               "S 0e- 0e- 0e- 0e- 0e- 0e- " + name + "d " + name + "-",
                                               "S 0e- 0e- 0e- 0e- 0e- 0e- " + name + "d " + name + "-"}));
    // Unticked and hidden by the first option, shown again by the second, which leaves it unticked.
    EXPECT_EQ(std::make_pair(mainStubs.Value(), mainStubs.Visible()), std::make_pair(0, true));
}

struct MessageRow {
    const char* name;
    const char* stored;  // nullptr: never written
    std::function<void(pv::frmCustomizeErrorMessage&)> play;
    int answer;
    const char* prompt;  // "" when none
    bool refused;        // the dialog stays open, the text box focused
    std::string saved;   // the stored message afterwards
};

const std::string kLong = "Log \"<NAME>\" '" + std::string(86, 'x');

class MessageSave : public SubDialogs, public testing::WithParamInterface<MessageRow> {};

TEST_P(MessageSave, ChecksTheTextAndOkSavesIt) {
    const MessageRow& row = GetParam();
    if (row.stored) pv::WriteOption(store, "ErrorMessage", row.stored);
    if (row.answer) ui.QueueAnswer(row.answer);
    std::string opened, instructions, focused;
    Message([&](pv::frmCustomizeErrorMessage& d) {
        opened = d.txtErrorMsg.Text();
        instructions = d.lblInstructions.Caption();
        row.play(d);
        if (d.IsShown()) focused = d.ActiveControl() ? d.ActiveControl()->Name() : "";
    });
    EXPECT_EQ(opened, row.stored ? row.stored : kDefault);
    EXPECT_EQ(instructions, "To include the procedure name in the message, use the tag <NAME>.");
    EXPECT_EQ(ui.Messages().empty() ? "" : ui.Messages().back().prompt, row.prompt);
    EXPECT_EQ(closed, !row.refused);
    EXPECT_EQ(Keys()["ErrorMessage"], row.saved);
    if (row.refused) {
        EXPECT_EQ(focused, "txtErrorMsg");
    }
    const auto& said = ui.Transcript();
    EXPECT_EQ(std::count(said.begin(), said.end(), "keys:{Home}+{End}"), row.answer == forms::vbNo ? 1 : 0);
}

void TypeAndOk(pv::frmCustomizeErrorMessage& d, const std::string& text) {
    d.txtErrorMsg.TypeText(text);
    d.cmdOK.Press();
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageSave,
    testing::Values(MessageRow{"FirstOpeningWritesTheDefault", nullptr, [](auto& d) { d.cmdCancel.Press(); },
                               0, "", false, kDefault},
                    MessageRow{"EmptyIsRefused", "Old <NAME>", [](auto& d) { TypeAndOk(d, ""); }, 0,
                               "You must enter an error message.", true, "Old <NAME>"},
                    MessageRow{"WithoutTheTagYesSaves", "Old <NAME>",
                               [](auto& d) { TypeAndOk(d, "Debug.Print Err"); }, forms::vbYes, kNoName, false,
                               "Debug.Print Err"},
                    MessageRow{"TagInOtherCaseNoSelectsTheText", "Old <NAME>",
                               [](auto& d) { TypeAndOk(d, "Log \"<name>\""); }, forms::vbNo, kNoName, true,
                               "Old <NAME>"},
                    MessageRow{"TagSavesWithoutAQuestionAndAHundredCharactersAtMost", "Old <NAME>",
                               [](auto& d) { TypeAndOk(d, kLong + "yyy"); }, 0, "", false, kLong},
                    MessageRow{"RestoreDefaultThenCancelKeepsTheStoredOne", "Old <NAME>",
                               [](auto& d) {
                                   d.cmdRestoreDefault.Press();
                                   d.cmdCancel.Press();
                               },
                               0, "", false, "Old <NAME>"},
                    MessageRow{"RestoreDefaultThenOkSavesIt", "Old <NAME>",
                               [](auto& d) {
                                   d.cmdRestoreDefault.Press();
                                   d.cmdOK.Press();
                               },
                               0, "", false, kDefault}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
