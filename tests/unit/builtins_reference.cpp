// The builtin reference must document exactly the registered builtins.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "builtins/native.h"

namespace {

std::string readReference() {
    std::ifstream in(std::string(VELMOR_SOURCE_DIR) + "/docs/builtins.md");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(BuiltinReference, HeadingsNameExactlyTheRegisteredBuiltins) {
    std::string text = readReference();
    ASSERT_FALSE(text.empty());
    // Names are the backquoted identifiers directly followed by "(" or ending
    // a list in the "### " headings.
    std::set<std::string> documented;
    std::regex heading(R"(^### (.*)$)", std::regex::multiline);
    std::regex name(R"(`([a-z_]+)[(`])");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), heading); it != std::sregex_iterator(); ++it) {
        std::string line = (*it)[1];
        for (auto n = std::sregex_iterator(line.begin(), line.end(), name); n != std::sregex_iterator(); ++n)
            documented.insert((*n)[1]);
    }
    std::set<std::string> registered;
    for (const auto& info : velmor::builtinTable()) registered.insert(info.name);
    EXPECT_EQ(registered.size(), 78u);
    for (const auto& n : registered) EXPECT_TRUE(documented.count(n)) << n << " is not documented";
    for (const auto& n : documented) EXPECT_TRUE(registered.count(n)) << n << " is documented but not registered";
}
