#pragma once
// What the GetStamp benchmark's client and server agree on: the classes under
// which the server puts its objects in the running-object table, and the
// events that say the server is ready and that it may stop.

#include <windows.h>

namespace cq::bench {

// The exported in-memory Outlook's Application.
// {6C1B0C52-7C1E-4E0B-9A57-2E3C61B0A1F1}
inline constexpr CLSID kBenchOutlookClsid = {
    0x6C1B0C52, 0x7C1E, 0x4E0B, {0x9A, 0x57, 0x2E, 0x3C, 0x61, 0xB0, 0xA1, 0xF1}};
// The bare object with one method taking two strings by reference.
// {0F4D8E2A-3B5C-4D71-8E29-5A6B7C8D9E01}
inline constexpr CLSID kBareObjectClsid = {
    0x0F4D8E2A, 0x3B5C, 0x4D71, {0x8E, 0x29, 0x5A, 0x6B, 0x7C, 0x8D, 0x9E, 0x01}};

inline constexpr wchar_t kServerReadyEvent[] = L"ChronoquillBench.StampCallServer.Ready";
inline constexpr wchar_t kServerStopEvent[] = L"ChronoquillBench.StampCallServer.Stop";

// The bare object's method: Fill(first, second), both BSTR by reference;
// answers True like GetStamp.
inline constexpr wchar_t kBareMethod[] = L"Fill";

}  // namespace cq::bench
