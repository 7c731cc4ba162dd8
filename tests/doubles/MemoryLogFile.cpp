#include "tests/doubles/MemoryLogFile.h"

#include <cctype>

#include "common/HostError.h"

namespace cq::test {
namespace {

constexpr std::int32_t kPathNotFound = 3;
constexpr std::int32_t kAccessDenied = 5;
constexpr std::int32_t kAlreadyExists = 183;

}  // namespace

std::string MemoryLogFile::key(const std::string& path) {
    std::string k = path;
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k;
}

std::string MemoryLogFile::parent(const std::string& path) {
    const std::string k = key(path);
    const size_t cut = k.rfind('\\');
    return cut == std::string::npos ? std::string() : k.substr(0, cut);
}

void MemoryLogFile::addFolder(const std::string& path) {
    for (std::string k = key(path); !k.empty(); k = parent(k)) folders_.insert(k);
}

bool MemoryLogFile::hasFolder(const std::string& path) const {
    const std::string k = key(path);
    // A drive ("C:") and the root of the current drive ("") always exist.
    return k.empty() || (k.size() == 2 && k[1] == ':') || folders_.count(k) != 0;
}

void MemoryLogFile::createDirectory(const std::string& path) {
    directoryCalls.push_back(path);
    if (hasFolder(path))
        throw HostError(kAlreadyExists, "Cannot create a file when that file already exists.");
    if (!hasFolder(parent(path)))
        throw HostError(kPathNotFound, "The system cannot find the path specified.");
    folders_.insert(key(path));
}

void MemoryLogFile::appendLine(const std::string& path, const std::string& text) {
    const std::string k = key(path);
    if (!hasFolder(parent(k)))
        throw HostError(kPathNotFound, "The system cannot find the path specified.");
    if (readOnly_.count(k)) throw HostError(kAccessDenied, "Access is denied.");
    ++opens;
    files_[k] += text + "\r\n";
}

std::string MemoryLogFile::content(const std::string& path) const {
    auto f = files_.find(key(path));
    return f == files_.end() ? std::string() : f->second;
}

std::vector<std::string> MemoryLogFile::lines(const std::string& path) const {
    std::vector<std::string> out;
    const std::string text = content(path);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    if (start < text.size()) out.push_back(text.substr(start));
    return out;
}

bool MemoryLogFile::hasFile(const std::string& path) const { return files_.count(key(path)) != 0; }

void MemoryLogFile::makeReadOnly(const std::string& path) {
    files_[key(path)];
    readOnly_.insert(key(path));
}

}  // namespace cq::test
