// The interactive prompt: collects lines until they parse, runs each fragment
// on one long-lived tree-walker and echoes the value of a final expression.
//
// Lines come from one of two places. When standard input and output are both
// a terminal, the line editor reads them (history, completion, Ctrl-C); a
// program runs with the terminal in its own mode, and Ctrl-C interrupts it.
// Otherwise (pipes, files, Windows' console with its own line input) lines
// are read as they come, and every byte the prompt writes is as it always was.

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "builtins/native.h"
#include "driver.h"
#include "driver/history_file.h"
#include "driver/line_editor.h"
#include "driver/repl.h"
#include "driver/reporting.h"
#include "driver/terminal.h"
#include "error.h"
#include "execution_limits.h"
#include "interpreter.h"
#include "lexer/lexer.h"
#include "lsp/analysis.h"
#include "parser.h"
#include "pragmas/pragmas.h"
#include "read_line.h"

namespace velmor {

namespace {

constexpr const char* kReplSourceName = "<repl>";
constexpr const char* kPrimaryPrompt = ">> ";
constexpr const char* kContinuationPrompt = ".. ";
// A file's byte order mark: the lexer drops it at the start of the text only.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

int openerBalance(const std::vector<Token>& tokens) {
    int balance = 0;
    for (const Token& token : tokens) {
        switch (token.kind) {
        case TokenKind::LeftParen:
        case TokenKind::LeftBracket:
        case TokenKind::LeftBrace:
        case TokenKind::Function:
        case TokenKind::If:
        case TokenKind::While:
        case TokenKind::For:
        case TokenKind::Try: ++balance; break;
        case TokenKind::RightParen:
        case TokenKind::RightBracket:
        case TokenKind::RightBrace:
        case TokenKind::End: --balance; break;
        default: break;
        }
    }
    return balance;
}

bool isIncomplete(std::string_view buffer) {
    std::vector<Token> tokens;
    try {
        tokens = tokenize(buffer);
    } catch (const VelmorError&) {
        return false;  // a lexical error is reported at once, never continued
    }
    return openerBalance(tokens) > 0;
}

FragmentBuffer::State FragmentBuffer::addLine(std::string_view line) {
    const bool firstLine = text_.empty();
    if (!firstLine) text_ += '\n';
    text_ += line;
    if (linesTokenized_ && !(!firstLine && line.starts_with(kByteOrderMark))) {
        try {
            balance_ += openerBalance(tokenize(line));
        } catch (const VelmorError&) {
            linesTokenized_ = false;  // the whole text fails to tokenize: parseWhole reports it
        }
    } else {
        linesTokenized_ = false;
    }
    if (linesTokenized_ && balance_ > 0) return State::Open;
    return parseWhole();
}

FragmentBuffer::State FragmentBuffer::parseWhole() {
    // One line of gap after each fragment: a position just past a fragment's end still names that fragment.
    const int64_t lines = linesApart_ ? std::count(text_.begin(), text_.end(), '\n') + 1 : 0;
    if (linesApart_ && firstLine_ + lines + 1 >= std::numeric_limits<int32_t>::max()) {
        // Out of numbers (after some two billion lines): fragments count from 1 again.
        linesApart_ = false;
        firstLine_ = 1;
    }
    try {
        statements_ = parseProgram(tokenizeFromLine(text_, firstLine_));
    } catch (const VelmorError& error) {
        if (isIncomplete(text_)) return State::Open;
        VelmorError counted = error;
        if (counted.line >= firstLine_) counted.line -= firstLine_ - 1;
        report_ = formatReport(counted, text_, sourceName_);
        clear();
        return State::Failed;
    }
    sourceFirstLine_ = firstLine_;
    if (linesApart_) firstLine_ += static_cast<int32_t>(lines) + 1;
    source_ = std::move(text_);
    clear();
    return State::Complete;
}

void FragmentBuffer::clear() {
    text_.clear();
    balance_ = 0;
    linesTokenized_ = true;
}

namespace {

// The prompt's state between lines: the interpreter, every syntax tree its
// functions may still point into, and the fragment being entered.
class Session {
public:
    const char* prompt() const { return fragment_.empty() ? kPrimaryPrompt : kContinuationPrompt; }
    bool atPrimaryPrompt() const { return fragment_.empty(); }
    void discardFragment() { fragment_.clear(); }
    const Interpreter& interpreter() const { return interpreter_; }
    // Called just before a complete fragment runs.
    void setBeforeRun(std::function<void()> beforeRun) { beforeRun_ = std::move(beforeRun); }
    // Runtime errors then show the line they stand on, as syntax errors do.
    void showRuntimeExcerpts() {
        runtimeExcerpts_ = true;
        fragment_.numberLinesApart();
    }

    // Takes one line; false when it ends the prompt.
    bool acceptLine(std::string line);

private:
    // The text of a fragment that ran, and the number its first line has in its tree.
    struct KeptSource {
        int32_t firstLine;
        std::string text;
    };

    void run(const StmtList& statements);
    void reportRuntimeError(const VelmorError& error) const;

    // Tree-walker functions point into the tree that defined them, so every
    // parsed input lives as long as the interpreter; declared first, the trees
    // are destroyed last.
    std::vector<StmtList> keptInputs_;
    // With runtime excerpts: the texts of the kept inputs, by first line.
    std::vector<KeptSource> keptSources_;
    bool runtimeExcerpts_ = false;
    Interpreter interpreter_;
    FragmentBuffer fragment_{kReplSourceName};
    std::function<void()> beforeRun_;
};

bool Session::acceptLine(std::string line) {
    // Input piped from a Windows file keeps its CR; the language treats it as blank space anyway.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (fragment_.empty() && (line == "exit" || line == "quit")) return false;
    FragmentBuffer::State state;
    try {
        state = fragment_.addLine(line);
    } catch (const std::exception& failure) {
        reportSystemFailure(failure);
        fragment_.clear();
        return true;
    }
    if (state == FragmentBuffer::State::Failed) {
        reportText(fragment_.report());
    } else if (state == FragmentBuffer::State::Complete) {
        keptInputs_.push_back(fragment_.takeStatements());
        if (runtimeExcerpts_) {
            // Numbers that start over no longer tell the inputs apart.
            if (!keptSources_.empty() && fragment_.sourceFirstLine() <= keptSources_.back().firstLine) {
                runtimeExcerpts_ = false;
                keptSources_.clear();
            } else {
                keptSources_.push_back(KeptSource{fragment_.sourceFirstLine(), fragment_.takeSource()});
            }
        }
        run(keptInputs_.back());
    }
    return true;
}

void Session::run(const StmtList& statements) {
    if (beforeRun_) beforeRun_();
    runReported("", kReplSourceName, [&] {
        try {
            Value result = interpreter_.runRepl(statements);
            if (!result.isNil()) std::cout << toRepr(result) << "\n";
        } catch (const Interrupted&) {
            std::cout.flush();
            std::cerr << kInterruptedReport << "\n";
        } catch (const VelmorError& error) {
            reportRuntimeError(error);
        }
    });
}

// Lines that are not typed at a terminal get the report without an excerpt,
// as the prompt has always given it. At the terminal the excerpt is the line
// of the fragment the error stands in, which may be an earlier one (that
// defined the function the error is in); the reported line counts from that
// fragment's start.
void Session::reportRuntimeError(const VelmorError& error) const {
    const auto after = std::upper_bound(keptSources_.begin(), keptSources_.end(), error.line,
                                        [](int32_t line, const KeptSource& kept) { return line < kept.firstLine; });
    if (!runtimeExcerpts_ || error.line < 1 || after == keptSources_.begin()) {
        reportError(error, "", kReplSourceName);
        return;
    }
    const KeptSource& kept = *std::prev(after);
    VelmorError counted = error;
    counted.line = error.line - kept.firstLine + 1;
    reportError(counted, kept.text, kReplSourceName);
}

// What a tab at the end of `source` (the fragment typed so far) offers:
// what the language server would offer there (the block's locals and
// parameters, the keys of a map it can see after "."), then keywords (from
// the token table), builtins (from the builtin table) and every global the
// session has defined; after "." on a global the fragment does not declare,
// the string keys of the map that global holds.
std::vector<std::string> completionsFor(std::string_view source, std::string_view prefix,
                                        const Interpreter& interpreter) {
    std::vector<std::string> names;
    const auto consider = [&](std::string_view name) {
        if (name.starts_with(prefix)) names.emplace_back(name);
    };
    const lsp::Analysis analysis{std::string(source)};
    for (const lsp::Analysis::CompletionItem& item : analysis.completion(source.size())) consider(item.label);

    const std::size_t begin = source.size() - prefix.size();
    if (begin > 0 && source[begin - 1] == '.') {
        std::size_t object = begin - 1;
        while (object > 0 && isNameByte(source[object - 1])) --object;
        const std::string name(source.substr(object, begin - 1 - object));
        const bool field = object > 0 && source[object - 1] == '.';
        if (names.empty() && !name.empty() && !field && analysis.definition(object).empty()) {
            const auto global = interpreter.globals->vars.find(name);
            if (global != interpreter.globals->vars.end() && global->second.isMap()) {
                for (const MapEntry& entry : global->second.asMap()) {
                    if (entry.key.isString() && lsp::isIdentifier(entry.key.asString())) consider(entry.key.asString());
                }
            }
        }
        return names;
    }
    for (int kind = kFirstKeyword; kind <= kLastKeyword; ++kind)
        consider(tokenKindSpelling(static_cast<TokenKind>(kind)));
    for (const BuiltinInfo& builtin : builtinTable()) consider(builtin.name);
    for (const auto& binding : interpreter.globals->vars) consider(binding.first);
    return names;
}

// Lines as they come, the prompt written before each.
int readPlainLines(Session& session) {
    // A Windows console ends the read on Ctrl-C; the prompt then starts afresh.
    std::unique_ptr<InterruptCatcher> interrupts;
#ifdef _WIN32
    std::unique_ptr<ConsoleModeGuard> consoleModes;
    if (standardStreamsAreTerminals()) {
        consoleModes = std::make_unique<ConsoleModeGuard>();
        interrupts = std::make_unique<InterruptCatcher>();
    }
#endif
    session.setBeforeRun([] { interruptRequested().store(false); });
    std::string line;
    for (;;) {
        std::cout << session.prompt() << std::flush;
        // A program's `input` that Ctrl-C ended left the stream failed; the console still reads.
        if (interrupts) std::cin.clear();
        bool read = false;
        try {
            read = readLine(std::cin, line);
        } catch (const std::bad_alloc& failure) {
            // A line too long for memory is reported like a program's
            // failure; the session goes on after the rest of that line.
            reportSystemFailure(failure);
            std::cin.clear();
            std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            line = std::string();
            session.discardFragment();
            continue;
        }
        if (!read) {
            if (interrupts && readEndedByInterrupt()) {
                std::cin.clear();
                std::cout << "\n";
                session.discardFragment();
                continue;
            }
            std::cout << "\n" << std::flush;
            return 0;
        }
        if (!session.acceptLine(std::move(line))) return 0;
    }
}

// Lines from the line editor. A multi-line entry recalled from the history
// goes through the prompt line by line, as if typed; the history keeps each
// fragment as one entry, whether it was typed or recalled, and saves it to
// the history file for later sessions.
int readEditedLines(Session& session, EditingTerminal& terminal) {
    InterruptCatcher interrupts;
    // Programs read standard input through the terminal's interruptible reader.
    struct ProgramInput {
        std::streambuf* saved;
        explicit ProgramInput(std::streambuf& input) : saved(std::cin.rdbuf(&input)) {}
        ~ProgramInput() {
            std::cin.clear();
            std::cin.exceptions(std::ios::goodbit);
            std::cin.rdbuf(saved);
        }
        ProgramInput(const ProgramInput&) = delete;
        ProgramInput& operator=(const ProgramInput&) = delete;
    } programInput(terminal.programInput());
    session.setBeforeRun([&terminal] {
        std::cout.flush();
        terminal.restore();
        // End of input typed to an earlier program's `input` does not end the
        // terminal; and an interrupt during a read leaves `input` as an exception.
        std::cin.clear();
        std::cin.exceptions(std::ios::badbit);
        interruptRequested().store(false);
    });
    session.showRuntimeExcerpts();
    std::string entry;  // the lines of the fragment being entered
    // A tab sees the block's earlier lines as well as the line being edited.
    LineEditor editor(terminal, [&session, &entry](std::string_view before, std::string_view prefix) {
        const std::string source = entry.empty() ? std::string(before) : entry + "\n" + std::string(before);
        return completionsFor(source, prefix, session.interpreter());
    });
    HistoryFile savedHistory(historyFilePath());
    for (std::string& saved : savedHistory.load(LineEditor::kMaxHistoryEntries)) editor.addHistory(std::move(saved));
    for (;;) {
        std::cout.flush();
        LineEditor::Result read = editor.readLine(session.prompt(), kContinuationPrompt);
        // Ctrl-D on an empty ".. " line drops the block, as Ctrl-C does; on
        // an empty ">> " line it ends the prompt.
        if (read.outcome == LineEditor::Outcome::EndKey && !session.atPrimaryPrompt()) {
            terminal.write("\r\n");
            session.discardFragment();
            entry.clear();
            continue;
        }
        if (read.outcome == LineEditor::Outcome::EndKey || read.outcome == LineEditor::Outcome::EndOfInput) {
            std::cout << "\n" << std::flush;
            terminal.restore();
            return 0;
        }
        if (read.outcome == LineEditor::Outcome::Interrupted) {
            session.discardFragment();
            entry.clear();
            continue;
        }
        std::string_view rest = read.text;
        for (;;) {
            const std::size_t newline = rest.find('\n');
            const std::string_view line = rest.substr(0, newline);
            if (!session.atPrimaryPrompt()) entry += '\n';
            entry += line;
            const bool goOn = session.acceptLine(std::string(line));
            if (session.atPrimaryPrompt()) {
                if (editor.addHistory(entry)) savedHistory.append(entry);
                entry.clear();
            }
            if (!goOn) {
                std::cout.flush();
                terminal.restore();
                return 0;
            }
            if (newline == std::string_view::npos) break;
            rest.remove_prefix(newline + 1);
        }
    }
}

}  // namespace

int startRepl() {
    Session session;
    std::cout << "Velmor " << kVersion << "  --  type Ctrl-D (or 'exit') to quit\n";
    if (std::unique_ptr<EditingTerminal> terminal = openEditingTerminal()) return readEditedLines(session, *terminal);
    return readPlainLines(session);
}

}  // namespace velmor
