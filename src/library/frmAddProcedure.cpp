#include "library/frmAddProcedure.h"

#include <memory>
#include <vector>

#include "forms/ErrorReport.h"
#include "host/Statement.h"
#include "host/VBE.h"
#include "library/DialogKit.h"
#include "library/basConnect.h"

namespace pv {
namespace {

bool StartsWithWord(const std::string& text, std::size_t at, const std::string& word) {
    return text.compare(at, word.size(), word) == 0 &&
           (at + word.size() == text.size() || text[at + word.size()] == ' ');
}

// The kind word of a declaration line after its scope words: "Sub", "Function",
// or "" for a Declare, which is a method member too but no procedure to store.
std::string StoredKind(const std::string& declaration) {
    std::size_t at = declaration.find_first_not_of(' ');
    if (at == std::string::npos) return "";
    for (const char* scope : {"Private", "Public", "Friend", "Static"})
        if (StartsWithWord(declaration, at, scope))
            return StoredKind(declaration.substr(at + std::string(scope).size()));
    if (StartsWithWord(declaration, at, "Sub")) return "Sub";
    if (StartsWithWord(declaration, at, "Function")) return "Function";
    return "";
}

bool OffersCode(host::vbext_ComponentType type) {
    return type == host::vbext_ct_StdModule || type == host::vbext_ct_ClassModule ||
           type == host::vbext_ct_MSForm || type == host::vbext_ct_VBForm || type == host::vbext_ct_VBMDIForm;
}

host::CodeModule& ModuleNamed(const std::string& name) {
    return Vbe().ActiveVBProject().VBComponents().Item(name).CodeModule();
}

// The first word of a line after its blanks, as written ("#If", "#End"...).
std::string FirstWord(const std::string& line) {
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    const auto end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Where a procedure's stored text ends. A procedure written once per #If branch
// has an End line in every branch; those close it only together, at the
// #End If of their group, so no copy is cut off.
class ClosingLine {
public:
    explicit ClosingLine(std::string endLine) : endLine_(std::move(endLine)) {}
    // True when `line` is the procedure's last line.
    bool Closes(const std::string& line) {
        const std::string word = FirstWord(line);
        if (word == "#If") ++depth_;
        if (word == "#End" && depth_ > 0) return --depth_ == 0 && endInGroup_;
        if (line != endLine_) return false;
        endInGroup_ = endInGroup_ || depth_ > 0;
        return depth_ == 0;
    }

private:
    std::string endLine_;
    int depth_ = 0;
    bool endInGroup_ = false;
};

// Directive lines of the range whose group opens or closes outside it: the #If
// above the first procedure of a group, the #End If below the last. Stored,
// they would leave the module the procedure is inserted into unbalanced.
std::vector<bool> StrayDirectives(const host::CodeModule& module, long first, long last) {
    std::vector<bool> stray(static_cast<std::size_t>(last - first + 1));
    std::vector<std::vector<long>> open;  // the directive lines of each group opened in the range
    for (long i = first; i <= last; ++i) {
        const auto at = static_cast<std::size_t>(i - first);
        switch (host::ClassifyDirective(module.Lines(i, 1))) {
            case host::Directive::If:
                open.push_back({i});
                break;
            case host::Directive::Else:
                if (open.empty()) stray[at] = true;
                if (!open.empty()) open.back().push_back(i);
                break;
            case host::Directive::EndIf:
                if (open.empty()) stray[at] = true;
                if (!open.empty()) open.pop_back();
                break;
            case host::Directive::None:
                break;
        }
    }
    for (const auto& group : open)
        for (long line : group) stray[static_cast<std::size_t>(line - first)] = true;
    return stray;
}

}  // namespace

frmAddProcedure::frmAddProcedure(Env env, std::string organizerCategoryText)
    : forms::Form("frmAddProcedure"),
      Label1(Add<forms::Label>("Label1")),
      cboModule(Add<forms::ComboBox>("cboModule")),
      Label2(Add<forms::Label>("Label2")),
      cboCategory(Add<forms::ComboBox>("cboCategory")),
      lstProcedures(Add<forms::ListBox>("lstProcedures")),
      cmdSelectAll(Add<forms::CommandButton>("cmdSelectAll")),
      cmdDeselectAll(Add<forms::CommandButton>("cmdDeselectAll")),
      cmdOK(Add<forms::CommandButton>("cmdOK")),
      cmdCancel(Add<forms::CommandButton>("cmdCancel")),
      env_(env),
      organizerCategory_(std::move(organizerCategoryText)) {
    Design();
    ConnectEvents();
}

void frmAddProcedure::Design() {
    SetCaption("Add Procedure To Procvault");
    Move(0, 0, 6255, 4860);
    Place(Label1, 120, 120, 2535, 255);
    Label1.SetCaption("Add from module");
    Place(cboModule, 120, 420, 2535, 315, 0);
    cboModule.SetSorted(true);
    Place(Label2, 2820, 120, 3195, 255);
    Label2.SetCaption("Add to category");
    Place(cboCategory, 2820, 420, 3195, 315, 1);
    cboCategory.SetSorted(true);
    Place(lstProcedures, 120, 900, 4335, 3375, 2);
    lstProcedures.SetSorted(true);
    lstProcedures.SetMultiSelect(1);
    Place(cmdSelectAll, 4560, 900, 1455, 375, 3);
    cmdSelectAll.SetCaption("&Select All");
    Place(cmdDeselectAll, 4560, 1380, 1455, 375, 4);
    cmdDeselectAll.SetCaption("&Deselect All");
    Place(cmdOK, 4560, 3420, 1455, 375, 5);
    cmdOK.SetCaption("&OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, 4560, 3900, 1455, 375, 6);
    cmdCancel.SetCaption("&Cancel");
    cmdCancel.SetCancel(true);
}

void frmAddProcedure::ConnectEvents() {
    Load = [this] { Form_Load(); };
    cboModule.Click = [this] { cboModule_Click(); };
    cboModule.LostFocus = [this] { cboModule_LostFocus(); };
    cboCategory.LostFocus = [this] { cboCategory_LostFocus(); };
    cmdSelectAll.Click = [this] { cmdSelectAll_Click(); };
    cmdDeselectAll.Click = [this] { cmdDeselectAll_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    lstProcedures.DblClick = [this] { lstProcedures_DblClick(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void frmAddProcedure::Form_Load() {
    PointerReset reset(env_);
    forms::Trap(env_.ui, "Form_Load()", [&] {
        env_.ui.SetMousePointer(forms::vbHourglass);
        cboModule.Clear();
        RefreshCategoriesList(env_, cboCategory);
        RemoveAllEntry(cboCategory);
        PreselectCategory();
        FillModules();
    });
}

void frmAddProcedure::PreselectCategory() {
    if (cboCategory.ListCount() == 0) return;
    int index = 0;
    if (organizerCategory_ != "(All)")
        for (int i = cboCategory.ListCount() - 1; i >= 0; --i)
            if (cboCategory.List(i) == organizerCategory_) index = i;
    cboCategory.SetListIndex(index);
}

void frmAddProcedure::FillModules() {
    host::VBComponents& components = Vbe().ActiveVBProject().VBComponents();
    for (long i = 1; i <= components.Count(); ++i)
        if (OffersCode(components.Item(i).Type())) cboModule.AddItem(components.Item(i).Name());
    // Choosing entry 0 refills the list through the click handler.
    if (cboModule.ListCount() > 0) cboModule.SetListIndex(0);
}

void frmAddProcedure::cboModule_Click() {
    forms::Trap(env_.ui, "cboModule_Click()", [&] { RefreshProceduresList(); });
}

void frmAddProcedure::cboModule_LostFocus() {
    forms::Trap(env_.ui, "cboModule_LostFocus()", [&] {
        if (!NothingChosen(cboModule)) return;
        Tell(env_, kSelectAnItem, forms::vbInformation);
        cboModule.SetFocus();
    });
}

void frmAddProcedure::cboCategory_LostFocus() {
    forms::Trap(env_.ui, "cboCategory_LostFocus()", [&] {
        if (!NothingChosen(cboCategory)) return;
        Tell(env_, kSelectAnItem, forms::vbInformation);
        SelectControl(env_, cboCategory);
    });
}

void frmAddProcedure::cmdSelectAll_Click() {
    forms::Trap(env_.ui, "cmdSelectAll_Click()", [&] { SelectAllItems(lstProcedures, true); });
}

void frmAddProcedure::cmdDeselectAll_Click() {
    forms::Trap(env_.ui, "cmdDeselectAll_Click()", [&] { SelectAllItems(lstProcedures, false); });
}

void frmAddProcedure::RefreshProceduresList() {
    PointerReset reset(env_);
    forms::Trap(env_.ui, "RefreshProceduresList()", [&] {
        env_.ui.SetMousePointer(forms::vbHourglass);
        lstProcedures.Clear();
        const host::CodeModule& module = ModuleNamed(cboModule.Text());
        for (const host::Member& member : module.Members()) {
            if (member.Type() != host::vbext_mt_Method) continue;
            const std::string kind =
                StoredKind(module.Lines(module.ProcBodyLine(member.Name(), host::vbext_pk_Proc), 1));
            if (!kind.empty()) lstProcedures.AddItem(kind + " " + member.Name());
        }
        const bool hasEntries = lstProcedures.ListCount() > 0;
        cmdSelectAll.SetEnabled(hasEntries);
        cmdDeselectAll.SetEnabled(hasEntries);
    });
}

bool frmAddProcedure::OKToAdd() {
    bool ok = false;
    forms::Trap(env_.ui, "OKToAdd()", [&] {
        if (lstProcedures.ListCount() == 0) return;
        if (lstProcedures.SelCount() == 0) {
            Tell(env_, kSelectAnItem, forms::vbInformation);
            lstProcedures.SetSelected(0, true);
            return;
        }
        if (cboCategory.ListCount() == 0) {
            Tell(env_,
                 "You cannot add a procedure without a category. You must add a new category and try again.",
                 forms::vbInformation);
            return;
        }
        // Typed text that names no category: storing needs a chosen one.
        if (cboCategory.ListIndex() < 0) {
            Tell(env_, kSelectAnItem, forms::vbInformation);
            SelectControl(env_, cboCategory);
            return;
        }
        ok = true;
    });
    return ok;
}

void frmAddProcedure::cmdOK_Click() {
    forms::Trap(env_.ui, "cmdOK_Click()", [&] {
        if (OKToAdd()) AddProcedures();
    });
}

void frmAddProcedure::lstProcedures_DblClick() {
    forms::Trap(env_.ui, "lstProcedures_DblClick()", [&] {
        if (OKToAdd()) AddProcedures();
    });
}

void frmAddProcedure::cmdCancel_Click() {
    forms::Trap(env_.ui, "cmdCancel_Click()", [&] { Unload(); });
}

void frmAddProcedure::AddProcedures() {
    PointerReset reset(env_);
    forms::Trap(env_.ui, "AddProcedures()", [&] {
        std::unique_ptr<dao::Database> db;
        if (!OpenProcvaultDB(env_, db)) return;
        env_.ui.SetMousePointer(forms::vbHourglass);
        const bool stored = StoreSelected(*db);
        db->Close();
        if (!stored) return;
        GetProcedures(env_);
        Unload();
    });
}

// All or nothing, in one commit: a failure rolls back every procedure of this
// OK, so the user can simply try again.
bool frmAddProcedure::StoreSelected(dao::Database& db) {
    dao::Transaction transaction(db);
    auto rsHeader = db.OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
    auto rsLine = db.OpenRecordset("ProcedureLine", dao::dbOpenDynaset, dao::dbAppendOnly);
    for (int i = 0; i < lstProcedures.ListCount(); ++i) {
        if (!lstProcedures.Selected(i)) continue;
        if (!forms::Trap(env_.ui, "AddSingleProcedure()",
                         [&] { AddSingleProcedure(lstProcedures.List(i), *rsHeader, *rsLine); }))
            return false;
    }
    rsHeader->Close();
    rsLine->Close();
    transaction.Commit();
    return true;
}

void frmAddProcedure::AddSingleProcedure(const std::string& strEntry, dao::Recordset& rsHeader,
                                         dao::Recordset& rsLine) {
    const host::CodeModule& module = ModuleNamed(cboModule.Text());
    const std::string kind = strEntry.substr(0, strEntry.find(' '));
    const std::string name = strEntry.substr(kind.size() + 1);
    const long first = module.ProcStartLine(name, host::vbext_pk_Proc);
    const long last = first + module.ProcCountLines(name, host::vbext_pk_Proc) - 1;
    rsHeader.AddNew();
    rsHeader.Collect("Type", kind);
    rsHeader.Collect("Name", name);
    rsHeader.Collect("CategoryID", cboCategory.ItemData(cboCategory.ListIndex()));
    const long id = rsHeader.Fields("ProcedureHeaderID").Value().AsLong();
    rsHeader.Update();
    ClosingLine closing("End " + kind);
    bool closed = false;
    const auto stray = StrayDirectives(module, first, last);
    for (long i = first; i <= last; ++i) {
        if (stray[static_cast<std::size_t>(i - first)]) continue;
        rsLine.AddNew();
        rsLine.Collect("ProcedureHeaderID", id);
        if (!closed) {
            const std::string line = module.Lines(i, 1);
            closed = closing.Closes(line);
            rsLine.Collect("Line", line);
        }
        rsLine.Update();
    }
}

}  // namespace pv
