#include "installer.h"

#include <array>

namespace velmor::setup {

namespace {

constexpr std::array<std::string_view, 3> kInstallOptions = {"/install", "--install", "-i"};
constexpr std::array<std::string_view, 3> kUninstallOptions = {"/uninstall", "--uninstall", "-u"};

constexpr std::string_view kFindCodeCommand = "where code >nul 2>nul";
constexpr std::string_view kPathWarning = "WARNING: could not update PATH";

struct Locations {
    std::string installFolder;
    std::string programFolder;
    std::string programFile;
    std::string packageFile;
};

Locations locationsUnder(std::string localAppData) {
    // A trailing separator would double the backslash before "Programs" and give
    // a Path entry that no longer matches the folder's usual spelling.
    while (!localAppData.empty() && (localAppData.back() == '\\' || localAppData.back() == '/')) {
        localAppData.pop_back();
    }
    Locations locations;
    locations.installFolder = localAppData + "\\Programs\\Velmor";
    locations.programFolder = locations.installFolder + "\\bin";
    locations.programFile = locations.programFolder + "\\velmor.exe";
    locations.packageFile = locations.installFolder + "\\velmor-extension.vsix";
    return locations;
}

void writeStatus(SetupSystem& system, std::string_view text) {
    std::string line = "  ";
    line += text;
    line += '\n';
    system.write(line);
}

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (lowerAscii(left[i]) != lowerAscii(right[i])) {
            return false;
        }
    }
    return true;
}

// Calls `visit` with every piece of `list` between semicolons, empty pieces included.
template <typename Visit>
void forEachPiece(std::string_view list, Visit visit) {
    std::size_t start = 0;
    while (true) {
        const auto end = list.find(';', start);
        if (end == std::string_view::npos) {
            visit(list.substr(start));
            return;
        }
        visit(list.substr(start, end - start));
        start = end + 1;
    }
}

bool pieceMatches(std::string_view piece, std::string_view folder) {
    const auto trimmed = trimSpaces(piece);
    return !trimmed.empty() && equalsIgnoringCase(trimmed, folder);
}

bool codeCommandFound(SetupSystem& system) { return system.runCommand(std::string(kFindCodeCommand)) == 0; }

void addToUserPath(SetupSystem& system, const std::string& programFolder) {
    const UserPath current = system.readUserPath();
    if (current.state == UserPathState::Unreadable) {
        writeStatus(system, kPathWarning);
        return;
    }
    if (pathContains(current.text, programFolder)) {
        writeStatus(system, "PATH already set");
        return;
    }
    if (system.writeUserPath(pathWithFolder(current.text, programFolder))) {
        writeStatus(system, "Added Velmor to your PATH");
    } else {
        writeStatus(system, kPathWarning);
    }
}

void installExtension(SetupSystem& system, const std::string& packageFile) {
    // Without the package there is nothing to hand to the editor.
    if (!system.extractResource(kPackageResource, packageFile)) {
        return;
    }
    if (!codeCommandFound(system)) {
        writeStatus(system, "VS Code not found; skipped the editor extension");
        system.write("        (install later with: code --install-extension \"" + packageFile + "\")\n");
        return;
    }
    const int status = system.runCommand("code --install-extension \"" + packageFile + "\" --force >nul 2>nul");
    writeStatus(system,
                status == 0 ? "Installed the VS Code extension" : "Note: VS Code extension install did not complete");
}

void removeFromUserPath(SetupSystem& system, const std::string& programFolder) {
    const UserPath current = system.readUserPath();
    if (current.state == UserPathState::Unreadable) {
        writeStatus(system, kPathWarning);
        return;
    }
    if (!pathContains(current.text, programFolder)) {
        return;
    }
    if (system.writeUserPath(pathWithoutFolder(current.text, programFolder))) {
        writeStatus(system, "Removed Velmor from your PATH");
    } else {
        writeStatus(system, kPathWarning);
    }
}

// The menu's operation and its result; nothing when the user cancelled.
std::optional<int> runMenu(SetupSystem& system) {
    std::string banner;
    banner += "======================================\n";
    banner += "  Velmor ";
    banner += kProductVersion;
    banner += " - Setup\n";
    banner += "  ";
    banner += kProjectAddress;
    banner += "\n";
    banner += "======================================\n\n";
    banner += "  [1] Install Velmor\n";
    banner += "  [2] Uninstall Velmor\n";
    banner += "  [3] Exit\n\n";
    banner += "  Choose (1-3): ";
    system.write(banner);

    const std::optional<std::string> line = system.readLine();
    const char choice = line && !line->empty() ? line->front() : '\0';
    if (choice == '1') {
        return runInstall(system);
    }
    if (choice == '2') {
        return runUninstall(system);
    }
    system.write("\nCancelled.\n");
    return std::nullopt;
}

}  // namespace

Operation selectOperation(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments) {
        for (std::string_view option : kInstallOptions) {
            if (argument == option) {
                return Operation::Install;
            }
        }
        for (std::string_view option : kUninstallOptions) {
            if (argument == option) {
                return Operation::Uninstall;
            }
        }
    }
    return Operation::Menu;
}

bool pathContains(std::string_view list, std::string_view folder) {
    bool found = false;
    forEachPiece(list, [&](std::string_view piece) { found = found || pieceMatches(piece, folder); });
    return found;
}

std::string pathWithFolder(std::string_view list, std::string_view folder) {
    std::string result(list);
    if (!result.empty() && result.back() != ';') {
        result += ';';
    }
    result += folder;
    return result;
}

std::string pathWithoutFolder(std::string_view list, std::string_view folder) {
    std::string result;
    bool first = true;
    forEachPiece(list, [&](std::string_view piece) {
        if (trimSpaces(piece).empty() || pieceMatches(piece, folder)) {
            return;
        }
        if (!first) {
            result += ';';
        }
        result += piece;
        first = false;
    });
    return result;
}

int runInstall(SetupSystem& system) {
    const std::string localAppData = system.environmentText("LOCALAPPDATA");
    if (localAppData.empty()) {
        system.write("  ERROR: LOCALAPPDATA is not set.\n");
        return 1;
    }
    const Locations locations = locationsUnder(localAppData);
    system.write("\nInstalling Velmor to " + locations.installFolder + "\n\n");

    // An existing folder is fine; creation reports it as a failure.
    if (!system.createFolders(locations.programFolder) && !system.pathExists(locations.programFolder)) {
        system.write("  ERROR: could not create " + locations.programFolder + "\n");
        return 1;
    }
    if (!system.extractResource(kProgramResource, locations.programFile)) {
        system.write("  ERROR: could not write velmor.exe\n");
        return 1;
    }
    writeStatus(system, "Installed velmor.exe");

    addToUserPath(system, locations.programFolder);
    installExtension(system, locations.packageFile);

    system.write("\nDone. Open a NEW terminal and run:  velmor --version\n");
    return 0;
}

int runUninstall(SetupSystem& system) {
    const std::string localAppData = system.environmentText("LOCALAPPDATA");
    if (localAppData.empty()) {
        system.write("  ERROR: LOCALAPPDATA is not set.\n");
        return 1;
    }
    const Locations locations = locationsUnder(localAppData);
    system.write("\nRemoving Velmor from " + locations.installFolder + "\n\n");

    removeFromUserPath(system, locations.programFolder);

    if (system.pathExists(locations.installFolder)) {
        system.deleteTree(locations.installFolder);
        writeStatus(system, "Deleted installed files");
    }
    if (codeCommandFound(system)) {
        system.runCommand("code --uninstall-extension " + std::string(kExtensionId) + " >nul 2>nul");
        writeStatus(system, "Removed the VS Code extension");
    }

    system.write("\nVelmor removed. Restart open terminals to refresh PATH.\n");
    return 0;
}

int runSetup(std::span<const std::string> arguments, SetupSystem& system) {
    int status = 0;
    switch (selectOperation(arguments)) {
    case Operation::Install: status = runInstall(system); break;
    case Operation::Uninstall: status = runUninstall(system); break;
    case Operation::Menu: {
        const std::optional<int> menuStatus = runMenu(system);
        if (!menuStatus) {
            return 0;  // a cancelled menu closes at once
        }
        status = *menuStatus;
        break;
    }
    }
    system.write("\nPress Enter to close...");
    system.readCharacter();
    return status;
}

}  // namespace velmor::setup
