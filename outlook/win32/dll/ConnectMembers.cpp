#include "outlook/win32/dll/ConnectMembers.h"

#include <algorithm>
#include <cwctype>
#include <span>

#include "outlook/win32/dll/IRibbonExtensibility.h"

namespace cq::win32 {
namespace {

constexpr ConnectMember kPublicMembers[] = {
    {L"Ribbon_OnLoad", kDispidRibbon_OnLoad, 1},
    {L"Button_Action", kDispidButton_Action, 1},
    {L"Button_GetScreentip", kDispidButton_GetScreentip, 1},
    {L"Button_GetImage", kDispidButton_GetImage, 1},
    {L"Button_GetLabel", kDispidButton_GetLabel, 1},
    {L"GetStamp", kDispidGetStamp, 2},
};

constexpr ConnectMember kGetCustomUI = {L"GetCustomUI", kDispidGetCustomUI, 1};

bool sameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

}  // namespace

const ConnectMember* memberNamed(DispatchFace face, std::wstring_view name) {
    if (face == DispatchFace::Ribbon && sameName(kGetCustomUI.name, name)) return &kGetCustomUI;
    for (const ConnectMember& m : kPublicMembers)
        if (sameName(m.name, name)) return &m;
    return nullptr;
}

const ConnectMember* memberWithId(DispatchFace face, DISPID id) {
    if (face == DispatchFace::Ribbon && id == kGetCustomUI.id) return &kGetCustomUI;
    for (const ConnectMember& m : kPublicMembers)
        if (m.id == id) return &m;
    return nullptr;
}

}  // namespace cq::win32
