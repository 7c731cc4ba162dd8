#pragma once
// The default interface of "Chronoquill4W.Connect" (_Connect in
// Chronoquill4W.idl, whose order and DISPIDs this vtable follows):
// IsInitialized, then the five connection handlers under the names they carry
// on the class. The same handlers serve the class's IDTExtensibility2.

#include <windows.h>
#include <oaidl.h>

namespace cq::word::win32 {

struct IConnect4W : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE IsInitialized(VARIANT_BOOL* initialized) = 0;
    virtual HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnBeginShutdown(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnConnection(IDispatch* Application,
                                                                     int ConnectMode,
                                                                     IDispatch* AddInInst,
                                                                     SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnDisconnection(int RemoveMode,
                                                                        SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnStartupComplete(SAFEARRAY** custom) = 0;
};

}  // namespace cq::word::win32

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(cq::word::win32::IConnect4W, 0x9BE3E925, 0x7E4F, 0x4784, 0xAA, 0x09, 0x38, 0x53,
                0x42, 0xAC, 0x97, 0x98)
#endif
