#include "outlook/LineSplitter.h"

#include <gtest/gtest.h>

#include <vector>

namespace cq {
namespace {

using Lines = std::vector<std::string>;

Lines split(const std::string& text, std::size_t piece) {
    Lines out;
    LineSplitter splitter([&out](std::string& line) { out.push_back(line); });
    for (std::size_t at = 0; at < text.size(); at += piece)
        splitter.feed(std::string_view(text).substr(at, piece));
    splitter.finish();
    return out;
}

TEST(LineSplitter, LineEndsInAnyPieces) {
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"x\n\xEF\xBB\xBFy", {"x", "\xEF\xBB\xBFy"}},
    };
    for (std::size_t piece : {1u, 2u, 3u, 64u}) {
        for (const auto& c : cases)
            EXPECT_EQ(split(c.text, piece), c.lines) << "[" << c.text << "] in pieces of " << piece;
    }
}

}  // namespace
}  // namespace cq
