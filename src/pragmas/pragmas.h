#pragma once

// `#pragma` lines in a file's header. To the lexer they are comments; the
// driver checks them before it runs a file and the language server shows
// the same findings in the editor, both from the one reading here.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// The program's version, the project version in the top CMakeLists.txt.
inline constexpr const char* kVersion = VELMOR_VERSION;

// One pragma line: "#pragma name value". `line` and `column` place the
// "#pragma", counted as the lexer counts (columns in bytes from 1, after a
// byte-order mark).
struct PragmaEntry {
    std::string name;
    std::string value;
    int32_t line = 0;
    int32_t column = 0;
};

// Every pragma of a file's header, the leading run of blank, comment and
// pragma lines, in file order.
std::vector<PragmaEntry> readPragmaHeader(std::string_view text);

struct PragmaInfo {
    std::string requiredVersion;  // empty: no requirement
    int32_t versionLine = 0;      // the "version" pragma that decides (the last); 0 without one
    int32_t versionColumn = 0;
    std::vector<PragmaEntry> unknown;
    bool watch = false;  // "watch" or "hotreload"
};

// What the pragmas of a file's header ask for.
PragmaInfo scanPragmas(std::string_view text);

// Warns about unknown pragmas and reports an unmet version requirement; whether the file may run.
bool checkPragmas(const PragmaInfo& info, std::string_view fileName, std::ostream& errors);

// Whether the dotted version `have` is at least `need`, comparing pieces as atoi reads them.
bool versionAtLeast(std::string_view have, std::string_view need);

// Whether this program meets the file's version requirement.
bool versionSatisfied(const PragmaInfo& info);

// "unknown pragma 'fast'"
std::string unknownPragmaText(const PragmaEntry& entry);

// "requires Velmor >= 7 (this is 6)"
std::string unmetVersionText(const PragmaInfo& info);

}  // namespace velmor
