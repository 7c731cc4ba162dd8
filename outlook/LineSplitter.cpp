#include "outlook/LineSplitter.h"

namespace cq {

void LineSplitter::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        if (afterCr_ && bytes.front() == '\n') bytes.remove_prefix(1);
        afterCr_ = false;
        std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line_.append(bytes);
            return;
        }
        line_.append(bytes.substr(0, end));
        afterCr_ = bytes[end] == '\r';
        bytes.remove_prefix(end + 1);
        emit();
    }
}

void LineSplitter::finish() {
    afterCr_ = false;
    if (!line_.empty()) emit();
}

void LineSplitter::emit() {
    sink_(line_);
    line_.clear();
}

}  // namespace cq
