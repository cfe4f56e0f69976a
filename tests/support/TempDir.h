#pragma once
// A fresh folder under the system temp dir, removed with everything in it when
// the object goes. File helpers read and write exact bytes.
#include <filesystem>
#include <string>

namespace testsupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
std::string ReadBytes(const std::filesystem::path& file);
// Joins lines with CR LF, ending with one.
std::string CrLf(std::initializer_list<std::string> lines);
// The folder of the example project in the source tree.
std::filesystem::path ExamplesDir();

}  // namespace testsupport
