#include "windows_system.h"

// <windows.h> first: the shell headers build on its definitions.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "text_encoding.h"

// Every call that takes or gives text is the wide (UTF-16) one: the ANSI calls
// turn each character outside the ANSI code page into "?", which would write
// "C:\????" back into the user's Path and make a folder such as
// "C:\Users\Пётр\AppData\Local" impossible to create. Text crosses into the
// installer's logic as WTF-8 (see text_encoding.h), which loses nothing.

namespace velmor::setup {

namespace {

constexpr DWORD kEnvironmentBufferSize = 32767;
constexpr const wchar_t* kEnvironmentKey = L"Environment";
constexpr const wchar_t* kPathValue = L"Path";

// wchar_t is 16 bits wide on Windows, so the two string types hold the same units.
std::wstring wide(std::string_view text) {
    const std::u16string units = utf16FromUtf8(text);
    return std::wstring(units.begin(), units.end());
}

std::string narrow(std::wstring_view text) { return utf8FromUtf16(std::u16string(text.begin(), text.end())); }

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

std::string getEnvironmentText(const std::string& name) {
    std::vector<wchar_t> buffer(kEnvironmentBufferSize, L'\0');
    const DWORD length = GetEnvironmentVariableW(wide(name).c_str(), buffer.data(), kEnvironmentBufferSize);
    // 0 is unset or empty; a length of the buffer size or more means it did not fit.
    if (length == 0 || length >= kEnvironmentBufferSize) {
        return {};
    }
    return narrow(std::wstring_view(buffer.data(), length));
}

bool extractResource(int id, const std::string& path) {
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
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
    HANDLE file =
        CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, kEnvironmentKey, 0, KEY_QUERY_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        return {UserPathState::Missing, {}};
    }
    if (opened != ERROR_SUCCESS) {
        return {UserPathState::Unreadable, {}};
    }
    UserPath result;
    DWORD size = 0;
    const LONG sized = RegQueryValueExW(key, kPathValue, nullptr, nullptr, nullptr, &size);
    if (sized == ERROR_FILE_NOT_FOUND) {
        result.state = UserPathState::Missing;
    } else if (sized != ERROR_SUCCESS) {
        result.state = UserPathState::Unreadable;
    } else if (size == 0) {
        result.state = UserPathState::Read;
    } else {
        // The size is in bytes and may be odd; one spare zero unit ends the
        // text even when the stored value has no terminating NUL.
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
        DWORD bufferSize = size;
        const LONG queried =
            RegQueryValueExW(key, kPathValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bufferSize);
        if (queried == ERROR_SUCCESS) {
            result.state = UserPathState::Read;
            result.text = narrow(buffer.data());
        } else {
            result.state = UserPathState::Unreadable;
        }
    }
    RegCloseKey(key);
    return result;
}

bool writeUserPath(const std::string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kEnvironmentKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring value = wide(text);
    const LONG set = RegSetValueExW(key, kPathValue, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (set != ERROR_SUCCESS) {
        return false;
    }
    // Running programs that listen (Explorer, new consoles) pick up the new value; a hung one is skipped.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"), SMTO_ABORTIFHUNG,
                        5000, &result);
    return true;
}

std::string WindowsSystem::environmentText(const std::string& name) { return getEnvironmentText(name); }

bool WindowsSystem::createFolders(const std::string& path) {
    return SHCreateDirectoryExW(nullptr, wide(path).c_str(), nullptr) == ERROR_SUCCESS;
}

bool WindowsSystem::pathExists(const std::string& path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WindowsSystem::extractResource(int id, const std::string& path) { return setup::extractResource(id, path); }

UserPath WindowsSystem::readUserPath() { return setup::readUserPath(); }

bool WindowsSystem::writeUserPath(const std::string& text) { return setup::writeUserPath(text); }

void WindowsSystem::deleteTree(const std::string& path) {
    std::wstring source = wide(path);
    source.push_back(L'\0');  // the list of paths ends with a second NUL
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.pTo = nullptr;
    // No FOF_ALLOWUNDO: the files are removed, not moved to the Recycle Bin.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    SHFileOperationW(&operation);
}

int WindowsSystem::runCommand(const std::string& command) {
    std::fflush(stdout);
    // The wide command line reaches the command interpreter, and through it
    // `code`, with a package path in any characters.
    return _wsystem(wide(command).c_str());
}

// In a console the text goes in as UTF-16, so every character shows whatever
// the console's code page. Redirected, it is written as UTF-8 through the
// C runtime's text mode (line ends become CR LF as before).
void WindowsSystem::write(std::string_view text) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (isConsole(output)) {
        const std::wstring units = wide(text);
        const wchar_t* next = units.data();
        DWORD left = static_cast<DWORD>(units.size());
        while (left > 0) {
            DWORD written = 0;
            if (!WriteConsoleW(output, next, left, &written, nullptr) || written == 0) {
                break;
            }
            next += written;
            left -= written;
        }
        return;
    }
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

void WindowsSystem::readCharacter() { std::cin.get(); }

}  // namespace velmor::setup
