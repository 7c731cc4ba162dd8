// The server of the GetStamp benchmark, started by stamp_call_bench.exe: it
// plays Outlook's process. The real Chronoquill.dll, registered with regsvr32
// and created by ProgID, is connected to an in-memory Outlook 2003 exported as
// COM, and so publishes itself as COMAddIns.Item("Chronoquill.Connect").Object.
// The exported Application and a bare object (BareStampObject, writing the
// strings of the add-in's first GetStamp) go into the running-object table;
// then calls are served on this thread until the client signals the stop.

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "bench/BenchPaths.h"
#include "bench/BenchMain.h"
#include "bench/AddinRegistration.h"
#include "bench/BareStampObject.h"
#include "bench/ConnectedOutlook.h"
#include "bench/StampCallIds.h"
#include "common/win32/Text.h"

namespace cq::bench {
namespace {

using win32::ComPtr;

constexpr DWORD kServeLimitMs = 10 * 60 * 1000;

class ActiveObject {
  public:
    ActiveObject(IUnknown* object, const CLSID& clsid) {
        const HRESULT hr = RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &cookie_);
        if (FAILED(hr)) throw std::runtime_error("RegisterActiveObject failed");
    }
    ~ActiveObject() { RevokeActiveObject(cookie_, nullptr); }
    ActiveObject(const ActiveObject&) = delete;
    ActiveObject& operator=(const ActiveObject&) = delete;

  private:
    DWORD cookie_ = 0;
};

// Serves calls (they arrive as messages of this thread) until `stop` is set.
void serveUntil(HANDLE stop) {
    const DWORD end = GetTickCount() + kServeLimitMs;
    for (;;) {
        const DWORD left = end - GetTickCount();
        if (static_cast<LONG>(left) <= 0) throw std::runtime_error("no stop from the client");
        const DWORD wait = MsgWaitForMultipleObjects(1, &stop, FALSE, left, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) return;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int run(int, char**) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, kServerReadyEvent);
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kServerStopEvent);
    if (ready == nullptr || stop == nullptr) throw std::runtime_error("cannot open the events");

    const AddinRegistration registration(windowsPath(CQ_BENCH_OUTLOOK_DIR "/Chronoquill.dll"),
                                         L"Chronoquill.Connect");
    ConnectedOutlook session;

    // The bare object answers with what the add-in answers, so that both
    // calls carry the same strings back.
    Variant stamp(std::string(""));
    Variant tooltip(std::string(""));
    {
        const Dispatch published = session.outlook().addIn.value("Object").toObject();
        if (!published) throw std::runtime_error("Chronoquill.dll published nothing");
        published.call("GetStamp", Variant::ref(stamp), Variant::ref(tooltip));
    }
    ComPtr<IDispatch> bare = ComPtr<IDispatch>::adopt(
        new BareStampObject(win32::toWide(stamp.toString()), win32::toWide(tooltip.toString())));

    {
        const ActiveObject outlookEntry(session.application(), kBenchOutlookClsid);
        const ActiveObject bareEntry(bare.get(), kBareObjectClsid);
        SetEvent(ready);
        serveUntil(stop);
    }

    CoDisconnectObject(bare.get(), 0);
    bare.reset();
    session.shutdown();
    CoDisconnectObject(session.application(), 0);
    CloseHandle(stop);
    CloseHandle(ready);
    return 0;
}

}  // namespace
}  // namespace cq::bench

int main(int argc, char** argv) {
    return cq::bench::runInApartment("stamp_call_server", cq::bench::run, argc, argv);
}
