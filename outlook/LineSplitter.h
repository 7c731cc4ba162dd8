#pragma once
// Splits the bytes of a text file into lines, fed piece by piece as they are
// read. CR LF, LF and a lone CR each end a line; a last line without a line
// end still counts. The text is UTF-8 by then (SettingsText decodes the
// file first); the splitter looks at CR and LF only.

#include <functional>
#include <string>
#include <string_view>

namespace cq {

class LineSplitter {
  public:
    // Receives each line without its line end; may move from it.
    using Sink = std::function<void(std::string& line)>;

    explicit LineSplitter(Sink sink) : sink_(std::move(sink)) {}

    // The next bytes of the file; hands over every line they complete.
    void feed(std::string_view bytes);
    // The end of the file: hands over a last line that has no line end.
    void finish();

  private:
    void emit();

    Sink sink_;
    std::string line_;
    bool afterCr_ = false;  // the last byte seen was a CR, so an LF now adds no line
};

}  // namespace cq
