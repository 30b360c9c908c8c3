#include "windows_system.h"

// <windows.h> first: the shell headers build on its definitions.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace velmor::setup {

namespace {

constexpr DWORD kEnvironmentBufferSize = 32767;
constexpr const char* kEnvironmentKey = "Environment";
constexpr const char* kPathValue = "Path";

} // namespace

std::string getEnvironmentText(const std::string& name) {
    std::vector<char> buffer(kEnvironmentBufferSize, '\0');
    const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), kEnvironmentBufferSize);
    // 0 is unset or empty; a length of the buffer size or more means it did not fit.
    if (length == 0 || length >= kEnvironmentBufferSize) {
        return {};
    }
    return std::string(buffer.data(), length);
}

bool extractResource(int id, const std::string& path) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
    if (resource == nullptr) {
        return false;
    }
    HGLOBAL loaded = LoadResource(nullptr, resource);
    if (loaded == nullptr) {
        return false;
    }
    const void* bytes = LockResource(loaded);
    const DWORD size = SizeofResource(nullptr, resource);
    if (bytes == nullptr || size == 0) {
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
    return wrote && written == size;
}

UserPath readUserPath() {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, kEnvironmentKey, 0, KEY_QUERY_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        return {UserPathState::Missing, {}};
    }
    if (opened != ERROR_SUCCESS) {
        return {UserPathState::Unreadable, {}};
    }
    UserPath result;
    DWORD size = 0;
    const LONG sized = RegQueryValueExA(key, kPathValue, nullptr, nullptr, nullptr, &size);
    if (sized == ERROR_FILE_NOT_FOUND) {
        result.state = UserPathState::Missing;
    } else if (sized != ERROR_SUCCESS) {
        result.state = UserPathState::Unreadable;
    } else if (size == 0) {
        result.state = UserPathState::Read;
    } else {
        // One spare zero byte ends the text even when the stored value has no NUL.
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
        DWORD bufferSize = size;
        const LONG queried =
            RegQueryValueExA(key, kPathValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bufferSize);
        if (queried == ERROR_SUCCESS) {
            result.state = UserPathState::Read;
            result.text = buffer.data();
        } else {
            result.state = UserPathState::Unreadable;
        }
    }
    RegCloseKey(key);
    return result;
}

bool writeUserPath(const std::string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kEnvironmentKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const LONG set = RegSetValueExA(key, kPathValue, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                    static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    if (set != ERROR_SUCCESS) {
        return false;
    }
    // Running programs that listen (Explorer, new consoles) pick up the new value; a hung one is skipped.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"), SMTO_ABORTIFHUNG,
                        5000, &result);
    return true;
}

std::string WindowsSystem::environmentText(const std::string& name) {
    return getEnvironmentText(name);
}

bool WindowsSystem::createFolders(const std::string& path) {
    return SHCreateDirectoryExA(nullptr, path.c_str(), nullptr) == ERROR_SUCCESS;
}

bool WindowsSystem::pathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WindowsSystem::extractResource(int id, const std::string& path) {
    return setup::extractResource(id, path);
}

UserPath WindowsSystem::readUserPath() {
    return setup::readUserPath();
}

bool WindowsSystem::writeUserPath(const std::string& text) {
    return setup::writeUserPath(text);
}

void WindowsSystem::deleteTree(const std::string& path) {
    std::string source = path;
    source.push_back('\0'); // the list of paths ends with a second NUL
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.pTo = nullptr;
    // No FOF_ALLOWUNDO: the files are removed, not moved to the Recycle Bin.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    SHFileOperationA(&operation);
}

int WindowsSystem::runCommand(const std::string& command) {
    std::fflush(stdout);
    return std::system(command.c_str());
}

void WindowsSystem::write(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

std::optional<std::string> WindowsSystem::readLine() {
    std::string line;
    if (!std::getline(std::cin, line)) {
        return std::nullopt;
    }
    return line;
}

void WindowsSystem::readCharacter() {
    std::cin.get();
}

} // namespace velmor::setup
