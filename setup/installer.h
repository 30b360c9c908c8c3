#pragma once

// The installer's decisions: which operation the command line asks for, the
// menu, the order of the install and uninstall steps, the edits of the user's
// `Path` and every message. The operating system is reached only through
// `SetupSystem`, so all of this runs (and is tested) on any platform; the
// Windows implementation of the interface is a thin layer over Win32 calls.
//
// All text here (paths, the `Path` value, messages) is WTF-8, the lossless
// 8-bit form of Windows' UTF-16 (text_encoding.h): the edits of `Path` look
// only at ASCII bytes, so every entry they keep is kept byte for byte.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmor::setup {

inline constexpr int kProgramResource = 101;
inline constexpr int kPackageResource = 102;
inline constexpr std::string_view kExtensionId = "velmor.velmor-lang";
inline constexpr std::string_view kProductVersion = "0.5.0";
inline constexpr std::string_view kProjectAddress = "https://github.com/velmor-lang/velmor";

// What reading the per-user `Path` value found. `Unreadable` means the value
// (or its key) may exist but could not be read whole; writing a new value
// then would replace the user's `Path` with a fragment of it.
enum class UserPathState { Missing, Read, Unreadable };

struct UserPath {
    UserPathState state = UserPathState::Missing;
    std::string text;
};

class SetupSystem {
public:
    virtual ~SetupSystem() = default;

    // Empty when the variable is unset, empty or too long to read.
    virtual std::string environmentText(const std::string& name) = 0;
    // Creates a folder and its missing parents; false also when it already exists.
    virtual bool createFolders(const std::string& path) = 0;
    virtual bool pathExists(const std::string& path) = 0;
    // Writes one of the installer's embedded resources to a file.
    virtual bool extractResource(int id, const std::string& path) = 0;
    virtual UserPath readUserPath() = 0;
    // Stores the per-user `Path` and announces the change; false if it was not stored.
    virtual bool writeUserPath(const std::string& text) = 0;
    // Removes a folder and everything in it, for good; the outcome is not reported.
    virtual void deleteTree(const std::string& path) = 0;
    // Runs a command line through the command interpreter and gives its exit status.
    virtual int runCommand(const std::string& command) = 0;

    virtual void write(std::string_view text) = 0;
    // One line of standard input without its line end; nothing at the end of input.
    virtual std::optional<std::string> readLine() = 0;
    // Waits for one character of standard input (or its end).
    virtual void readCharacter() = 0;
};

enum class Operation { Menu, Install, Uninstall };

// The first argument that is exactly one of the six options decides; others are skipped.
Operation selectOperation(std::span<const std::string> arguments);

// Whether `folder` is one of the `;`-separated entries of `list`, ignoring
// surrounding spaces and ASCII letter case.
bool pathContains(std::string_view list, std::string_view folder);
// `list` with `folder` appended as a new entry.
std::string pathWithFolder(std::string_view list, std::string_view folder);
// `list` without empty entries and without every entry that matches `folder`;
// the entries kept are kept byte for byte.
std::string pathWithoutFolder(std::string_view list, std::string_view folder);

int runInstall(SetupSystem& system);
int runUninstall(SetupSystem& system);
// The whole program: options or menu, the operation, the closing key press.
// Gives the exit status.
int runSetup(std::span<const std::string> arguments, SetupSystem& system);

}  // namespace velmor::setup
