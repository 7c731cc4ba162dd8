#pragma once
// The script that drives a scripted host: one command a line, words separated
// by blanks, "double quotes" around a word with blanks (\" and \\ inside), and
// "#" starting a comment line. Commands come from the command line (one
// argument, one command) or from a script file.

#include <string>
#include <string_view>
#include <vector>

namespace cq::test::e2e {

struct Command {
    std::string name;               // lower case
    std::vector<std::string> args;  // as written, quotes removed
    std::string line;               // the line as written, for messages

    // Argument i, or `fallback` when there are fewer.
    const std::string& arg(std::size_t i, const std::string& fallback = empty()) const;
    // The arguments from i on, joined by one blank.
    std::string rest(std::size_t i) const;

  private:
    static const std::string& empty();
};

// The words of one line; throws std::invalid_argument on an open quote.
std::vector<std::string> splitWords(std::string_view line);

// One command; a blank or comment line gives a command without a name.
Command parseCommand(std::string_view line);

// Every command of a script text (CR LF or LF line ends), comments and blank
// lines left out.
std::vector<Command> parseScript(std::string_view text);

// `text` in double quotes with \", \\, \n, \r and \t escaped, for output
// that a test reads back exactly.
std::string quoted(std::string_view text);

// A line for a settings file: "\n" in a script word stands for a line break.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace cq::test::e2e
