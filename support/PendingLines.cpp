#include "support/PendingLines.h"

#include <algorithm>

namespace cq::libquintor {

void PendingLines::add(const std::wstring& path, const std::string& line) {
    const std::string entry = line + "\r\n";
    if (batches_.empty() || batches_.back().path != path) batches_.push_back(Batch{path, {}});
    batches_.back().text += entry;
    bytes_ += entry.size();
}

DWORD PendingLines::writeAtExit(const LogFolder& folder) noexcept {
    DWORD first = 0;
    for (auto batch = batches_.begin(); batch != batches_.end(); ++batch) {
        if (batch->text.empty()) continue;
        // Behind lines of the same file that could not be written, a file's
        // lines would come out of order: they wait with them.
        const bool waits = std::any_of(batches_.begin(), batch, [&](const Batch& earlier) {
            return !earlier.text.empty() && earlier.path == batch->path;
        });
        if (waits) continue;
        std::size_t written = 0;
        const DWORD error = appendText(folder, batch->path, batch->text, written);
        batch->text.erase(0, written);
        bytes_ -= written;
        if (error != 0 && first == 0) first = error;
    }
    return first;
}

DWORD PendingLines::write(const LogFolder& folder) {
    const DWORD error = writeAtExit(folder);
    std::erase_if(batches_, [](const Batch& batch) { return batch.text.empty(); });
    while (bytes_ > kKeepAtMost && !batches_.empty()) dropOldest();
    return error;
}

void PendingLines::dropOldest() {
    Batch& oldest = batches_.front();
    const std::size_t end = oldest.text.find('\n');
    const std::size_t n = end == std::string::npos ? oldest.text.size() : end + 1;
    oldest.text.erase(0, n);
    bytes_ -= n;
    if (oldest.text.empty()) batches_.erase(batches_.begin());
}

}  // namespace cq::libquintor
