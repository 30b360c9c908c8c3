#include "driver.h"

#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "call_trace.h"
#include "driver/debug_adapter.h"
#include "driver/output.h"
#include "driver/reporting.h"
#include "driver/run.h"
#include "error.h"
#include "lexer/lexer.h"
#include "lsp/server.h"
#include "native_stack.h"
#include "pragmas/pragmas.h"

namespace velmor {

namespace {

constexpr const char* kUsage = "velmor                    start the REPL (tree-walking interpreter)\n"
                               "velmor <file.velmor|.vlm> run a file on the bytecode VM (default)\n"
                               "velmor --tree <file>      run a file on the tree-walking interpreter\n"
                               "velmor -c <code>          run a snippet\n"
                               "velmor --bench <file>     time the tree-walker vs the VM\n"
                               "velmor --watch <file>     re-run the file whenever it changes\n"
                               "velmor --tokens <file>    dump the token stream\n"
                               "velmor --lsp              serve editors as a language server on stdin/stdout\n"
                               "velmor --version\n"
                               "velmor --format <file>... rewrite files in the canonical layout\n"
                               "velmor --format --check <file>... list the files --format would change\n"
                               "velmor --format -         format standard input onto standard output\n"
                               "velmor --trace <file>     run a file; after an error, print its call trace\n"
                               "velmor --dap              serve an editor's debugger on stdin/stdout\n";

constexpr int kExitUsage = 2;

int complainMissingArgument(const char* message) {
    reportProblem(message);
    return kExitUsage;
}

int dumpTokenFile(const std::string& path) {
    SourceFile file = readSourceFile(path);
    if (!file.opened) {
        reportCannotOpen(path);
        return 1;
    }
    std::vector<Token> tokens;
    if (!runReported(file.text, path, [&] { tokens = tokenize(file.text); })) return 1;
    dumpTokens(tokens, std::cout);
    return 0;
}

int runFile(const std::string& path, Engine engine, Tracing tracing) {
    SourceFile file = readSourceFile(path);
    if (!file.opened) {
        reportCannotOpen(path);
        return 1;
    }
    PragmaInfo pragmas = scanPragmas(file.text);
    std::cout.flush();
    if (!checkPragmas(pragmas, path, std::cerr)) return 1;
    if (pragmas.watch) watchFile(path, engine);
    return runSource(file.text, path, engine, tracing);
}

int dispatch(std::vector<std::string> args) {
    if (args.empty()) return startRepl();

    // "--trace" may stand before or after the engine option.
    Tracing tracing = Tracing::Off;
    const auto takeTraceOption = [&] {
        if (tracing == Tracing::Off && !args.empty() && args[0] == "--trace") {
            tracing = Tracing::On;
            args.erase(args.begin());
        }
    };
    takeTraceOption();
    Engine engine = Engine::BytecodeVm;
    if (!args.empty() && (args[0] == "--tree" || args[0] == "--interp")) {
        engine = Engine::TreeWalker;
        args.erase(args.begin());
    } else if (!args.empty() && args[0] == "--vm") {
        engine = Engine::BytecodeVm;
        args.erase(args.begin());
    }
    takeTraceOption();
    if (args.empty()) {
        if (tracing == Tracing::On) return complainMissingArgument("--trace requires a file");
        return startRepl();
    }

    const std::string& mode = args[0];
    const bool hasOperand = args.size() >= 2;
    if (mode == "-h" || mode == "--help") {
        std::cout << kUsage;
        return 0;
    }
    if (mode == "-v" || mode == "--version") {
        std::cout << "Velmor " << kVersion << "\n";
        return 0;
    }
    if (mode == "--lsp") return lsp::runLanguageServer();
    if (mode == "--dap") return runDebugAdapter();
    if (mode == "-c") {
        if (!hasOperand) return complainMissingArgument("-c requires an argument");
        return runSource(args[1], "<-c>", engine, tracing);
    }
    if (mode == "--tokens") {
        if (!hasOperand) return complainMissingArgument("--tokens requires a file");
        return dumpTokenFile(args[1]);
    }
    if (mode == "--watch") {
        if (!hasOperand) return complainMissingArgument("--watch requires a file");
        watchFile(args[1], engine);
    }
    if (mode == "--format") return formatFiles(std::vector<std::string>(args.begin() + 1, args.end()));
    if (mode == "--bench") {
        if (!hasOperand) return complainMissingArgument("--bench requires a file");
        return runBenchmark(args[1]);
    }
    return runFile(mode, engine, tracing);
}

}  // namespace

int runSource(std::string_view text, std::string_view sourceName, Engine engine, Tracing tracing) {
    CallTrace trace;
    const bool finished = runReported(text, sourceName, [&] {
        const PreparedProgram program = prepareProgram(text, engine);
        runOnFreshEngine(program, engine, tracing == Tracing::On ? &trace : nullptr);
    });
    if (!trace.empty()) reportText(formatTrace(trace, sourceName));
    return finished ? 0 : 1;
}

void dumpTokens(const std::vector<Token>& tokens, std::ostream& out) {
    std::string line;
    for (const Token& token : tokens) {
        line.clear();
        line += tokenKindName(token.kind);
        line += " '";
        line += token.text;
        line += "' @";
        line += std::to_string(token.line);
        line += ':';
        line += std::to_string(token.column);
        line += '\n';
        out << line;
    }
}

int runMain(int argc, char** argv) {
    markNativeStackBase();
    // Everything prints through iostreams, so they need no lockstep with C stdio; every error path
    // flushes standard output before writing to standard error, which keeps the two in order.
    std::ios::sync_with_stdio(false);
    const CheckedStandardOutput checkedOutput;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    int status = 1;
    try {
        status = dispatch(std::move(args));
    } catch (const std::exception& failure) {
        // Runs report their own errors; what reaches here is a failure of the program itself.
        reportSystemFailure(failure);
        status = 1;
    } catch (...) {
        reportUnknownFailure();
        status = 1;
    }
    std::cout.flush();
    return status;
}

}  // namespace velmor
