#pragma once
// Splits the bytes of a text file into lines, fed piece by piece as they are
// read. CR LF, LF and a lone CR each end a line; a last line without a line
// end still counts. A UTF-8 byte-order mark at the start of the file is
// dropped and remembered, so that the reader knows the file is UTF-8 rather
// than the ANSI code page.

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
    // Whether the file began with a UTF-8 byte-order mark. Known by the time
    // the first line is handed over.
    bool utf8() const { return utf8_; }

  private:
    void emit();

    Sink sink_;
    std::string line_;
    bool afterCr_ = false;  // the last byte seen was a CR, so an LF now adds no line
    bool first_ = true;     // no line handed over yet
    bool utf8_ = false;
};

}  // namespace cq
