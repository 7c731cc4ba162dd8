#pragma once
// The COM object of the Word add-in's Connect ("Chronoquill4W.Connect"): one
// word::Connect behind the class's default interface (IsInitialized and the
// five handlers under their "IDTExtensibility2_" names) and Office's
// IDTExtensibility2, through their vtables and through IDispatch as
// Chronoquill4W.idl describes them (Chronoquill4W.h, made from it, declares
// the interfaces). The default IDispatch also answers the
// handlers by IDTExtensibility2's names and DISPIDs. The `custom` array of the handlers is
// accepted and not read. Every entry point answers with an HRESULT; nothing
// thrown leaves it.
//
// The ports must be in force before the first object is made: Connect's
// constructor already writes the log.

#include <windows.h>
#include <oaidl.h>

#include "Chronoquill4W.h"
#include "common/win32/AddInObject.h"
#include "common/win32/TypedDispatch.h"
#include "word/Connect.h"

namespace cq::word::win32 {

class ConnectObject final
    : public ::cq::win32::AddInObject<Connect,
                                      ::cq::win32::TypedDispatch<_Connect, IDTExtensibility2>,
                                      ::cq::win32::TypedDispatch<IDTExtensibility2>> {
  public:
    ConnectObject() = default;

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                           IDispatch* AddInInst, SAFEARRAY** custom) override;

    HRESULT STDMETHODCALLTYPE IsInitialized(VARIANT_BOOL* initialized) override;
    HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnAddInsUpdate(SAFEARRAY** custom) override {
        return OnAddInsUpdate(custom);
    }
    HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnBeginShutdown(SAFEARRAY** custom) override {
        return OnBeginShutdown(custom);
    }
    HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnConnection(IDispatch* Application,
                                                             ext_ConnectMode ConnectMode,
                                                             IDispatch* AddInInst,
                                                             SAFEARRAY** custom) override {
        return OnConnection(Application, ConnectMode, AddInInst, custom);
    }
    HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnDisconnection(ext_DisconnectMode RemoveMode,
                                                                SAFEARRAY** custom) override {
        return OnDisconnection(RemoveMode, custom);
    }
    HRESULT STDMETHODCALLTYPE IDTExtensibility2_OnStartupComplete(SAFEARRAY** custom) override {
        return OnStartupComplete(custom);
    }

  private:
    ~ConnectObject() override = default;  // ~Connect writes the end of the log section
};

}  // namespace cq::word::win32
