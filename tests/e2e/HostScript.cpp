#include "tests/e2e/HostScript.h"

#include <cctype>
#include <stdexcept>

namespace cq::test::e2e {

const std::string& Command::empty() {
    static const std::string none;
    return none;
}

const std::string& Command::arg(std::size_t i, const std::string& fallback) const {
    return i < args.size() ? args[i] : fallback;
}

std::string Command::rest(std::size_t i) const {
    std::string out;
    for (std::size_t k = i; k < args.size(); ++k) {
        if (k > i) out += ' ';
        out += args[k];
    }
    return out;
}

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (i < line.size()) {
        while (i < line.size() && blank(line[i])) ++i;
        if (i == line.size()) break;
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    c = line[i++];
                word += c;
            }
            if (!closed) throw std::invalid_argument("unterminated quote");
        } else {
            while (i < line.size() && !blank(line[i])) word += line[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

Command parseCommand(std::string_view line) {
    Command c;
    c.line = std::string(line);
    while (!c.line.empty() && (c.line.back() == '\r' || c.line.back() == '\n')) c.line.pop_back();
    std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') return c;
    std::vector<std::string> words = splitWords(line);
    if (words.empty()) return c;
    c.name = words.front();
    for (char& ch : c.name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    c.args.assign(words.begin() + 1, words.end());
    return c;
}

std::vector<Command> parseScript(std::string_view text) {
    std::vector<Command> out;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        Command c = parseCommand(text.substr(from, end - from));
        if (!c.name.empty()) out.push_back(std::move(c));
        from = end + 1;
    }
    return out;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find("\\n", from);
        if (at == std::string_view::npos) {
            lines.emplace_back(text.substr(from));
            return lines;
        }
        lines.emplace_back(text.substr(from, at - from));
        from = at + 2;
    }
}

}  // namespace cq::test::e2e
