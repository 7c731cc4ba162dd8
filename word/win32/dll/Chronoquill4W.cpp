// Chronoquill4W.dll, the Word add-in: an in-process COM server that serves
// one class, "Chronoquill4W.Connect", registered per user together with its
// Word add-in key. Its exports are common/win32/ServerExports.cpp's.

#include <windows.h>

#include "common/Port.h"
#include "common/Registration.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/Win32Module.h"
#include "common/win32/Win32KeySender.h"
#include "common/win32/Win32MsgBox.h"
#include "common/win32/Win32Pictures.h"
#include "common/win32/Win32Registry.h"
#include "word/win32/Win32LogFile.h"
#include "word/win32/Win32RunningObjectTable.h"
#include "word/win32/dll/ConnectObject.h"

namespace cq::win32 {
namespace {

// The real services: made once per process, before the first object, and in
// force while the DLL is loaded.
struct Services {
    PortInForce<word::LogFile, word::win32::Win32LogFile> logFile;
    PortInForce<word::RunningObjectTable, word::win32::Win32RunningObjectTable> runningObjects;
    PortInForce<MsgBox, Win32MsgBox> boxes;
    // The button pictures come from this DLL's resources.
    PortInForce<Pictures, Win32Pictures> pictures{thisModule()};
    PortInForce<Module, Win32Module> module;
    PortInForce<Registry, Win32Registry> registry;
    PortInForce<KeySender, Win32KeySender> keys;
};

HRESULT createConnect(REFIID iid, void** object) {
    // Connect writes its log from its constructor on: the services come first.
    static Services services;
    return createObject<word::win32::ConnectObject>(iid, object);
}

}  // namespace

const ServedClass kAddInClass = {__uuidof(::Connect), &createConnect};

Registration addInRegistration() {
    return {guidText(__uuidof(::Connect)), "Chronoquill4W.Connect",
            "Chronoquill date and time stamps for Word", "Chronoquill for Word", "Word",
            // The library of Chronoquill4W.idl, in this DLL.
            "{2BDC37CB-E69B-4B6B-828C-6076AE8E532B}"};
}

}  // namespace cq::win32
