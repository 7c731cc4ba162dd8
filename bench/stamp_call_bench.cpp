// Word's GetStamp round trip against a bare cross-process call with two
// by-reference strings.
//
// stamp_call_server.exe (started here) plays Outlook's process: the real
// Chronoquill.dll connected to an exported in-memory Outlook, and a bare
// object, both reachable through the running-object table. This process
// plays Word: it takes the add-in the way the Word add-in does
// (Application.COMAddIns.Item("Chronoquill.Connect").Object) and times
// GetStamp, looked up by name once, against the bare object's Fill. Both are
// IDispatch::Invoke calls with two VT_BYREF | VT_BSTR arguments that come
// back filled with the same strings, over the same standard marshaling.
//
//   stamp_call_bench.exe [rounds]

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchPaths.h"
#include "bench/BenchMain.h"
#include "bench/Rounds.h"
#include "bench/StampCallIds.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComPtr.h"
#include "tests/hosts/ScopedBstr.h"
#include "common/win32/Text.h"

namespace cq::bench {
namespace {

using test::ScopedBstr;
using win32::ComPtr;

constexpr int kCallsPerRound = 20;
constexpr DWORD kStartLimitMs = 120000;

// The server process: started ready to serve, told to stop at the end.
class Server {
  public:
    Server()
        : ready_(CreateEventW(nullptr, TRUE, FALSE, kServerReadyEvent)),
          stop_(CreateEventW(nullptr, TRUE, FALSE, kServerStopEvent)) {
        if (ready_ == nullptr || stop_ == nullptr) throw std::runtime_error("no events");
        ResetEvent(ready_);
        ResetEvent(stop_);
        std::wstring command = L"\"" + programFolder() + L"\\stamp_call_server.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process_))
            throw std::runtime_error("cannot start stamp_call_server.exe");
        HANDLE waits[] = {ready_, process_.hProcess};
        if (WaitForMultipleObjects(2, waits, FALSE, kStartLimitMs) != WAIT_OBJECT_0) {
            stop();
            throw std::runtime_error("stamp_call_server.exe did not get ready");
        }
    }
    ~Server() {
        stop();
        CloseHandle(stop_);
        CloseHandle(ready_);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

  private:
    void stop() {
        if (process_.hProcess == nullptr) return;
        SetEvent(stop_);
        if (WaitForSingleObject(process_.hProcess, 60000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "stamp_call_bench: the server did not stop; ending it\n");
            TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }

    HANDLE ready_;
    HANDLE stop_;
    PROCESS_INFORMATION process_{};
};

ComPtr<IDispatch> activeObject(const CLSID& clsid) {
    ComPtr<IUnknown> unknown;
    if (FAILED(GetActiveObject(clsid, nullptr, unknown.put())))
        throw std::runtime_error("GetActiveObject failed");
    ComPtr<IDispatch> object;
    if (FAILED(unknown->QueryInterface(IID_IDispatch, object.putVoid())))
        throw std::runtime_error("the running object has no IDispatch");
    return object;
}

DISPID dispidOf(IDispatch& object, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        throw std::runtime_error("no member " + win32::fromWide(name));
    return id;
}

struct Answer {
    std::wstring first;
    std::wstring second;
};

// One call with two strings by reference, as Word makes it: both start empty
// and belong to the caller. Throws unless it answers True with a first string.
Answer callWithTwoStrings(IDispatch& object, DISPID id) {
    ScopedBstr first;
    ScopedBstr second;
    VARIANT args[2];
    V_VT(&args[1]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&args[1]) = first.put();
    *V_BSTRREF(&args[1]) = SysAllocString(L"");
    V_VT(&args[0]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&args[0]) = second.put();
    *V_BSTRREF(&args[0]) = SysAllocString(L"");
    DISPPARAMS params{args, nullptr, 2, 0};
    win32::ScopedVariant result;
    const HRESULT hr = object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                     result.ptr(), nullptr, nullptr);
    if (FAILED(hr) || V_VT(result.ptr()) != VT_BOOL || V_BOOL(result.ptr()) != VARIANT_TRUE ||
        SysStringLen(first.get()) == 0)
        throw std::runtime_error("a call did not answer True with a stamp");
    return {first.get(), second.get() ? second.get() : L""};
}

int run(int argc, char** argv) {
    const int rounds = roundsFrom(argc, argv, 31);
    const Server server;
    SideBySide sides;
    Answer stamp;
    Answer bareAnswer;
    {
        const ComPtr<IDispatch> outlook = activeObject(kBenchOutlookClsid);
        const ComPtr<IDispatch> bare = activeObject(kBareObjectClsid);
        // The Word add-in's way to the Outlook add-in.
        const Dispatch published = win32::wrapDispatch(outlook.get())
                                       .get("COMAddIns")
                                       .toObject()
                                       .call("Item", "Chronoquill.Connect")
                                       .toObject()
                                       .get("Object")
                                       .toObject();
        auto* addin = static_cast<IDispatch*>(published.rawInterface());
        if (addin == nullptr) throw std::runtime_error("Chronoquill.Connect published nothing");
        const DISPID getStamp = dispidOf(*addin, L"GetStamp");
        const DISPID fill = dispidOf(*bare.get(), kBareMethod);

        stamp = callWithTwoStrings(*addin, getStamp);
        bareAnswer = callWithTwoStrings(*bare.get(), fill);
        // A round's value is the median of its calls (a preempted call does not count).
        auto side = [](IDispatch& object, DISPID id) {
            return [&object, id] {
                std::vector<double> calls;
                for (int i = 0; i < kCallsPerRound; ++i) {
                    const auto start = Clock::now();
                    callWithTwoStrings(object, id);
                    calls.push_back(microsSince(start));
                }
                return median(calls);
            };
        };
        sides = alternate(rounds, side(*addin, getStamp), side(*bare.get(), fill));
    }
    std::printf("GetStamp answered \"%s\", \"%s\"; the bare call \"%s\", \"%s\"\n",
                win32::fromWide(stamp.first).c_str(), win32::fromWide(stamp.second).c_str(),
                win32::fromWide(bareAnswer.first).c_str(),
                win32::fromWide(bareAnswer.second).c_str());
    std::printf("(%d calls a round; microseconds per call)\n", kCallsPerRound);
    report("GetStamp across processes", "GetStamp by name, two strings by reference",
           "bare call, two strings by reference", sides, 1.2);
    return 0;
}

}  // namespace
}  // namespace cq::bench

int main(int argc, char** argv) {
    return cq::bench::runInApartment("stamp_call_bench", cq::bench::run, argc, argv);
}
