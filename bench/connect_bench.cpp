// Connection of the real Chronoquill.dll against an add-in that does nothing
// (ChronoquillEmpty.dll), both registered per user with regsvr32 and created
// by ProgID, both connected to the same in-memory Outlook 2003 exported as COM
// objects. Timed per cycle: CLSIDFromProgID + CoCreateInstance, OnConnection,
// OnStartupComplete; shutdown (OnBeginShutdown, OnDisconnection, release) is
// timed apart. The first cycle of each (loading the DLLs) is shown, not counted,
// and printed as a FIRST|<Chronoquill.dll us>|<empty add-in us> line.
// Each cycle runs as an Outlook session does: the explorer window is there
// at start-up (the support library adds its About entry to it) and closes
// before the add-in is shut down. To show what the support library takes of
// it, its three calls at connection (LibQuintorInitEx, LibQuintorAddAboutMenu,
// LibQuintorInitComplete) are also made directly, with the record the add-in
// passes and a new explorer window each time, and timed on their own.
//
//   connect_bench.exe [rounds]

#include <windows.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchPaths.h"
#include "bench/BenchMain.h"
#include "bench/AddinRegistration.h"
#include "bench/OfficeCalls.h"
#include "bench/Rounds.h"
#include "outlook/CLibQuintor.h"
#include "outlook/LibQuintorInitInfo.h"
#include "outlook/OutlookObjects.h"
#include "tests/doubles/FakeOutlook.h"
#include "tests/hosts/ComExport.h"

namespace cq::bench {
namespace {

using win32::ComPtr;

constexpr int kCyclesPerRound = 10;

struct Steps {
    double create = 0;
    double connect = 0;
    double startup = 0;
    double shutdown = 0;

    double connection() const { return create + connect + startup; }
};

class Bench {
  public:
    Bench()
        : real_(windowsPath(CQ_BENCH_OUTLOOK_DIR "/Chronoquill.dll"), L"Chronoquill.Connect"),
          empty_(windowsPath(CQ_BENCH_EMPTY_DLL), L"ChronoquillEmpty.Connect"),
          outlook_(office_, 11) {
        app_ = ComPtr<IDispatch>::adopt(exporter_.exportObject(outlook_.application));
        held_ = office_.liveReferences();
    }

    // One connection of the add-in of `progId`, and its shutdown.
    Steps cycle(const wchar_t* progId) {
        Steps s;
        test::FakeObject& explorer = outlook_.addExplorer();
        auto start = Clock::now();
        ComPtr<IDTExtensibility2> addin = createByProgId(progId);
        s.create = microsSince(start);
        start = Clock::now();
        calls_.onConnection(*addin.get(), app_.get());
        s.connect = microsSince(start);
        start = Clock::now();
        calls_.onStartupComplete(*addin.get());
        s.startup = microsSince(start);
        outlook_.closeExplorer(explorer);
        start = Clock::now();
        calls_.shutdown(*addin.get());
        addin.reset();
        // Outlook lets go of what the add-in published when it unloads it.
        outlook_.addIn.set("Object", Variant());
        s.shutdown = microsSince(start);
        return s;
    }

    // The first connection of the real add-in must leave it working, not inert.
    void checkRealAddinWorks() {
        test::FakeObject& explorer = outlook_.addExplorer();
        ComPtr<IDTExtensibility2> addin = createByProgId(kReal);
        calls_.onConnection(*addin.get(), app_.get());
        calls_.onStartupComplete(*addin.get());
        const bool published = static_cast<bool>(outlook_.addIn.value("Object").toObject());
        const int listening = outlook_.inspectors.subscribers(ol::kInspectorsEvents);
        outlook_.closeExplorer(explorer);
        calls_.shutdown(*addin.get());
        addin.reset();
        outlook_.addIn.set("Object", Variant());
        if (!published || listening != 1)
            throw std::runtime_error("Chronoquill.dll stayed inert (is LibQuintor.dll beside it?)");
    }

    // The support library's calls at one connection, made directly on the
    // LibQuintor.dll that the add-in loaded. Microseconds.
    double supportLibraryCalls() {
        using InitExFn = LONG(WINAPI*)(HINSTANCE, LibQuintorInitInfo*);
        using AddAboutMenuFn = LONG(WINAPI*)(HINSTANCE, void*);
        using InitCompleteFn = LONG(WINAPI*)(HINSTANCE);
        HMODULE lib = GetModuleHandleW(L"LibQuintor.dll");
        HMODULE addin = GetModuleHandleW(L"Chronoquill.dll");
        if (lib == nullptr || addin == nullptr)
            throw std::runtime_error("LibQuintor.dll is not loaded");
        auto proc = [&](const char* name) {
            FARPROC p = GetProcAddress(lib, name);
            if (p == nullptr) throw std::runtime_error(std::string("no export ") + name);
            return reinterpret_cast<void (*)()>(p);
        };
        auto initEx = reinterpret_cast<InitExFn>(proc("LibQuintorInitEx"));
        auto addAboutMenu = reinterpret_cast<AddAboutMenuFn>(proc("LibQuintorAddAboutMenu"));
        auto initComplete = reinterpret_cast<InitCompleteFn>(proc("LibQuintorInitComplete"));

        LibQuintorInitInfo info;
        CLibQuintorWrapper().GetDefaultInitInfo(info);
        info.oHost = app_.get();
        test::FakeObject& window = outlook_.addExplorer();
        ComPtr<IDispatch> explorer = ComPtr<IDispatch>::adopt(exporter_.exportObject(window));
        const auto start = Clock::now();
        const LONG failed =
            initEx(addin, &info) | addAboutMenu(addin, explorer.get()) | initComplete(addin);
        const double took = microsSince(start);
        explorer.reset();
        outlook_.closeExplorer(window);
        if (failed != 0) throw std::runtime_error("a support library call failed");
        return took;
    }

    void checkNothingHeld() const {
        // Only the exported Application that this host keeps for every connection.
        if (office_.liveReferences() != held_)
            throw std::runtime_error("references left after shutdown: " + office_.referenced());
    }

    static constexpr const wchar_t* kReal = L"Chronoquill.Connect";
    static constexpr const wchar_t* kEmpty = L"ChronoquillEmpty.Connect";

  private:
    AddinRegistration real_;
    AddinRegistration empty_;
    test::FakeOffice office_;
    test::ComExport exporter_;
    test::FakeOutlook outlook_;
    ComPtr<IDispatch> app_;
    OfficeCalls calls_;
    int held_ = 0;
};

void printSteps(const char* what, const Steps& s, double total) {
    std::printf("  %-24s %8.1f %8.1f %8.1f %8.1f %9.1f\n", what, s.create, s.connect, s.startup,
                total, s.shutdown);
}

// The median of each step over `all`.
Steps medians(const std::vector<Steps>& all) {
    std::vector<double> create, connect, startup, shutdown;
    for (const Steps& s : all) {
        create.push_back(s.create);
        connect.push_back(s.connect);
        startup.push_back(s.startup);
        shutdown.push_back(s.shutdown);
    }
    return Steps{median(create), median(connect), median(startup), median(shutdown)};
}

// Reading the version resource of Chronoquill.dll, as the add-in does at
// every connection for the support library's record. Microseconds.
double versionRead() {
    const std::wstring path = windowsPath(CQ_BENCH_OUTLOOK_DIR "/Chronoquill.dll");
    const auto start = Clock::now();
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    const bool ok =
        !data.empty() &&
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) &&
        VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length);
    const double took = microsSince(start);
    if (!ok) throw std::runtime_error("Chronoquill.dll has no version resource");
    return took;
}

// `kCyclesPerRound` runs of `once`; their median.
template <class Once>
double medianOfCycles(Once&& once) {
    std::vector<double> values;
    for (int i = 0; i < kCyclesPerRound; ++i) values.push_back(once());
    return median(values);
}

int run(int argc, char** argv) {
    const int rounds = roundsFrom(argc, argv, 21);
    Bench bench;

    const Steps coldEmpty = bench.cycle(Bench::kEmpty);
    const Steps coldReal = bench.cycle(Bench::kReal);
    bench.checkRealAddinWorks();
    bench.checkNothingHeld();

    // A round's value is the median of its cycles (a preempted cycle does not
    // count); its steps are kept for the breakdown.
    std::vector<Steps> realSteps;
    std::vector<Steps> emptySteps;
    auto side = [&](const wchar_t* progId, std::vector<Steps>& steps) {
        return [&, progId] {
            std::vector<Steps> cycles;
            std::vector<double> totals;
            for (int i = 0; i < kCyclesPerRound; ++i) {
                cycles.push_back(bench.cycle(progId));
                totals.push_back(cycles.back().connection());
            }
            steps.push_back(medians(cycles));
            return median(totals);
        };
    };
    const SideBySide sides =
        alternate(rounds, side(Bench::kReal, realSteps), side(Bench::kEmpty, emptySteps));
    bench.checkNothingHeld();

    // The parts of the add-in's time that are not its own code, made directly.
    const SideBySide direct = alternate(
        rounds, [&] { return medianOfCycles([&] { return bench.supportLibraryCalls(); }); },
        [] { return medianOfCycles(versionRead); });
    const double lib = direct.medianA();
    const double version = direct.medianB();

    std::printf(
        "Connection to an in-memory Outlook 2003 exported as COM, microseconds "
        "(medians; %d cycles a round):\n",
        kCyclesPerRound);
    std::printf("  %-24s %8s %8s %8s %8s %9s\n", "", "create", "OnConn", "OnStart", "total",
                "shutdown");
    printSteps("Chronoquill.dll, first", coldReal, coldReal.connection());
    printSteps("empty add-in, first", coldEmpty, coldEmpty.connection());
    printSteps("Chronoquill.dll", medians(realSteps), sides.medianA());
    printSteps("empty add-in", medians(emptySteps), sides.medianB());
    const double extra = sides.medianA() - sides.medianB();
    std::printf("Chronoquill.dll's extra %.1f us, made directly:\n", extra);
    std::printf("  LibQuintor.dll's three calls (each appends to its log) %8.1f us\n", lib);
    std::printf("  reading the DLL's version resource                     %8.1f us\n", version);
    std::printf("  the rest (host calls, event subscriptions)             %8.1f us\n",
                extra - lib - version);
    std::printf("  ratio without the support library's calls: %.2f\n",
                (sides.medianA() - lib) / sides.medianB());
    report("connection", "Chronoquill.dll: create, OnConnection, OnStartupComplete",
           "empty add-in: the same", sides, 1.5);
    // The first connection of each, DLLs loaded: what Outlook's start-up sees.
    std::printf("FIRST|%.1f|%.1f\n", coldReal.connection(), coldEmpty.connection());
    return 0;
}

}  // namespace
}  // namespace cq::bench

int main(int argc, char** argv) {
    return cq::bench::runInApartment("connect_bench", cq::bench::run, argc, argv);
}
