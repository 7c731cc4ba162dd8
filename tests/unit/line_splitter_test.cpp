#include "outlook/LineSplitter.h"

#include <gtest/gtest.h>

#include <vector>

namespace cq {
namespace {

struct Split {
    std::vector<std::string> lines;
    bool utf8;
};

Split split(const std::string& bytes, std::size_t piece) {
    Split out{};
    LineSplitter splitter([&out](std::string& line) { out.lines.push_back(line); });
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        splitter.feed(std::string_view(bytes).substr(at, piece));
    splitter.finish();
    out.utf8 = splitter.utf8();
    return out;
}

TEST(LineSplitter, LineEndsAndByteOrderMarkInAnyPieces) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string bytes;
        Lines lines;
        bool utf8;
    } cases[] = {
        {"", {}, false},
        {"a", {"a"}, false},
        {"a\r\nb\r\n", {"a", "b"}, false},
        {"a\nb", {"a", "b"}, false},
        {"a\rb\r", {"a", "b"}, false},
        {"a\r\r\nb", {"a", "", "b"}, false},
        {"a\n\rb", {"a", "", "b"}, false},
        {"\r\n\r\n", {"", ""}, false},
        {"\xEF\xBB\xBFx\r\ny", {"x", "y"}, true},
        {"\xEF\xBB\xBF", {""}, true},
        {"\xEF\xBB", {"\xEF\xBB"}, false},
        {"x\n\xEF\xBB\xBFy", {"x", "\xEF\xBB\xBFy"}, false},
    };
    for (std::size_t piece : {1u, 2u, 3u, 64u}) {
        for (const auto& c : cases) {
            Split got = split(c.bytes, piece);
            EXPECT_EQ(got.lines, c.lines) << "[" << c.bytes << "] in pieces of " << piece;
            EXPECT_EQ(got.utf8, c.utf8) << "[" << c.bytes << "] in pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace cq
