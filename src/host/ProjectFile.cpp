// The .vbp file: component lines read into components, every line kept raw
// so that the file is written back byte for byte apart from added modules.
#include <algorithm>
#include <array>

#include "host/VBE.h"
#include "host/VbLex.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace host {
namespace {

namespace fs = std::filesystem;

struct ComponentKey {
    const char* key;
    vbext_ComponentType type;
    bool named;  // "Name; path" rather than a path alone
};
constexpr std::array<ComponentKey, 9> kComponentKeys{{{"Module", vbext_ct_StdModule, true},
                                                      {"Class", vbext_ct_ClassModule, true},
                                                      {"Form", vbext_ct_VBForm, false},
                                                      {"UserControl", vbext_ct_UserControl, false},
                                                      {"PropertyPage", vbext_ct_PropPage, false},
                                                      {"UserDocument", vbext_ct_DocObject, false},
                                                      {"Designer", vbext_ct_ActiveXDesigner, false},
                                                      {"RelatedDoc", vbext_ct_RelatedDocument, false},
                                                      {"ResFile32", vbext_ct_ResFile, false}}};

const ComponentKey* FindKey(std::string_view key) {
    for (const auto& entry : kComponentKeys)
        if (vbrt::EqualsText(key, entry.key)) return &entry;
    return nullptr;
}

std::string_view WithoutEol(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

std::string_view KeyOf(std::string_view line) {
    auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view{} : lex::Trim(line.substr(0, eq));
}

std::string Unquote(std::string_view value) {
    value = lex::Trim(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// A path written on Windows: backslashes, relative to the project's folder,
// and maybe in another letter case than the file on disk.
fs::path ResolvePath(const fs::path& folder, std::string written) {
    std::replace(written.begin(), written.end(), '\\', '/');
    fs::path path = fs::path(written).is_absolute() ? fs::path(written) : folder / written;
    std::error_code ec;
    if (fs::exists(path, ec) || !fs::is_directory(path.parent_path(), ec)) return path;
    for (const auto& entry : fs::directory_iterator(path.parent_path(), ec))
        if (vbrt::EqualsText(entry.path().filename().string(), path.filename().string())) return entry.path();
    return path;
}

std::vector<std::string> SplitKeepingEol(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.push_back(bytes.substr(start, i + 1 - start));
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

}  // namespace

void VBProject::LoadProjectFile(const fs::path& file) {
    std::string bytes = ReadFileBytes(file);
    if (bytes.find('\0') != std::string::npos)
        vbrt::Raise(vbrt::err::InvalidCall, file.filename().string() + " is not a Visual Basic project file");
    vbpStamp_ = StampOf(file).value_or(DiskStamp{});
    projectFile_ = file;
    folder_ = file.has_parent_path() ? file.parent_path() : fs::path(".");
    name_ = file.stem().string();
    vbpLines_ = SplitKeepingEol(bytes);
    if (!vbpLines_.empty()) {
        std::string_view first = vbpLines_.front();
        std::size_t content = WithoutEol(first).size();
        if (content < first.size()) vbpEol_ = std::string(first.substr(content));
    }
    for (const auto& raw : vbpLines_) {
        std::string_view line = WithoutEol(raw);
        if (lex::TrimLeft(line).substr(0, 1) == "[") break;  // other sections: kept, not read
        std::string_view key = KeyOf(line);
        std::string_view value = line.substr(line.find('=') + 1);
        if (vbrt::EqualsText(key, "Name")) name_ = Unquote(value);
        if (const ComponentKey* entry = FindKey(key)) LoadComponent(entry->type, entry->named, value);
    }
}

void VBProject::LoadComponent(vbext_ComponentType type, bool named, std::string_view value) {
    std::string name;
    if (named) {
        auto semicolon = value.find(';');
        if (semicolon != std::string_view::npos) {
            name = std::string(lex::Trim(value.substr(0, semicolon)));
            value = value.substr(semicolon + 1);
        }
    }
    fs::path file = ResolvePath(folder_, Unquote(value));
    auto component = std::make_unique<VBComponent>(*this, type, file);
    if (!name.empty()) component->SetName(name);
    if (component->HasCodeType()) {
        std::error_code ec;
        if (!fs::exists(file, ec))
            vbrt::Raise(vbrt::err::FileNotFound, vbrt::ErrorText(vbrt::err::FileNotFound) + ": " +
                                                     file.string() + " (listed in " +
                                                     projectFile_.filename().string() + ")");
        component->LoadFromDisk();
    }
    components_.Append(std::move(component));
}

void VBProject::AddProjectLine(const std::string& key, const std::string& line) {
    long lastSameKey = -1, lastComponent = -1, lastMain = -1;
    for (long i = 0; i < static_cast<long>(vbpLines_.size()); ++i) {
        std::string_view text = WithoutEol(vbpLines_[static_cast<std::size_t>(i)]);
        if (lex::TrimLeft(text).substr(0, 1) == "[") break;
        std::string_view lineKey = KeyOf(text);
        if (vbrt::EqualsText(lineKey, key)) lastSameKey = i;
        if (FindKey(lineKey)) lastComponent = i;
        if (!lex::Trim(text).empty()) lastMain = i;
    }
    long after = lastSameKey >= 0 ? lastSameKey : lastComponent >= 0 ? lastComponent : lastMain;
    auto at = vbpLines_.begin() + (after + 1);
    bool previousWithoutEol = after >= 0 && WithoutEol(vbpLines_[static_cast<std::size_t>(after)]).size() ==
                                                vbpLines_[static_cast<std::size_t>(after)].size();
    if (previousWithoutEol) vbpLines_[static_cast<std::size_t>(after)] += vbpEol_;
    bool newLast = at == vbpLines_.end();
    vbpLines_.insert(at, line + (previousWithoutEol && newLast ? "" : vbpEol_));
    vbpDirty_ = true;
}

}  // namespace host
