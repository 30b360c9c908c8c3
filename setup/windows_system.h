#pragma once

// The installer's view of Windows: environment, files, the embedded resources,
// the per-user registry value and the command interpreter. Text goes in and
// comes out as WTF-8 and is handed to Windows as UTF-16.

#include <string>

#include "installer.h"

namespace velmor::setup {

// The value of an environment variable; empty when unset, empty, or 32,767 UTF-16 units or longer.
std::string getEnvironmentText(const std::string& name);
// Writes embedded resource `id` to `path`, replacing any file there.
bool extractResource(int id, const std::string& path);
UserPath readUserPath();
bool writeUserPath(const std::string& text);

class WindowsSystem final : public SetupSystem {
public:
    std::string environmentText(const std::string& name) override;
    bool createFolders(const std::string& path) override;
    bool pathExists(const std::string& path) override;
    bool extractResource(int id, const std::string& path) override;
    UserPath readUserPath() override;
    bool writeUserPath(const std::string& text) override;
    void deleteTree(const std::string& path) override;
    int runCommand(const std::string& command) override;
    void write(std::string_view text) override;
    std::optional<std::string> readLine() override;
    void readCharacter() override;
};

}  // namespace velmor::setup
