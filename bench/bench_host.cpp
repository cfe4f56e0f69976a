// Host object model speed: a fresh scan of a large module after an edit
// (members plus every procedure range), and line replacement walking down a
// module, the way block comment and error-handling insertion edit code, and
// the error-handling command itself: ask a procedure's lines, then add lines to it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/VBE.h"

namespace {

// About 25 lines per procedure: subs and functions with error handling,
// property pairs, and a few Declares in the declarations section.
std::string GenerateModule(long lines) {
    std::string out =
        "Option Explicit\r\n\r\nPrivate mCount As Long, mName As String\r\n"
        "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n"
        "Private Declare Sub Sleep Lib \"kernel32\" _\r\n    (ByVal dwMilliseconds As Long)\r\n"
        "Private Const MODULE_NAME = \"basGenerated\"\r\n";
    long written = 7;
    for (long n = 0; written < lines; ++n) {
        std::string id = std::to_string(n);
        std::string block;
        if (n % 5 == 4) {
            block = "\r\n' Name of entry " + id + "\r\nPublic Property Get Name" + id +
                    "() As String\r\n    Name" + id +
                    " = mName\r\nEnd Property\r\n\r\n"
                    "Public Property Let Name" +
                    id +
                    "(ByVal value As String)\r\n    If Len(value) = 0 Then\r\n"
                    "        Err.Raise 5, MODULE_NAME, \"Name can't be empty: End Sub\"\r\n    End If\r\n"
                    "    mName = value\r\nEnd Property\r\n";
        } else {
            block =
                "\r\n'------------------------------------------------------------------\r\n"
                "' Procedure: Work" +
                id +
                "\r\n' Purpose: adds the entries of one batch\r\n"
                "'------------------------------------------------------------------\r\n"
                "Private Function Work" +
                id +
                "(ByVal lngCount As Long) As Long\r\n"
                "    On Error GoTo Err_Work" +
                id +
                "\r\n    Dim lngIndex As Long, lngTotal As Long\r\n"
                "    For lngIndex = 1 To lngCount\r\n        If lngIndex Mod 2 = 0 Then\r\n"
                "            lngTotal = lngTotal + lngIndex ' even ones\r\n        Else\r\n"
                "            lngTotal = lngTotal - 1\r\n        End If\r\n    Next lngIndex\r\n"
                "    mCount = mCount + 1\r\n    Work" +
                id + " = lngTotal\r\n\r\nExit_Work" + id +
                ":\r\n"
                "    Exit Function\r\n\r\nErr_Work" +
                id +
                ":\r\n"
                "    MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"Work" +
                id +
                "()\"\r\n"
                "    Resume Exit_Work" +
                id + "\r\nEnd Function\r\n";
        }
        for (char c : block) written += c == '\n';
        out += block;
    }
    return out;
}

struct Project {
    host::VBE vbe;
    host::VBProject project{vbe};
    host::CodeModule* code = nullptr;
    explicit Project(long lines) {
        code = &project.VBComponents().Add(host::vbext_ct_StdModule).CodeModule();
        code->InsertLines(1, GenerateModule(lines));
    }
};

void BM_ScanAfterEdit(benchmark::State& state) {
    Project p(state.range(0));
    host::CodeModule& code = *p.code;
    long sum = 0;
    for (auto _ : state) {
        code.ReplaceLine(1, "Option Explicit");  // a code line outside a body: the next call scans afresh
        const host::Members& members = code.Members();
        for (const auto& member : members) {
            if (member.Type() == host::vbext_mt_Method) {
                sum += code.ProcStartLine(member.Name(), host::vbext_pk_Proc) +
                       code.ProcCountLines(member.Name(), host::vbext_pk_Proc);
            } else if (member.Type() == host::vbext_mt_Property) {
                sum += code.ProcStartLine(member.Name(), host::vbext_pk_Get) +
                       code.ProcCountLines(member.Name(), host::vbext_pk_Let);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["lines"] = static_cast<double>(code.CountOfLines());
    state.counters["members"] = static_cast<double>(code.Members().Count());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ScanAfterEdit)
    ->Arg(5'000)
    ->Arg(50'000)
    ->Arg(500'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A module written for two targets: by turns a function declared once per
// #If branch, a sub written out once per branch, a nested group, and a test
// group of procedures of their own around a nested group of copies.
std::string GenerateConditionalModule(long lines) {
    std::string out = "Option Explicit\r\n";
    long written = 1;
    for (long n = 0; written < lines; ++n) {
        const std::string id = std::to_string(n);
        std::string block;
        if (n % 4 == 3) {
            block = "\r\n#If UNIT_TEST Then\r\nPrivate Sub Setup" + id + "()\r\n    n = 0\r\nEnd Sub\r\n" +
                    "Private Sub Verify" + id +
                    "()\r\n    On Error GoTo 0\r\nEnd Sub\r\n  #If DEEP Then\r\n" + "Sub Deep" + id +
                    "()\r\nEnd Sub\r\n  #Else\r\nSub Deep" + id +
                    "()\r\n    On Error Resume Next\r\nEnd Sub\r\n  #End If\r\n#End If\r\n";
        } else if (n % 4 == 0) {
            block = "\r\n#If VBA7 Then\r\nPublic Function Ptr" + id +
                    "(ByVal h As LongPtr) As LongPtr\r\n"
                    "#ElseIf Win32 Then\r\nPublic Function Ptr" +
                    id +
                    "(ByVal h As Long) _\r\n    As Long\r\n"
                    "#Else\r\nPublic Function Ptr" +
                    id +
                    "(ByVal h As Integer) As Integer\r\n#End If\r\n"
                    "    Ptr" +
                    id + " = h\r\nEnd Function\r\n";
        } else if (n % 4 == 1) {
            block = "\r\n#If Win64 Then\r\nPrivate Sub Work" + id +
                    "()\r\n    Dim x As LongLong\r\n    x = 1\r\n"
                    "End Sub\r\n#Else\r\nPrivate Sub Work" +
                    id +
                    "()\r\n    Dim x As Long\r\n    x = 1\r\n"
                    "End Sub\r\n#End If\r\n";
        } else {
            block = "\r\n#If A Then\r\n  #If B Then\r\nSub Both" + id +
                    "(x As Long)\r\n  #Else\r\n"
                    "Sub Both" +
                    id + "(x As Integer)\r\n  #End If\r\n#Else\r\nSub Both" + id +
                    "(x)\r\n"
                    "#End If\r\n    x = x + 1\r\nEnd Sub\r\n";
        }
        for (char c : block) written += c == '\n';
        out += block;
    }
    return out;
}

// Members and every procedure's range of a module full of #If groups.
void BM_ScanConditional(benchmark::State& state) {
    host::VBE vbe;
    host::VBProject project{vbe};
    host::CodeModule& code = project.VBComponents().Add(host::vbext_ct_StdModule).CodeModule();
    code.InsertLines(1, GenerateConditionalModule(state.range(0)));
    long sum = 0;
    for (auto _ : state) {
        code.ReplaceLine(1, "Option Explicit");
        for (const auto& member : code.Members())
            sum += code.ProcStartLine(member.Name(), host::vbext_pk_Proc) +
                   code.ProcCountLines(member.Name(), host::vbext_pk_Proc);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["lines"] = static_cast<double>(code.CountOfLines());
    state.counters["members"] = static_cast<double>(code.Members().Count());
}
BENCHMARK(BM_ScanConditional)->Arg(50'000)->Unit(benchmark::kMillisecond);

// 100,000 DeleteLines(i,1) + InsertLines(i,text) pairs down a 100,000-line module.
void BM_ReplaceWalkingDown(benchmark::State& state) {
    constexpr long kLines = 100'000;
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<Project>(kLines);
        host::CodeModule& code = *p->code;
        state.ResumeTiming();
        for (long i = 1; i <= kLines; ++i) {
            std::string line(1, '\'');
            line += code.Lines(i, 1);
            code.DeleteLines(i, 1);
            code.InsertLines(i, line);
        }
        state.PauseTiming();
        p.reset();
        state.ResumeTiming();
    }
    state.counters["per_pair_ns"] =
        benchmark::Counter(static_cast<double>(kLines),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReplaceWalkingDown)->Unit(benchmark::kMillisecond)->Iterations(5);

// The line of a procedure's End statement: the last line of its range that
// starts with "End " (the last procedure's range runs on to the module's end).
long EndLineOf(const host::CodeModule& code, long start, long count) {
    for (long line = start + count - 1; line > start; --line) {
        std::string text = code.Lines(line, 1);
        if (text.rfind("End ", 0) == 0) return line;
    }
    return start + count - 1;
}

// Handlers for every procedure of a 50,000-line module: each one asks for the
// procedure's lines (a scan when the cached one went stale), then inserts 3
// lines after the declaration and 7 above the End line.
void BM_AddErrorHandlers(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<Project>(50'000);
        host::CodeModule& code = *p->code;
        std::vector<std::pair<std::string, host::vbext_ProcKind>> procs;
        for (const auto& member : code.Members()) {
            if (member.Type() == host::vbext_mt_Method)
                procs.emplace_back(member.Name(), host::vbext_pk_Proc);
            if (member.Type() == host::vbext_mt_Property) {
                procs.emplace_back(member.Name(), host::vbext_pk_Get);
                procs.emplace_back(member.Name(), host::vbext_pk_Let);
            }
        }
        state.ResumeTiming();
        for (const auto& [name, kind] : procs) {
            long body = code.ProcBodyLine(name, kind);
            long start = code.ProcStartLine(name, kind);
            long count = code.ProcCountLines(name, kind);
            if (body <= code.CountOfDeclarationLines()) continue;  // a Declare: no body to guard
            code.InsertLines(body + 1, "    On Error GoTo Err_Proc\r\n\r\n");
            long endLine = EndLineOf(code, start, count + 3);
            code.InsertLines(endLine,
                             "Exit_Proc:\r\n    Exit Sub\r\n\r\nErr_Proc:\r\n"
                             "    MsgBox Err.Description\r\n    Resume Exit_Proc\r\n");
        }
        benchmark::DoNotOptimize(code.CountOfLines());
        state.PauseTiming();
        state.counters["procedures"] = static_cast<double>(procs.size());
        p.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddErrorHandlers)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
