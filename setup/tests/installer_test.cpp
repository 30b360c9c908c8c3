#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "installer.h"
#include "text_encoding.h"

// GCC 12 at -O2 and above reports the std::string members of the brace-built
// case tables as maybe uninitialized (a known false positive with
// initializer lists of aggregates holding strings).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace velmor::setup {
namespace {

constexpr const char* kLocal = "C:\\Users\\ana\\AppData\\Local";
constexpr const char* kInstallFolder = "C:\\Users\\ana\\AppData\\Local\\Programs\\Velmor";
constexpr const char* kProgramFolder = "C:\\Users\\ana\\AppData\\Local\\Programs\\Velmor\\bin";
constexpr const char* kProgramFile = "C:\\Users\\ana\\AppData\\Local\\Programs\\Velmor\\bin\\velmor.exe";
constexpr const char* kPackageFile = "C:\\Users\\ana\\AppData\\Local\\Programs\\Velmor\\velmor-extension.vsix";
constexpr const char* kFindCode = "where code >nul 2>nul";

// A scripted machine: every call is logged in order, and the output is kept apart.
class FakeSystem final : public SetupSystem {
public:
    std::map<std::string, std::string> environment{{"LOCALAPPDATA", kLocal}};
    std::set<std::string> existing;
    bool createSucceeds = true;
    std::set<int> failingResources;
    UserPath userPath;
    bool writeSucceeds = true;
    std::map<std::string, int> commandStatus{{kFindCode, 0}};
    std::deque<std::string> inputLines;

    std::vector<std::string> log;
    std::string output;
    std::vector<std::string> pathWrites;
    int charactersRead = 0;

    std::string environmentText(const std::string& name) override {
        log.push_back("env " + name);
        auto found = environment.find(name);
        return found == environment.end() ? std::string() : found->second;
    }
    bool createFolders(const std::string& path) override {
        log.push_back("create " + path);
        if (!createSucceeds || existing.count(path)) {
            return false;
        }
        existing.insert(path);
        return true;
    }
    bool pathExists(const std::string& path) override {
        log.push_back("exists " + path);
        return existing.count(path) > 0;
    }
    bool extractResource(int id, const std::string& path) override {
        log.push_back("extract " + std::to_string(id) + " " + path);
        if (failingResources.count(id)) {
            return false;
        }
        existing.insert(path);
        return true;
    }
    UserPath readUserPath() override {
        log.push_back("read path");
        return userPath;
    }
    bool writeUserPath(const std::string& text) override {
        log.push_back("write path " + text);
        pathWrites.push_back(text);
        if (writeSucceeds) {
            userPath = {UserPathState::Read, text};
        }
        return writeSucceeds;
    }
    void deleteTree(const std::string& path) override {
        log.push_back("delete " + path);
        std::erase_if(existing, [&](const std::string& item) { return item.rfind(path, 0) == 0; });
    }
    int runCommand(const std::string& command) override {
        log.push_back("run " + command);
        auto found = commandStatus.find(command);
        return found == commandStatus.end() ? 0 : found->second;
    }
    void write(std::string_view text) override { output += text; }
    std::optional<std::string> readLine() override {
        log.push_back("read line");
        if (inputLines.empty()) {
            return std::nullopt;
        }
        std::string line = inputLines.front();
        inputLines.pop_front();
        return line;
    }
    void readCharacter() override {
        log.push_back("read character");
        ++charactersRead;
    }

    bool logged(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }
    std::ptrdiff_t position(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) - log.begin();
    }
};

int setupWith(std::vector<std::string> arguments, FakeSystem& system) { return runSetup(arguments, system); }

const std::string kInstallOutput = std::string("\nInstalling Velmor to ") + kInstallFolder +
                                   "\n\n"
                                   "  Installed velmor.exe\n"
                                   "  Added Velmor to your PATH\n"
                                   "  Installed the VS Code extension\n"
                                   "\nDone. Open a NEW terminal and run:  velmor --version\n";

const std::string kMenu = "======================================\n"
                          "  Velmor 0.5.0 - Setup\n"
                          "  https://github.com/velmor-lang/velmor\n"
                          "======================================\n\n"
                          "  [1] Install Velmor\n"
                          "  [2] Uninstall Velmor\n"
                          "  [3] Exit\n\n"
                          "  Choose (1-3): ";

TEST(SetupOptions, FirstExactOptionDecides) {
    using Arguments = std::vector<std::string>;
    EXPECT_EQ(selectOperation(Arguments{"foo", "--install"}), Operation::Install);
    EXPECT_EQ(selectOperation(Arguments{"-u", "-i"}), Operation::Uninstall);
    EXPECT_EQ(selectOperation(Arguments{"-i", "-u"}), Operation::Install);
    EXPECT_EQ(selectOperation(Arguments{"/install"}), Operation::Install);
    EXPECT_EQ(selectOperation(Arguments{"/uninstall"}), Operation::Uninstall);
    EXPECT_EQ(selectOperation(Arguments{"--uninstall"}), Operation::Uninstall);
    // Matching is exact and case-sensitive.
    EXPECT_EQ(selectOperation(Arguments{"/INSTALL"}), Operation::Menu);
    EXPECT_EQ(selectOperation(Arguments{"-I", "--Install", "--install=yes", " -i", "install"}), Operation::Menu);
    EXPECT_EQ(selectOperation(Arguments{}), Operation::Menu);
}

TEST(SetupOptions, OptionRunsWithoutMenuAndWaitsForAKey) {
    FakeSystem system;
    EXPECT_EQ(setupWith({"foo", "--install"}, system), 0);
    EXPECT_EQ(system.output, kInstallOutput + "\nPress Enter to close...");
    EXPECT_EQ(system.charactersRead, 1);
    EXPECT_FALSE(system.logged("read line"));
}

TEST(SetupOptions, UpperCaseOptionShowsTheMenu) {
    FakeSystem system;
    EXPECT_EQ(setupWith({"/INSTALL"}, system), 0);
    EXPECT_EQ(system.output, kMenu + "\nCancelled.\n");
    EXPECT_FALSE(system.logged("extract 101 " + std::string(kProgramFile)));
}

TEST(SetupOptions, FirstOptionUninstalls) {
    FakeSystem system;
    system.existing.insert(kInstallFolder);
    EXPECT_EQ(setupWith({"-u", "-i"}, system), 0);
    EXPECT_TRUE(system.logged("delete " + std::string(kInstallFolder)));
    EXPECT_FALSE(system.logged("extract 101 " + std::string(kProgramFile)));
}

TEST(SetupMenu, ChoicesByFirstCharacter) {
    struct Case {
        std::optional<std::string> line;
        const char* expectedFirstStep;  // nullptr: cancelled
    };
    const std::vector<Case> cases = {
        {"1", "Installing"}, {"1abc", "Installing"}, {"2", "Removing"}, {"2 please", "Removing"}, {"3", nullptr},
        {"", nullptr},       {" 1", nullptr},        {"x", nullptr},    {std::nullopt, nullptr},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.line ? "line '" + *item.line + "'" : "end of input");
        FakeSystem system;
        if (item.line) {
            system.inputLines.push_back(*item.line);
        }
        const int status = setupWith({}, system);
        EXPECT_EQ(status, 0);
        ASSERT_EQ(system.output.substr(0, kMenu.size()), kMenu);
        const std::string rest = system.output.substr(kMenu.size());
        if (item.expectedFirstStep == nullptr) {
            EXPECT_EQ(rest, "\nCancelled.\n");
            EXPECT_EQ(system.charactersRead, 0);
            EXPECT_EQ(system.log, (std::vector<std::string>{"read line"}));
        } else {
            EXPECT_EQ(rest.rfind(std::string("\n") + item.expectedFirstStep + " Velmor", 0), 0u) << rest;
            EXPECT_EQ(rest.substr(rest.size() - 24), "\nPress Enter to close...");
            EXPECT_EQ(system.charactersRead, 1);
        }
    }
}

TEST(SetupMenu, OperationResultIsTheExitStatus) {
    FakeSystem system;
    system.environment.clear();
    system.inputLines.push_back("1");
    EXPECT_EQ(setupWith({}, system), 1);
    EXPECT_EQ(system.output, kMenu + "  ERROR: LOCALAPPDATA is not set.\n\nPress Enter to close...");
    EXPECT_EQ(system.charactersRead, 1);
}

TEST(PathContains, MatchesTrimmedEntriesIgnoringCase) {
    const std::string folder = kProgramFolder;
    EXPECT_TRUE(pathContains(folder, folder));
    EXPECT_TRUE(pathContains("C:\\A;" + folder + ";C:\\B", folder));
    EXPECT_TRUE(pathContains("c:\\users\\ANA\\appdata\\local\\programs\\velmor\\BIN", folder));
    EXPECT_TRUE(pathContains("A;   " + folder + "  ;B", folder));
    EXPECT_TRUE(pathContains(";;" + folder + ";", folder));
    EXPECT_FALSE(pathContains(folder + "\\", folder));
    EXPECT_FALSE(pathContains("\t" + folder, folder));  // only spaces are trimmed
    EXPECT_FALSE(pathContains("%LOCALAPPDATA%\\Programs\\Velmor\\bin", folder));
    EXPECT_FALSE(pathContains("", folder));
    EXPECT_FALSE(pathContains(";; ;", folder));
    EXPECT_FALSE(pathContains("A;B", ""));  // empty entries never match
    EXPECT_FALSE(pathContains(folder + "x", folder));
}

TEST(PathEdits, AppendingTheFolder) {
    EXPECT_EQ(pathWithFolder("C:\\Tools", "D:\\v\\bin"), "C:\\Tools;D:\\v\\bin");
    EXPECT_EQ(pathWithFolder("C:\\Tools;", "D:\\v\\bin"), "C:\\Tools;D:\\v\\bin");
    EXPECT_EQ(pathWithFolder("", "D:\\v\\bin"), "D:\\v\\bin");
    EXPECT_EQ(pathWithFolder("%USERPROFILE%\\x ", "D:\\v\\bin"), "%USERPROFILE%\\x ;D:\\v\\bin");
}

TEST(PathEdits, RemovingTheFolderKeepsOtherPiecesVerbatim) {
    const std::string folder = kProgramFolder;
    EXPECT_EQ(pathWithoutFolder("A; " + folder + " ;;B", folder), "A;B");
    EXPECT_EQ(pathWithoutFolder(" C:\\x ;" + folder, folder), " C:\\x ");
    EXPECT_EQ(pathWithoutFolder(folder, folder), "");
    EXPECT_EQ(pathWithoutFolder(folder + ";A;" + folder + ";B;", folder), "A;B");
    EXPECT_EQ(pathWithoutFolder("A;" + folder + "\\;%X%", folder), "A;" + folder + "\\;%X%");
    EXPECT_EQ(pathWithoutFolder(";  ;A", folder), "A");
}

// Entries in any characters, as Windows hands them over (UTF-16, not always
// valid), next to the tricky ASCII ones.
const std::u16string kOtherEntries[] = {
    u"C:\\Tools",
    u"%USERPROFILE%\\bin",
    u"C:\\Пути\\бин",
    u"C:\\café",
    u" D:\\工具\\bin ",
    u"E:\\🚀",
    std::u16string(u"F:\\lone") + char16_t(0xD800),
    std::u16string(u"G:\\") + char16_t(0xDFFF) + u"x",
    u"\tH:\\tab",
    u"C:\\USERS\\ПЁТР\\APPDATA\\LOCAL\\PROGRAMS\\VELMOR\\BIN",
};

// Through the fake system: install adds the folder after the user's entries
// and uninstall removes it again, and every other entry comes back exactly,
// unit for unit, whatever the mix.
TEST(PathEdits, EntriesInAnyCharactersSurviveInstallAndUninstall) {
    const std::u16string folder = u"C:\\Users\\Пётр\\AppData\\Local\\Programs\\Velmor\\bin";
    std::mt19937 generator(16);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kOtherEntries) - 1);
    std::uniform_int_distribution<int> count(0, 6);
    for (int round = 0; round < 500; ++round) {
        std::u16string before;
        for (int i = count(generator); i > 0; --i) {
            before += (before.empty() ? u"" : u";") + kOtherEntries[pick(generator)];
        }
        SCOPED_TRACE(utf8FromUtf16(before));
        FakeSystem system;
        system.environment["LOCALAPPDATA"] = utf8FromUtf16(u"C:\\Users\\Пётр\\AppData\\Local");
        system.userPath = {UserPathState::Read, utf8FromUtf16(before)};
        ASSERT_EQ(runInstall(system), 0);
        ASSERT_EQ(system.pathWrites.size(), 1u);
        EXPECT_EQ(utf16FromUtf8(system.pathWrites[0]), before + (before.empty() ? u"" : u";") + folder);
        ASSERT_EQ(runUninstall(system), 0);
        ASSERT_EQ(system.pathWrites.size(), 2u);
        EXPECT_EQ(utf16FromUtf8(system.pathWrites[1]), before);
    }
}

TEST(PathContains, NonAsciiFolderMatchesIgnoringAsciiCaseOnly) {
    const std::string folder = utf8FromUtf16(u"C:\\Users\\Пётр\\AppData\\Local\\Programs\\Velmor\\bin");
    EXPECT_TRUE(pathContains(utf8FromUtf16(u"A; c:\\USERS\\Пётр\\appdata\\LOCAL\\programs\\VELMOR\\bin ;B"), folder));
    // Letters outside ASCII are compared as they are: another spelling is another entry.
    EXPECT_FALSE(pathContains(utf8FromUtf16(u"C:\\Users\\пётр\\AppData\\Local\\Programs\\Velmor\\bin"), folder));
    EXPECT_FALSE(pathContains(utf8FromUtf16(u"C:\\Users\\Петр\\AppData\\Local\\Programs\\Velmor\\bin"), folder));
    EXPECT_EQ(pathWithoutFolder(utf8FromUtf16(u"C:\\Пути;") + folder + ";" + utf8FromUtf16(u"D:\\工具"), folder),
              utf8FromUtf16(u"C:\\Пути;D:\\工具"));
}

struct InstallPathCase {
    std::string name;
    UserPath before;
    std::optional<std::string> written;
    const char* status;
};

TEST(SetupInstall, NewPathValues) {
    const std::string folder = kProgramFolder;
    const std::vector<InstallPathCase> cases = {
        {"tools", {UserPathState::Read, "C:\\Tools"}, "C:\\Tools;" + folder, "Added Velmor to your PATH"},
        {"tools with separator",
         {UserPathState::Read, "C:\\Tools;"},
         "C:\\Tools;" + folder,
         "Added Velmor to your PATH"},
        {"no value", {UserPathState::Missing, ""}, folder, "Added Velmor to your PATH"},
        {"empty value", {UserPathState::Read, ""}, folder, "Added Velmor to your PATH"},
        {"already present", {UserPathState::Read, "A; " + folder + " ;B"}, std::nullopt, "PATH already set"},
        {"present in other case",
         {UserPathState::Read, "C:\\USERS\\ANA\\APPDATA\\LOCAL\\PROGRAMS\\VELMOR\\BIN"},
         std::nullopt,
         "PATH already set"},
        {"trailing backslash differs",
         {UserPathState::Read, folder + "\\"},
         folder + "\\;" + folder,
         "Added Velmor to your PATH"},
    };
    for (const InstallPathCase& item : cases) {
        SCOPED_TRACE(item.name);
        FakeSystem system;
        system.userPath = item.before;
        EXPECT_EQ(runInstall(system), 0);
        if (item.written) {
            EXPECT_EQ(system.pathWrites, std::vector<std::string>{*item.written});
        } else {
            EXPECT_TRUE(system.pathWrites.empty());
        }
        EXPECT_NE(system.output.find(std::string("\n  ") + item.status + "\n"), std::string::npos) << system.output;
    }
}

TEST(SetupInstall, StepsRunInOrder) {
    FakeSystem system;
    EXPECT_EQ(runInstall(system), 0);
    const std::vector<std::string> expected = {
        "env LOCALAPPDATA",
        "create " + std::string(kProgramFolder),
        "extract 101 " + std::string(kProgramFile),
        "read path",
        "write path " + std::string(kProgramFolder),
        "extract 102 " + std::string(kPackageFile),
        std::string("run ") + kFindCode,
        "run code --install-extension \"" + std::string(kPackageFile) + "\" --force >nul 2>nul",
    };
    EXPECT_EQ(system.log, expected);
    EXPECT_EQ(system.output, kInstallOutput);
}

TEST(SetupInstall, PackageIsWrittenEvenWithoutCode) {
    FakeSystem system;
    system.commandStatus[kFindCode] = 1;
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_LT(system.position("extract 102 " + std::string(kPackageFile)),
              system.position(std::string("run ") + kFindCode));
    EXPECT_TRUE(system.existing.count(kPackageFile));
    EXPECT_EQ(system.output, std::string("\nInstalling Velmor to ") + kInstallFolder +
                                 "\n\n"
                                 "  Installed velmor.exe\n"
                                 "  Added Velmor to your PATH\n"
                                 "  VS Code not found; skipped the editor extension\n"
                                 "        (install later with: code --install-extension \"" +
                                 kPackageFile +
                                 "\")\n"
                                 "\nDone. Open a NEW terminal and run:  velmor --version\n");
    EXPECT_EQ(std::count_if(system.log.begin(), system.log.end(),
                            [](const std::string& entry) { return entry.rfind("run code", 0) == 0; }),
              0);
}

TEST(SetupInstall, FailedExtensionInstallIsANote) {
    FakeSystem system;
    system.commandStatus["code --install-extension \"" + std::string(kPackageFile) + "\" --force >nul 2>nul"] = 9009;
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_NE(system.output.find("\n  Note: VS Code extension install did not complete\n"), std::string::npos);
}

TEST(SetupInstall, FailedPackageWriteSkipsTheExtensionSilently) {
    FakeSystem system;
    system.failingResources.insert(kPackageResource);
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_FALSE(system.logged(std::string("run ") + kFindCode));
    EXPECT_EQ(system.output, std::string("\nInstalling Velmor to ") + kInstallFolder +
                                 "\n\n  Installed velmor.exe\n  Added Velmor to your PATH\n"
                                 "\nDone. Open a NEW terminal and run:  velmor --version\n");
}

TEST(SetupInstall, FatalErrors) {
    {
        SCOPED_TRACE("LOCALAPPDATA unset");
        FakeSystem system;
        system.environment.clear();
        EXPECT_EQ(runInstall(system), 1);
        EXPECT_EQ(system.output, "  ERROR: LOCALAPPDATA is not set.\n");
        EXPECT_EQ(system.log, std::vector<std::string>{"env LOCALAPPDATA"});
    }
    {
        SCOPED_TRACE("folder cannot be created");
        FakeSystem system;
        system.createSucceeds = false;
        EXPECT_EQ(runInstall(system), 1);
        EXPECT_EQ(system.output, std::string("\nInstalling Velmor to ") + kInstallFolder +
                                     "\n\n  ERROR: could not create " + kProgramFolder + "\n");
        EXPECT_FALSE(system.logged("read path"));
    }
    {
        SCOPED_TRACE("program cannot be written");
        FakeSystem system;
        system.failingResources.insert(kProgramResource);
        EXPECT_EQ(runInstall(system), 1);
        EXPECT_EQ(system.output, std::string("\nInstalling Velmor to ") + kInstallFolder +
                                     "\n\n  ERROR: could not write velmor.exe\n");
        EXPECT_FALSE(system.logged("read path"));
        EXPECT_FALSE(system.logged("extract 102 " + std::string(kPackageFile)));
    }
}

TEST(SetupInstall, ExistingFolderIsFine) {
    FakeSystem system;
    system.existing.insert(kProgramFolder);
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_TRUE(system.logged("exists " + std::string(kProgramFolder)));
    EXPECT_EQ(system.output, kInstallOutput);
}

TEST(SetupInstall, TrailingSeparatorOfLocalAppDataIsDropped) {
    FakeSystem system;
    system.environment["LOCALAPPDATA"] = std::string(kLocal) + "\\";
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_EQ(system.output, kInstallOutput);
    EXPECT_EQ(system.pathWrites, std::vector<std::string>{kProgramFolder});
}

// A user folder outside every ANSI code page: the steps get the whole path and
// the messages name it as it is.
TEST(SetupInstall, NonAnsiLocalAppData) {
    const std::string local = utf8FromUtf16(u"C:\\Users\\Пётр 工具\\AppData\\Local");
    const std::string install = local + "\\Programs\\Velmor";
    FakeSystem system;
    system.environment["LOCALAPPDATA"] = local;
    system.commandStatus[kFindCode] = 1;
    EXPECT_EQ(runInstall(system), 0);
    const std::vector<std::string> expected = {
        "env LOCALAPPDATA",
        "create " + install + "\\bin",
        "extract 101 " + install + "\\bin\\velmor.exe",
        "read path",
        "write path " + install + "\\bin",
        "extract 102 " + install + "\\velmor-extension.vsix",
        std::string("run ") + kFindCode,
    };
    EXPECT_EQ(system.log, expected);
    EXPECT_EQ(system.output, "\nInstalling Velmor to " + install +
                                 "\n\n"
                                 "  Installed velmor.exe\n"
                                 "  Added Velmor to your PATH\n"
                                 "  VS Code not found; skipped the editor extension\n"
                                 "        (install later with: code --install-extension \"" +
                                 install +
                                 "\\velmor-extension.vsix\")\n"
                                 "\nDone. Open a NEW terminal and run:  velmor --version\n");
}

TEST(SetupInstall, ReinstallLeavesPathAlone) {
    FakeSystem system;
    EXPECT_EQ(runInstall(system), 0);
    system.output.clear();
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_EQ(system.pathWrites.size(), 1u);
    EXPECT_NE(system.output.find("\n  PATH already set\n"), std::string::npos) << system.output;
}

TEST(SetupInstall, FailedPathWriteWarnsAndGoesOn) {
    FakeSystem system;
    system.userPath = {UserPathState::Read, "C:\\Tools"};
    system.writeSucceeds = false;
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_NE(system.output.find("\n  WARNING: could not update PATH\n  Installed the VS Code extension\n"),
              std::string::npos)
        << system.output;
}

// A value that exists but cannot be read whole must not be replaced by the
// program folder alone: that would throw away the user's Path.
TEST(SetupInstall, UnreadablePathIsNeverOverwritten) {
    FakeSystem system;
    system.userPath = {UserPathState::Unreadable, ""};
    EXPECT_EQ(runInstall(system), 0);
    EXPECT_TRUE(system.pathWrites.empty());
    EXPECT_EQ(system.output, std::string("\nInstalling Velmor to ") + kInstallFolder +
                                 "\n\n"
                                 "  Installed velmor.exe\n"
                                 "  WARNING: could not update PATH\n"
                                 "  Installed the VS Code extension\n"
                                 "\nDone. Open a NEW terminal and run:  velmor --version\n");
}

TEST(SetupUninstall, StepsAndMessages) {
    FakeSystem system;
    const std::string folder = kProgramFolder;
    system.userPath = {UserPathState::Read, "A; " + folder + " ;;B"};
    system.existing.insert(kInstallFolder);
    EXPECT_EQ(runUninstall(system), 0);
    const std::vector<std::string> expected = {
        "env LOCALAPPDATA",
        "read path",
        "write path A;B",
        "exists " + std::string(kInstallFolder),
        "delete " + std::string(kInstallFolder),
        std::string("run ") + kFindCode,
        "run code --uninstall-extension velmor.velmor-lang >nul 2>nul",
    };
    EXPECT_EQ(system.log, expected);
    EXPECT_EQ(system.output, std::string("\nRemoving Velmor from ") + kInstallFolder +
                                 "\n\n"
                                 "  Removed Velmor from your PATH\n"
                                 "  Deleted installed files\n"
                                 "  Removed the VS Code extension\n"
                                 "\nVelmor removed. Restart open terminals to refresh PATH.\n");
}

TEST(SetupUninstall, NothingInstalled) {
    FakeSystem system;
    system.userPath = {UserPathState::Read, "C:\\Tools"};
    system.commandStatus[kFindCode] = 1;
    EXPECT_EQ(runUninstall(system), 0);
    EXPECT_TRUE(system.pathWrites.empty());
    EXPECT_FALSE(system.logged("delete " + std::string(kInstallFolder)));
    EXPECT_EQ(system.output, std::string("\nRemoving Velmor from ") + kInstallFolder +
                                 "\n\n\nVelmor removed. Restart open terminals to refresh PATH.\n");
}

TEST(SetupUninstall, ExtensionRemovalIsReportedWhateverItsOutcome) {
    FakeSystem system;
    system.commandStatus["code --uninstall-extension velmor.velmor-lang >nul 2>nul"] = 1;
    EXPECT_EQ(runUninstall(system), 0);
    EXPECT_NE(system.output.find("\n  Removed the VS Code extension\n"), std::string::npos);
}

TEST(SetupUninstall, PathProblemsWarn) {
    {
        SCOPED_TRACE("unreadable");
        FakeSystem system;
        system.userPath = {UserPathState::Unreadable, ""};
        EXPECT_EQ(runUninstall(system), 0);
        EXPECT_TRUE(system.pathWrites.empty());
        EXPECT_NE(system.output.find("\n\n  WARNING: could not update PATH\n"), std::string::npos) << system.output;
    }
    {
        SCOPED_TRACE("write fails");
        FakeSystem system;
        system.userPath = {UserPathState::Read, kProgramFolder};
        system.writeSucceeds = false;
        EXPECT_EQ(runUninstall(system), 0);
        EXPECT_EQ(system.pathWrites, std::vector<std::string>{""});
        EXPECT_NE(system.output.find("\n\n  WARNING: could not update PATH\n"), std::string::npos) << system.output;
    }
}

TEST(SetupUninstall, MissingLocalAppData) {
    FakeSystem system;
    system.environment["LOCALAPPDATA"] = "";
    EXPECT_EQ(setupWith({"/uninstall"}, system), 1);
    EXPECT_EQ(system.output, "  ERROR: LOCALAPPDATA is not set.\n\nPress Enter to close...");
    EXPECT_FALSE(system.logged("read path"));
}

}  // namespace
}  // namespace velmor::setup
