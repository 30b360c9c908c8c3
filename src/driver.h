#pragma once

// The command-line driver: argument dispatch and the run modes of the
// `velmor` program (file and snippet runs, token dump, REPL, benchmark,
// pragmas and watch mode).

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexer/token.h"

namespace velmor {

// The process entry: dispatches the command line; the exit status.
int runMain(int argc, char** argv);

// Which engine runs files and snippets; the REPL always uses the tree-walker.
enum class Engine { BytecodeVm, TreeWalker };

struct SourceFile {
    std::string text;
    bool opened = false;
};

// Reads a whole file in binary mode, so a CR before LF reaches the lexer untouched.
SourceFile readSourceFile(const std::string& path);

// Whether a run prints the call trace of an uncaught error after its report.
enum class Tracing { Off, On };

// Runs a program on a fresh engine; 0 on success, 1 after reporting an error on standard error.
int runSource(std::string_view text, std::string_view sourceName, Engine engine, Tracing tracing = Tracing::Off);

// Writes one "kind 'text' @line:column" line per token.
void dumpTokens(const std::vector<Token>& tokens, std::ostream& out);

// The interactive prompt on one long-lived tree-walker; always 0.
int startRepl();

// Whether a fragment that failed to parse still has more openers than closers.
bool isIncomplete(std::string_view buffer);

// `velmor --format`: the operands after it ("--check" first, if given, then
// paths, "-" for standard input). 0 when every file was formatted (or, with
// "--check", none would change), 1 otherwise, 2 without a path.
int formatFiles(std::vector<std::string> operands);

// Times the file on both engines and prints the means; 0, or 1 after an error.
int runBenchmark(const std::string& path);

// One watched file. Each poll runs the file when its last-write time or size
// differs from the one seen at the previous run (or when it has never run).
// A file that exists but cannot be read is reported once and read again on
// every poll until it can be: making it readable changes neither its time
// nor its size.
class FileWatcher {
public:
    FileWatcher(std::string path, Engine engine);

    // Whether this poll ran the file.
    bool poll();

private:
    struct Stamp {
        std::filesystem::file_time_type writeTime;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };

    std::string path_;
    Engine engine_;
    std::optional<Stamp> lastRun_;
    bool reportedUnreadable_ = false;
};

// Watch mode: polls the file every 200 ms and re-runs it on each change. Never returns.
[[noreturn]] void watchFile(const std::string& path, Engine engine);

}  // namespace velmor
