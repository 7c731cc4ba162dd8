#pragma once
// The add-in's own members by name, as Outlook and other programs reach them
// through IDispatch, each with its DISPID and its number of arguments.
//
// The object's dispatch interface holds, besides the IDTExtensibility2
// methods (DISPIDs 1 to 5, see ExtensibilityDispatch.h), the public methods
// Ribbon_OnLoad, Button_Action, Button_GetScreentip, Button_GetImage,
// Button_GetLabel and GetStamp, in that order, from 0x60030000 on. The
// IRibbonExtensibility face has an id space of its own: GetCustomUI is its
// DISPID 1, and the public methods keep their DISPIDs there, so that ribbon
// callbacks arrive through whichever face Office asks. Names compare without
// regard to case, as in every dispatch interface.

#include <windows.h>
#include <oaidl.h>

#include <string_view>

namespace cq::win32 {

inline constexpr DISPID kDispidRibbon_OnLoad = 0x60030000;
inline constexpr DISPID kDispidButton_Action = 0x60030001;
inline constexpr DISPID kDispidButton_GetScreentip = 0x60030002;
inline constexpr DISPID kDispidButton_GetImage = 0x60030003;
inline constexpr DISPID kDispidButton_GetLabel = 0x60030004;
inline constexpr DISPID kDispidGetStamp = 0x60030005;

struct ConnectMember {
    std::wstring_view name;
    DISPID id;
    UINT arguments;
};

// Which of the object's two dispatch faces a call came through.
enum class DispatchFace { Connect, Ribbon };

// The member called `name` on `face`, or null.
const ConnectMember* memberNamed(DispatchFace face, std::wstring_view name);
// The member with DISPID `id` on `face`, or null.
const ConnectMember* memberWithId(DispatchFace face, DISPID id);

}  // namespace cq::win32
