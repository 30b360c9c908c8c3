#pragma once

// The installer keeps all text as 8-bit strings; Windows hands it UTF-16 (the
// environment, file names, the registry, the console). Between the two the
// installer converts with WTF-8: UTF-8 extended so that a lone surrogate,
// which Windows accepts in names and registry values, is written as its own
// three-byte sequence. Every UTF-16 text then survives the way there and back
// unchanged, so a `Path` entry that the installer keeps is written back exactly
// as it was read, whatever its characters.
//
// Searching such text for ASCII characters (";", " ", letters) is safe: every
// byte of a multi-byte sequence is 0x80 or above.

#include <string>
#include <string_view>

namespace velmor::setup {

// Any UTF-16 text, valid or not, as WTF-8.
std::string utf8FromUtf16(std::u16string_view text);
// The UTF-16 text of WTF-8 (so also of UTF-8); a byte that starts no valid
// sequence becomes U+FFFD.
std::u16string utf16FromUtf8(std::string_view text);

}  // namespace velmor::setup
