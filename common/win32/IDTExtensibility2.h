#pragma once
// IDTExtensibility2, the interface through which Office connects a COM add-in.
// The MinGW headers do not declare it. It is a dual interface: its five
// methods follow IDispatch in the vtable (slots 7 to 11) and are reachable by
// the DISPIDs 1 to 5 through IDispatch::Invoke, as common/win32/OfficeAddIn.idl
// describes it for the type libraries.

#include <windows.h>
#include <oaidl.h>

namespace cq::win32 {

// How the add-in was connected (the ConnectMode argument).
enum ext_ConnectMode : int {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3,
};

// Why the add-in is disconnected (the RemoveMode argument).
enum ext_DisconnectMode : int {
    ext_dm_HostShutdown = 0,
    ext_dm_UserClosed = 1,
};

inline constexpr IID IID_IDTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

struct IDTExtensibility2 : public IDispatch {
    // Application: the host's Application object; AddInInst: the host's
    // COMAddIn object for this add-in; custom: an array of VARIANT (may be null).
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode,
                                                   IDispatch* AddInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(int RemoveMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

}  // namespace cq::win32

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(cq::win32::IDTExtensibility2, 0xB65AD801, 0xABAF, 0x11D0, 0xBB, 0x8B, 0x00, 0xA0,
                0xC9, 0x0F, 0x27, 0x44)
#endif
