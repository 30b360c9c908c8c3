// `velmor --format`: files rewritten in place (atomically), checked, or
// standard input formatted onto standard output.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "driver.h"
#include "driver/reporting.h"
#include "format/format.h"

namespace velmor {

namespace {

constexpr const char* kStandardInput = "-";
constexpr const char* kStandardInputName = "<stdin>";

// Writes `text` to a fresh file beside `path`, gives it the permissions of
// `path` and renames it over `path`, so that a reader sees the old file or
// the new one, never a part of either. Whether it worked.
bool replaceFile(const std::string& path, const std::string& text) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::error_code error;
    const fs::perms permissions = fs::status(target, error).permissions();
    if (error) return false;
    std::random_device seed;
    std::minstd_rand random(seed());
    fs::path temporary;
    for (int attempt = 0;; ++attempt) {
        temporary = target;
        temporary += ".format-" + std::to_string(random()) + ".tmp";
        if (!fs::exists(temporary, error)) break;
        if (attempt == 100) return false;
    }
    {
        std::ofstream out(temporary, std::ios::out | std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::permissions(temporary, permissions, fs::perm_options::replace, error);
    if (!error) fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

enum class FormatMode { Rewrite, Check };

// Formats one operand; whether it succeeded and, with `Check`, left nothing to change.
bool formatOne(const std::string& operand, FormatMode mode) {
    SourceFile file;
    const bool standardInput = operand == kStandardInput;
    if (standardInput) {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        file.text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        file.opened = true;
    } else {
        file = readSourceFile(operand);
    }
    if (!file.opened) {
        reportCannotOpen(operand);
        return false;
    }
    const std::string name = standardInput ? std::string(kStandardInputName) : operand;
    std::string formatted;
    if (!runReported(file.text, name, [&] { formatted = formatSource(file.text); })) return false;
    if (mode == FormatMode::Check) {
        if (formatted == file.text) return true;
        std::cout << operand << "\n";
        return false;
    }
    if (standardInput) {
        std::cout << formatted;
        return true;
    }
    if (formatted == file.text) return true;
    if (replaceFile(operand, formatted)) return true;
    reportProblem("cannot write " + operand);
    return false;
}

}  // namespace

int formatFiles(std::vector<std::string> operands) {
    FormatMode mode = FormatMode::Rewrite;
    if (!operands.empty() && operands.front() == "--check") {
        mode = FormatMode::Check;
        operands.erase(operands.begin());
    }
    if (operands.empty()) {
        reportProblem("--format requires a file");
        return 2;
    }
    int status = 0;
    for (const std::string& operand : operands) {
        if (!formatOne(operand, mode)) status = 1;
    }
    return status;
}

}  // namespace velmor
