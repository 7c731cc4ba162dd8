#pragma once
// What a process holds, sampled to show that a long run does not leak: its
// kernel handles, GDI and USER objects, private memory, the bytes in use in
// its heaps (HeapWalk) and its threads.
//
// Windows answers all four directly (GetProcessHandleCount, GetGuiResources,
// GetProcessMemoryInfo's PrivateUsage). Wine leaves some of them at zero; each
// such figure is then counted another way, and `method` says which:
//   handles  the handle values that GetHandleInformation accepts
//   gdi      the live, non-stock entries of the process's GDI handle table
//   user     the USER handles that are windows of this process, menus, icons or cursors
//   private  the committed private regions of the address space (VirtualQuery)

#include <cstdint>
#include <string>

namespace cq::test::e2e {

struct ResourceCounts {
    std::uint32_t handles = 0;
    std::uint32_t gdi = 0;
    std::uint32_t user = 0;
    std::uint64_t privateBytes = 0;
    std::uint64_t heapBytes = 0;  // the blocks in use in all of the process's heaps
    std::uint32_t threads = 0;
    std::string method;  // "" when every figure came from its own API, else e.g. "gdi:table"
};

// The figures of this process.
ResourceCounts sampleResources();

// "handles=<n> gdi=<n> user=<n> private=<bytes> heap=<bytes> threads=<n>"
// and, when a figure was counted another way, " (counted: <method>)".
std::string describe(const ResourceCounts& counts);

}  // namespace cq::test::e2e
