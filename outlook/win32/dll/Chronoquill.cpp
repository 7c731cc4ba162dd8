// Chronoquill.dll, the Outlook add-in: an in-process COM server that serves
// one class, "Chronoquill.Connect", registered per user together with its
// Outlook add-in key. Its exports are common/win32/ServerExports.cpp's.

#include <windows.h>

#include "common/Port.h"
#include "common/Registration.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/Win32Module.h"
#include "common/win32/Win32Clock.h"
#include "common/win32/Win32KeySender.h"
#include "common/win32/Win32MsgBox.h"
#include "common/win32/Win32Pictures.h"
#include "common/win32/Win32Registry.h"
#include "outlook/Connect.h"
#include "outlook/win32/Win32Locale.h"
#include "outlook/win32/Win32SettingsFile.h"
#include "outlook/win32/Win32SupportLibrary.h"
#include "outlook/win32/dll/ConnectObject.h"

namespace cq::win32 {
namespace {

// The real services: made once per process, before the first object, and in
// force while the DLL is loaded.
struct Services {
    // LibQuintor.dll beside this DLL.
    PortInForce<SupportLibrary, Win32SupportLibrary> supportLibrary;
    PortInForce<Locale, Win32Locale> locale;
    PortInForce<SettingsFile, Win32SettingsFile> settingsFile;
    PortInForce<Module, Win32Module> module;  // this DLL: Chronoquill.ini is read next to it
    PortInForce<Clock, Win32Clock> clock;
    PortInForce<Registry, Win32Registry> registry;
    PortInForce<KeySender, Win32KeySender> keys;
    PortInForce<MsgBox, Win32MsgBox> boxes;
    // The button pictures and the ribbon image come from this DLL's resources.
    PortInForce<Pictures, Win32Pictures> pictures{thisModule()};
};

HRESULT createConnect(REFIID iid, void** object) {
    // The services come first: the portable Connect reaches everything through them.
    static Services services;
    return createObject<ConnectObject>(iid, object);
}

}  // namespace

const ServedClass kAddInClass = {__uuidof(::Connect), &createConnect};

Registration addInRegistration() {
    return {guidText(__uuidof(::Connect)), std::string(kOutlookAddInProgId),
            "Chronoquill date and time stamps for Outlook", "Chronoquill", "Outlook",
            // The library of Chronoquill.idl, in this DLL.
            "{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}"};
}

}  // namespace cq::win32
