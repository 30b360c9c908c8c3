#include "driver/history_file.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmor {

namespace {

constexpr const char* kHistoryVariable = "VELMOR_HISTORY";
constexpr std::string_view kHistoryOff = "off";

std::string environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// Creates the directory and those above it that are missing; only the user
// may enter the ones it creates.
bool makeDirectories(const std::filesystem::path& directory) {
    std::error_code error;
    if (directory.empty() || std::filesystem::is_directory(directory, error)) return true;
#ifdef _WIN32
    std::filesystem::create_directories(directory, error);
    return !error;
#else
    if (directory.has_parent_path() && directory.parent_path() != directory &&
        !makeDirectories(directory.parent_path()))
        return false;
    return ::mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
#endif
}

enum class WriteMode { Append, CreateNew };

// Writes the bytes in one piece where the system allows it (a write to a file
// opened for appending goes to its end at once, whatever other writers do).
bool writeFile(const std::filesystem::path& path, std::string_view bytes, WriteMode mode) {
#ifdef _WIN32
    std::ofstream out(path, std::ios::binary | (mode == WriteMode::Append ? std::ios::app : std::ios::trunc));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
#else
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == WriteMode::Append ? O_APPEND : O_EXCL | O_TRUNC);
    const int descriptor = ::open(path.c_str(), flags, 0600);
    if (descriptor < 0) return false;
    bool written = true;
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            written = false;
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return ::close(descriptor) == 0 && written;
#endif
}

long processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<long>(::getpid());
#endif
}

}  // namespace

std::filesystem::path historyFilePath() {
    if (const char* chosen = std::getenv(kHistoryVariable)) {
        const std::string_view value(chosen);
        if (value.empty() || value == kHistoryOff) return {};
        return std::filesystem::path(value);
    }
#ifdef _WIN32
    const std::string local = environmentVariable("LOCALAPPDATA");
    if (local.empty()) return {};
    return std::filesystem::path(local) / "Velmor" / "history";
#else
    // A relative state directory is to be ignored, as if it were not set.
    const std::string state = environmentVariable("XDG_STATE_HOME");
    if (!state.empty() && state.front() == '/') return std::filesystem::path(state) / "velmor" / "history";
    const std::string home = environmentVariable("HOME");
    if (home.empty()) return {};
    return std::filesystem::path(home) / ".local" / "state" / "velmor" / "history";
#endif
}

std::string encodeHistoryEntry(std::string_view entry) {
    std::string line;
    line.reserve(entry.size());
    for (const char c : entry) {
        if (c == '\\') {
            line += "\\\\";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

std::string decodeHistoryEntry(std::string_view line) {
    std::string entry;
    entry.reserve(line.size());
    for (std::size_t at = 0; at < line.size(); ++at) {
        // A backslash before anything else (a file edited by hand) stands for itself.
        if (line[at] == '\\' && at + 1 < line.size() && (line[at + 1] == 'n' || line[at + 1] == '\\')) {
            entry += line[at + 1] == 'n' ? '\n' : '\\';
            ++at;
        } else {
            entry += line[at];
        }
    }
    return entry;
}

std::vector<std::string> HistoryFile::load(std::size_t limit) {
    std::vector<std::string> entries;
    try {
        if (path_.empty() || !path_.has_filename() || !makeDirectories(path_.parent_path())) return entries;
        std::ifstream in(path_, std::ios::binary);
        if (!in) return entries;
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<std::string_view> lines;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string_view line = std::string_view(text).substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!line.empty()) lines.push_back(line);
            start = end + 1;
        }
        const std::size_t first = lines.size() > limit ? lines.size() - limit : 0;
        for (std::size_t i = first; i < lines.size(); ++i) entries.push_back(decodeHistoryEntry(lines[i]));
        if (first > 0) {
            std::string kept;
            for (std::size_t i = first; i < lines.size(); ++i) {
                kept += lines[i];
                kept += '\n';
            }
            std::filesystem::path temporary = path_;
            temporary += '.';
            temporary += std::to_string(processId());
            temporary += ".tmp";
            std::error_code error;
            if (writeFile(temporary, kept, WriteMode::CreateNew)) std::filesystem::rename(temporary, path_, error);
            if (error || std::filesystem::exists(temporary, error)) std::filesystem::remove(temporary, error);
        }
    } catch (const std::exception&) {
        // The saved history is lost for this session; the prompt works without it.
    }
    return entries;
}

void HistoryFile::append(std::string_view entry) {
    if (path_.empty()) return;
    try {
        writeFile(path_, encodeHistoryEntry(entry) + "\n", WriteMode::Append);
    } catch (const std::exception&) {
        // As in load: an entry that cannot be saved is only lost from the file.
    }
}

}  // namespace velmor
