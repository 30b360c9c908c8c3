// Reading a source file, in its own unit so that a host that embeds the
// language reads files as the program does without linking the driver.

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "driver.h"

namespace velmor {

SourceFile readSourceFile(const std::string& path) {
    SourceFile file;
    // A directory opens as a stream on some platforms but has no text to run.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return file;
    std::ifstream stream(path, std::ios::in | std::ios::binary);
    if (!stream.is_open()) return file;
    // In blocks straight into the text (the string grows geometrically): a
    // large file loads at the speed of the disk, and running out of memory
    // for its text is a std::bad_alloc, not a failed stream.
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    std::size_t used = 0;
    for (;;) {
        file.text.resize(used + kBlock);
        stream.read(file.text.data() + used, static_cast<std::streamsize>(kBlock));
        const std::streamsize got = stream.gcount();
        used += got > 0 ? static_cast<std::size_t>(got) : 0;
        if (got < static_cast<std::streamsize>(kBlock)) break;
    }
    file.text.resize(used);
    file.opened = !stream.bad();
    if (!file.opened) file.text.clear();
    return file;
}

}  // namespace velmor
