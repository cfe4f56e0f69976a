#pragma once
// Text helpers with Visual Basic's semantics. Strings hold the bytes of the
// Windows ANSI code page (Windows-1252), as VB6 source files do.
#include <string>
#include <string_view>

namespace vbrt {

// Case-insensitive comparison as VB's "Option Compare Text" and the sorted list box
// see it: ASCII letters fold; other bytes compare by value.
int CompareText(std::string_view a, std::string_view b) noexcept;
bool EqualsText(std::string_view a, std::string_view b) noexcept;
std::string UCase(std::string_view s);

// Windows-1252 bytes to UTF-8 and back; characters outside Windows-1252 become "?".
std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(std::string_view utf8);

// File names are the file system's bytes (UTF-8 here), not VB text. A name put into
// a message becomes Windows-1252 like the rest of it; one that is not UTF-8 keeps its bytes.
std::string FileNameText(std::string_view name);

}  // namespace vbrt
