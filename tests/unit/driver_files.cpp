#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "driver.h"
#include "driver/reporting.h"
#include "lexer/lexer.h"

namespace velmor {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class TemporaryFolder {
public:
    TemporaryFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() / (std::string("velmor-driver-") + info->test_suite_name() + "-" +
                                             info->name() + "-" + std::to_string(std::random_device{}()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string file(const std::string& name, const std::string& bytes) const {
        const fs::path path = path_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Captures std::cout and std::cerr for its lifetime.
class CapturedOutput {
public:
    CapturedOutput() : oldOut_(std::cout.rdbuf(out_.rdbuf())), oldErr_(std::cerr.rdbuf(err_.rdbuf())) {}
    ~CapturedOutput() {
        std::cout.rdbuf(oldOut_);
        std::cerr.rdbuf(oldErr_);
    }
    std::string out() { return out_.str(); }
    std::string err() { return err_.str(); }

private:
    std::ostringstream out_;
    std::ostringstream err_;
    std::streambuf* oldOut_;
    std::streambuf* oldErr_;
};

TEST(ReadSourceFile, KeepsEveryByte) {
    TemporaryFolder folder;
    const std::string bytes("print(1)\r\n\0x\xFF\r\n", 15);
    const SourceFile file = readSourceFile(folder.file("crlf.vlm", bytes));
    EXPECT_TRUE(file.opened);
    EXPECT_EQ(file.text, bytes);
}

TEST(ReadSourceFile, EmptyFileIsASuccessfulRead) {
    TemporaryFolder folder;
    const SourceFile file = readSourceFile(folder.file("empty.vlm", ""));
    EXPECT_TRUE(file.opened);
    EXPECT_EQ(file.text, "");
}

TEST(ReadSourceFile, MissingFilesAndFoldersCannotBeOpened) {
    TemporaryFolder folder;
    EXPECT_FALSE(readSourceFile((folder.path() / "missing.vlm").string()).opened);
    const SourceFile directory = readSourceFile(folder.path().string());
    EXPECT_FALSE(directory.opened);
    EXPECT_EQ(directory.text, "");
}

TEST(DumpTokens, OneLinePerTokenWithPositions) {
    std::ostringstream out;
    dumpTokens(tokenize("let x = 1\n"), out);
    EXPECT_EQ(out.str(), "token 'let' @1:1\n"
                         "name 'x' @1:5\n"
                         "token '=' @1:7\n"
                         "number '1' @1:9\n"
                         "end of line '\\n' @1:9\n"
                         "end of file '' @1:9\n");
}

TEST(DumpTokens, StringsShowProcessedTextAndInterpolationsNone) {
    std::ostringstream out;
    dumpTokens(tokenize("\"a\\tb\" \"v${x}\""), out);
    EXPECT_EQ(out.str(), "string 'a\tb' @1:1\n"
                         "interp-string '' @1:8\n"
                         "end of file '' @1:8\n");
}

TEST(IsIncomplete, CountsOpenersAgainstClosers) {
    EXPECT_TRUE(isIncomplete("function f(n)"));
    EXPECT_TRUE(isIncomplete("function f(n)\nreturn n * 2"));
    EXPECT_FALSE(isIncomplete("function f(n)\nreturn n * 2\nend"));
    EXPECT_TRUE(isIncomplete("if x then\nlet = 3"));
    EXPECT_TRUE(isIncomplete("let m = {\"a\": [1,"));
    EXPECT_TRUE(isIncomplete("try\nerror(1)\ncatch e"));
    EXPECT_TRUE(isIncomplete("for i = 1, 3 do"));
    EXPECT_TRUE(isIncomplete("while true do"));
    EXPECT_FALSE(isIncomplete(")"));
    EXPECT_FALSE(isIncomplete("end"));
    EXPECT_FALSE(isIncomplete("1 +"));  // nothing open: reported at once
    EXPECT_FALSE(isIncomplete(""));
}

TEST(IsIncomplete, IgnoresCommentsAndStringsAndStopsOnLexicalErrors) {
    EXPECT_FALSE(isIncomplete("# if while for ("));
    EXPECT_FALSE(isIncomplete("print(\"if (\")"));
    EXPECT_FALSE(isIncomplete("function f(\n\"open"));  // unterminated string: reported, not continued
}

class FileWatcherTest : public ::testing::Test {
protected:
    void setTime(const std::string& path, fs::file_time_type time) { fs::last_write_time(path, time); }
};

TEST_F(FileWatcherTest, RunsOnEveryChangeOfTheWriteTime) {
    TemporaryFolder folder;
    const std::string path = (folder.path() / "watched.vlm").string();
    FileWatcher watcher(path, Engine::TreeWalker);
    {
        CapturedOutput output;
        EXPECT_FALSE(watcher.poll());  // no file yet
        EXPECT_EQ(output.out(), "");
    }

    folder.file("watched.vlm", "print(\"one\")\n");
    const fs::file_time_type first = fs::last_write_time(path);
    {
        CapturedOutput output;
        EXPECT_TRUE(watcher.poll());
        EXPECT_FALSE(watcher.poll());  // unchanged
        const std::string out = output.out();
        ASSERT_EQ(out.size(), std::string("\n---- run at hh:mm:ss ----\none\n").size()) << out;
        EXPECT_EQ(out.substr(0, 13), "\n---- run at ");
        EXPECT_EQ(out.substr(21), " ----\none\n");
    }

    folder.file("watched.vlm", "print(\"two\")\n");
    setTime(path, first + std::chrono::seconds(30));
    {
        CapturedOutput output;
        EXPECT_TRUE(watcher.poll());
        EXPECT_NE(output.out().find("two\n"), std::string::npos);
    }

    // Back in time counts as a change too.
    folder.file("watched.vlm", "print(\"three\")\n");
    setTime(path, first - std::chrono::seconds(30));
    {
        CapturedOutput output;
        EXPECT_TRUE(watcher.poll());
        EXPECT_NE(output.out().find("three\n"), std::string::npos);
    }
}

TEST_F(FileWatcherTest, ErrorsAndUnmetVersionsDoNotStopWatching) {
    TemporaryFolder folder;
    const std::string path = folder.file("broken.vlm", "#pragma version 7\nprint(\"ran\")\n");
    const fs::file_time_type first = fs::last_write_time(path);
    FileWatcher watcher(path, Engine::BytecodeVm);
    {
        CapturedOutput output;
        EXPECT_TRUE(watcher.poll());
        EXPECT_EQ(output.out().find("ran"), std::string::npos);
        EXPECT_EQ(output.err(), "velmor: " + path + " requires Velmor >= 7 (this is 6)\n");
    }

    folder.file("broken.vlm", "error(\"boom\")\n");
    setTime(path, first + std::chrono::seconds(5));
    {
        CapturedOutput output;
        EXPECT_TRUE(watcher.poll());
        EXPECT_EQ(output.err(), "Error: boom\n");
    }

    folder.file("broken.vlm", "print(\"fixed\")\n");
    setTime(path, first + std::chrono::seconds(10));
    {
        CapturedOutput output;
        EXPECT_TRUE(watcher.poll());
        EXPECT_NE(output.out().find("fixed\n"), std::string::npos);
        EXPECT_EQ(output.err(), "");
    }
}

TEST(RunSource, ReportsErrorsWithTheSourceName) {
    CapturedOutput output;
    EXPECT_EQ(runSource("print(\"before\")\nlet x = = 2\n", "<-c>", Engine::TreeWalker), 1);
    EXPECT_EQ(output.out(), "");
    EXPECT_EQ(output.err().substr(0, output.err().find('\n')), "SyntaxError: unexpected '=' in expression");
    EXPECT_NE(output.err().find("  --> <-c>:2:9\n2 | let x = = 2\n"), std::string::npos);
}

TEST(RunSource, ThrownValuesPrintTheirPlainForm) {
    for (Engine engine : {Engine::BytecodeVm, Engine::TreeWalker}) {
        CapturedOutput output;
        EXPECT_EQ(runSource("print(1)\nerror([1, \"a\"])\n", "t.vlm", engine), 1);
        EXPECT_EQ(output.out(), "1\n");
        EXPECT_EQ(output.err(), "Error: [1, \"a\"]\n");
    }
}

TEST(RunSource, SuccessIsZeroOnBothEngines) {
    for (Engine engine : {Engine::BytecodeVm, Engine::TreeWalker}) {
        CapturedOutput output;
        EXPECT_EQ(runSource("let total = 0\nfor i = 1, 4 do\ntotal += i\nend\nprint(total)\n", "t.vlm", engine), 0);
        EXPECT_EQ(output.out(), "10\n");
        EXPECT_EQ(output.err(), "");
    }
}

TEST(ReportSystemFailure, OutOfMemoryAndLibraryErrorsBecomeReports) {
    CapturedOutput output;
    reportSystemFailure(std::bad_alloc());
    reportSystemFailure(std::length_error("vector too long"));
    reportUnknownFailure();
    EXPECT_EQ(output.err(), "RuntimeError: out of memory\n"
                            "RuntimeError: internal error (vector too long)\n"
                            "RuntimeError: internal error (unknown exception)\n");
}

}  // namespace
}  // namespace velmor
