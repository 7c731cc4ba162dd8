#include "tests/e2e/ResourceCounts.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

namespace cq::test::e2e {
namespace {

// The live kernel handles: the values GetHandleInformation accepts. Handle
// values are multiples of four; far more than a host ever holds are tried.
std::uint32_t probeHandles() {
    constexpr std::uintptr_t kLast = 0x40000;
    std::uint32_t n = 0;
    for (std::uintptr_t value = 4; value < kLast; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++n;
    }
    return n;
}

// One entry of the GDI handle table that the process environment block points
// to (GdiSharedHandleTable), as Windows and Wine lay it out on 32-bit.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;  // low byte: bit 7 marks a stock object
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiEntries = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0x94;  // 32-bit PEB

// The live GDI objects of the table, stock objects left out; -1 when the
// process has no such table.
long countGdiTable() {
#ifdef _WIN64
    return -1;
#else
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        basic.PebBaseAddress == nullptr)
        return -1;
    const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPebGdiTableOffset);
    if (table == nullptr) return -1;
    long n = 0;
    for (std::size_t i = 0; i < kGdiEntries; ++i) {
        const GdiHandleEntry& e = table[i];
        if (e.type == 0 || (e.unique & 0x80) != 0) continue;
        const auto handle = reinterpret_cast<HGDIOBJ>((std::uintptr_t(e.unique) << 16) | i);
        if (GetObjectType(handle) != 0) ++n;
    }
    return n;
#endif
}

// The USER objects of this process among the USER handle values: windows it
// owns, menus, icons and cursors. The handles are tried by their 16-bit value
// (0x20, 0x22, ... 0xFFEE), which the USER functions accept for any generation.
std::uint32_t probeUserHandles() {
    const DWORD self = GetCurrentProcessId();
    std::uint32_t n = 0;
    for (std::uintptr_t value = 0x20; value < 0xFFF0; value += 2) {
        auto* handle = reinterpret_cast<HANDLE>(value);
        if (IsWindow(static_cast<HWND>(handle))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
            if (owner == self) ++n;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++n;
        } else {
            ICONINFO info{};
            if (GetIconInfo(static_cast<HICON>(handle), &info)) {
                ++n;
                if (info.hbmMask) DeleteObject(info.hbmMask);
                if (info.hbmColor) DeleteObject(info.hbmColor);
            }
        }
    }
    return n;
}

// The private memory committed in this process's address space: what
// PrivateUsage counts, summed region by region.
std::uint64_t committedPrivateBytes() {
    std::uint64_t total = 0;
    const char* at = nullptr;
    MEMORY_BASIC_INFORMATION region;
    while (VirtualQuery(at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

// The bytes of the blocks in use in every heap of the process.
std::uint64_t heapBytesInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::uint64_t total = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heap);
    }
    return total;
}

std::uint32_t threadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    std::uint32_t n = 0;
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snapshot);
    return n;
}

void note(std::string& method, const char* what) {
    if (!method.empty()) method += ",";
    method += what;
}

}  // namespace

ResourceCounts sampleResources() {
    ResourceCounts counts;
    HANDLE self = GetCurrentProcess();

    DWORD handles = 0;
    if (GetProcessHandleCount(self, &handles) && handles != 0) {
        counts.handles = handles;
    } else {
        counts.handles = probeHandles();
        note(counts.method, "handles:probe");
    }

    // GDI before USER: trying icons makes (and deletes) bitmaps.
    counts.gdi = GetGuiResources(self, GR_GDIOBJECTS);
    if (counts.gdi == 0) {
        const long table = countGdiTable();
        counts.gdi = table < 0 ? 0 : static_cast<std::uint32_t>(table);
        note(counts.method, table < 0 ? "gdi:none" : "gdi:table");
    }
    counts.user = GetGuiResources(self, GR_USEROBJECTS);
    if (counts.user == 0) {
        counts.user = probeUserHandles();
        note(counts.method, "user:probe");
    }

    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        counts.privateBytes = memory.PrivateUsage;
    }
    if (counts.privateBytes == 0) {
        counts.privateBytes = committedPrivateBytes();
        note(counts.method, "private:committed");
    }
    counts.heapBytes = heapBytesInUse();
    counts.threads = threadCount();
    return counts;
}

std::string describe(const ResourceCounts& counts) {
    std::string text =
        "handles=" + std::to_string(counts.handles) + " gdi=" + std::to_string(counts.gdi) +
        " user=" + std::to_string(counts.user) + " private=" + std::to_string(counts.privateBytes) +
        " heap=" + std::to_string(counts.heapBytes) + " threads=" + std::to_string(counts.threads);
    if (!counts.method.empty()) text += " (counted: " + counts.method + ")";
    return text;
}

}  // namespace cq::test::e2e
