#pragma once
// The COM object of the Word add-in's Connect ("Chronoquill4W.Connect"): one
// word::Connect behind IUnknown, a hand-written IDispatch and IDTExtensibility2
// through its vtable.
//
// By name, through IDispatch: OnConnection, OnDisconnection, OnAddInsUpdate,
// OnStartupComplete and OnBeginShutdown (DISPIDs 1 to 5, also under their
// "IDTExtensibility2_" names) and IsInitialized (a Boolean, as method or
// property). The `custom` array of the five handlers is accepted and not read.
// Every entry point answers with an HRESULT; nothing thrown leaves it.
//
// The ports must be in force before the first object is made: Connect's
// constructor already writes the log.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/AddInObject.h"
#include "word/Connect.h"

namespace cq::word::win32 {

inline constexpr DISPID kDispidIsInitialized = 6;

class ConnectObject final : public ::cq::win32::AddInObject<Connect> {
  public:
    ConnectObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode,
                                           IDispatch* AddInInst, SAFEARRAY** custom) override;

  private:
    ~ConnectObject() override = default;  // ~Connect writes the end of the log section
};

}  // namespace cq::word::win32
