#include "tests/doubles/MemorySettingsFile.h"

#include <algorithm>

#include "common/HostError.h"
#include "common/Unicode.h"
#include "outlook/LineSplitter.h"
#include "outlook/SettingsText.h"

namespace cq::test {
namespace {

// Stops the reading from inside the splitter's sink.
struct ReadStopped {};

// The ANSI code page of the in-memory world: Latin-1, each byte its own code point.
std::string latin1(std::string_view bytes) {
    std::string out;
    for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

}  // namespace

void MemorySettingsFile::write(std::string text, FileTime time) {
    exists = true;
    content = std::move(text);
    lastWrite = time;
}

bool MemorySettingsFile::queryWriteTime(const std::string& p, FileTime& time) {
    ++timeQueries;
    if (!exists || p != path) return false;
    if (timeReadable) time = lastWrite;
    return true;
}

void MemorySettingsFile::readLines(const std::string& p,
                                   const std::function<void(const std::string&)>& onLine) {
    ++reads;
    if (!exists || p != path) throw HostError(53, "File not found");
    if (failRead && linesBeforeFailure == 0) throw HostError(readError, "Permission denied");
    int handedOver = 0;
    LineSplitter splitter([&](std::string& line) {
        if (failRead && handedOver == linesBeforeFailure) throw ReadStopped{};
        ++handedOver;
        onLine(line);
    });
    try {
        const std::string text = DecodeSettingsText(content, latin1);
        std::string_view rest = text;
        std::size_t piece = pieceSize == 0 ? rest.size() : pieceSize;
        while (!rest.empty()) {
            std::size_t n = std::min(piece, rest.size());
            splitter.feed(rest.substr(0, n));
            rest.remove_prefix(n);
        }
        splitter.finish();
    } catch (const ReadStopped&) {
        throw HostError(readError, "Permission denied");
    }
    if (failRead) throw HostError(readError, "Permission denied");
}

}  // namespace cq::test
