// Modules of procedures inside random #If groups, as real code holds them:
// nested and indented directives, #ElseIf, one-branch groups, a procedure
// written again in another branch, declarations per branch over one body,
// continued declarations, Attribute lines, Type blocks with keyword-like
// fields. Through the main dialog, with the scripted user. Properties: every
// procedure with a copy that lacks handling is listed, and nothing else;
// adding handlers to all reports no failure and puts exactly one entry
// statement below each declaration of every copy that lacked one; a second
// listing is empty.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "CommandSession.h"
#include "host/ModuleText.h"
#include "vbrt/VbError.h"

namespace {

using fuzzsession::Lines;

[[noreturn]] void Fail(const char* what) {
    fuzzsession::Fail("fuzz_groups", what);
}

const char* const kNames[] = {"Alpha", "Beta", "Gamma", "Delta", "Omega", "Sigma"};

class ModuleMaker {
public:
    explicit ModuleMaker(FuzzedDataProvider& in) : in_(in) {}

    std::string Make() {
        std::set<std::string> used;
        out_ = "Attribute VB_Name = \"Grouped\"\r\nOption Explicit\r\n";
        Branch(used, 0);
        return out_;
    }

    // Per name: the declarations of its copies that lack handling.
    const std::map<std::string, int>& Lacking() const { return lacking_; }

private:
    void Line(const std::string& text) { out_ += text + "\r\n"; }

    std::string Directive(const char* word) { return (in_.ConsumeBool() ? "  " : "") + std::string(word); }

    // A run of items in one branch; `used` holds the names this branch may not declare again.
    void Branch(std::set<std::string>& used, int depth) {
        for (int n = in_.ConsumeIntegralInRange(0, 4); n > 0 && items_ < 40; --n, ++items_) {
            switch (in_.ConsumeIntegralInRange(0, 5)) {
                case 0:
                case 1:
                    Procedure(used);
                    break;
                case 2:
                    if (depth < 3) Group(used, depth);
                    break;
                case 3:
                    DeclarationsPerBranch(used);
                    break;
                case 4:
                    Line("Private Type T" + std::to_string(items_) +
                         "\r\n    sUB As Long\r\n    property As Long\r\nEnd Type");
                    break;
                default:
                    Line(in_.ConsumeBool() ? "" : "' a note _");
                    if (out_.ends_with("_\r\n")) Line("  still the note");
                    break;
            }
        }
    }

    // A free name for this branch, or "".
    std::string Name(std::set<std::string>& used) {
        const std::string name = kNames[in_.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
        return used.insert(name).second ? name : "";
    }

    static std::string Kind(const std::string& name) { return name.size() % 2 ? "Sub" : "Function"; }

    void Body(const std::string& name, bool handled, int declarations) {
        Line(handled ? "    On Error Resume Next" : "    x = 1");
        if (!handled) lacking_[name] += declarations;
        Line("End " + Kind(name));
    }

    void Procedure(std::set<std::string>& used) {
        const std::string name = Name(used);
        if (name.empty()) return;
        if (in_.ConsumeBool())
            Line("Private " + Kind(name) + " " + name + "(ByVal a As Long, _\r\n    ByVal b As Long)");
        else
            Line("Public " + Kind(name) + " " + name + "()");
        if (in_.ConsumeBool()) Line("Attribute " + name + ".VB_Description = \"d\"");
        Body(name, in_.ConsumeBool(), 1);
    }

    // One declaration in each branch, the body after the #End If.
    void DeclarationsPerBranch(std::set<std::string>& used) {
        const std::string name = Name(used);
        if (name.empty()) return;
        const int branches = in_.ConsumeIntegralInRange(1, 3);
        Line(Directive("#If Win64 Then"));
        for (int b = 0; b < branches; ++b) {
            if (b > 0) Line(Directive(b + 1 < branches ? "#ElseIf Win32 Then" : "#Else"));
            Line("Public " + Kind(name) + " " + name + "(ByVal h As " + (b == 0 ? "LongPtr" : "Long") + ")");
        }
        Line(Directive("#End If"));
        Body(name, in_.ConsumeBool(), branches);
    }

    void Group(std::set<std::string>& used, int depth) {
        const int branches = in_.ConsumeIntegralInRange(1, 3);
        std::set<std::string> all = used;
        Line(Directive("#If FLAG = 1 Then"));
        for (int b = 0; b < branches; ++b) {
            if (b > 0) Line(Directive(b + 1 < branches ? "#ElseIf FLAG = 2 Then" : "#Else"));
            std::set<std::string> mine = used;  // each branch may write the same procedures again
            Branch(mine, depth + 1);
            all.insert(mine.begin(), mine.end());
        }
        Line(Directive("#End If"));
        used = all;
    }

    FuzzedDataProvider& in_;
    std::string out_;
    std::map<std::string, int> lacking_;
    int items_ = 0;
};

long EntryStatements(const Lines& lines, const std::string& name) {
    return std::count(lines.begin(), lines.end(), "\tOn Error Goto Err_" + name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    ModuleMaker maker(in);
    const std::string bytes = maker.Make();
    host::ModuleText text;
    try {
        text = host::ModuleText::Parse(bytes);
    } catch (const vbrt::VbError&) {
        Fail("a generated module did not load");
    }
    fuzzsession::Session s(std::move(text));
    Lines listed = s.AddHandlersToAll(false);
    Lines expected;
    for (const auto& [name, declarations] : maker.Lacking())
        if (declarations > 0) expected.push_back(name);
    std::sort(listed.begin(), listed.end());
    if (listed != expected) Fail("the listed procedures are not those with a copy lacking handling");
    for (const auto& report : fuzzsession::FailureReports(s.ui)) {
        std::fprintf(stderr, "reported: %s\n", report.c_str());
        Fail("adding error handling reported a failure");
    }
    const Lines after = fuzzsession::ModuleLines(*s.code);
    for (const auto& [name, declarations] : maker.Lacking())
        if (EntryStatements(after, name) != declarations)
            Fail("not one entry statement per declaration lacking it");
    if (!s.DialogList([](pv::frmProcvault&) {}).empty()) Fail("a second listing is not empty");
    return 0;
}
