#include "outlook/CLibQuintor.h"
#include "outlook/Log.h"
#include "outlook/win32/LateBoundLibrary.h"
#include "outlook/win32/Win32SupportLibrary.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Port.h"
#include "common/host/Variant.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

// An explorer stand-in: only its identity is handed to the library.
class Explorer : public HostObject {
  public:
    void addRef() noexcept override {}
    void release() noexcept override {}
    Variant invoke(std::string_view, CallKind, std::span<Variant>) override {
        throw HostError(438, "no members");
    }
    Subscription* advise(std::string_view, EventSink&) override { return nullptr; }
    void* rawInterface() noexcept override { return this; }
};

std::string exeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return fromWide(folder.substr(0, folder.find_last_of(L'\\')));
}

std::string currentFolder() {
    wchar_t path[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, path);
    return fromWide(path);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.push_back({});
    return parts;
}

// The exports, called directly.
using InitExFn = LONG(WINAPI*)(HINSTANCE, LibQuintorInitInfo*);
using AddAboutMenuFn = LONG(WINAPI*)(HINSTANCE, void*);
using InitCompleteFn = LONG(WINAPI*)(HINSTANCE);
using LogMsgFn = LONG(WINAPI*)(HINSTANCE, const char*, LONG, const char*, LONG, LONG);

// A LibQuintor.dll loaded from a path of its own, so that it has a state of
// its own and goes when it is freed.
class LoadedLibrary {
  public:
    explicit LoadedLibrary(const std::string& path) : module_(LoadLibraryW(toWide(path).c_str())) {}
    ~LoadedLibrary() { unload(); }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool loaded() const { return module_ != nullptr; }
    void unload() {
        if (module_ != nullptr) FreeLibrary(module_);
        module_ = nullptr;
    }
    // Stays loaded until the process ends.
    void keep() { module_ = nullptr; }

    LONG initEx(LibQuintorInitInfo& info) {
        return fn<InitExFn>("LibQuintorInitEx")(nullptr, &info);
    }
    LONG addAboutMenu(void* explorer) {
        return fn<AddAboutMenuFn>("LibQuintorAddAboutMenu")(nullptr, explorer);
    }
    LONG initComplete() { return fn<InitCompleteFn>("LibQuintorInitComplete")(nullptr); }
    LONG logMsg(const char* message, LONG number, const char* source, LONG kind, LONG level) {
        return fn<LogMsgFn>("LibQuintorLogMsg")(nullptr, message, number, source, kind, level);
    }

  private:
    template <class Fn>
    Fn fn(const char* name) {
        FARPROC p = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
        if (p == nullptr) throw std::runtime_error(std::string("no export ") + name);
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
    }

    HMODULE module_;
};

// A line's time as milliseconds, comparable with GetLocalTime's; 0 when it
// does not read as yyyy-MM-dd HH:mm:ss.fff.
std::uint64_t millisOf(const SYSTEMTIME& t) {
    FILETIME f;
    if (!SystemTimeToFileTime(&t, &f)) return 0;
    return ((static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000;
}
std::uint64_t millisOf(const std::string& text) {
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    if (text.size() != 23 || std::sscanf(text.c_str(), "%4u-%2u-%2u %2u:%2u:%2u.%3u", &year, &month,
                                         &day, &hour, &minute, &second, &ms) != 7)
        return 0;
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(ms);
    return millisOf(t);
}
std::uint64_t nowMillis() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return millisOf(now);
}

std::string pointerText(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

using Line = std::vector<std::string>;  // the fields after the time

// The start-up records as the library writes them.
const Line kInitExLine = {"1", "1", "LibQuintor::LibQuintorInitEx", "0", "started, log level 2"};
Line aboutMenuLine(const void* explorer) {
    return {"1", "1", "LibQuintor::LibQuintorAddAboutMenu", "0",
            "about menu for explorer " + pointerText(explorer)};
}
const Line kInitCompleteLine = {"1", "1", "LibQuintor::LibQuintorInitComplete", "0",
                                "start-up complete"};

// The three start-up calls, each in a window of time of its own, 50 ms
// apart; what each must have written, with that window.
struct Timed {
    Line fields;
    std::uint64_t from = 0, to = 0;
};
std::vector<Timed> startUp(LoadedLibrary& lib, LibQuintorInitInfo info, void* explorer) {
    std::vector<Timed> calls;
    auto timed = [&](Line fields, const std::function<LONG()>& call) {
        Timed t{std::move(fields)};
        t.from = nowMillis();
        EXPECT_EQ(call(), 0) << t.fields[2];
        t.to = nowMillis();
        calls.push_back(t);
        Sleep(50);
    };
    timed(kInitExLine, [&] { return lib.initEx(info); });
    timed(aboutMenuLine(explorer), [&] { return lib.addAboutMenu(explorer); });
    timed(kInitCompleteLine, [&] { return lib.initComplete(); });
    return calls;
}

// `lines` (time first) are `expected`, in that order, each with a time in
// its window.
void expectLines(const std::vector<Line>& lines, const std::vector<Timed>& expected) {
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_FALSE(lines[i].empty()) << i;
        EXPECT_EQ(Line(lines[i].begin() + 1, lines[i].end()), expected[i].fields) << i;
        const std::uint64_t time = millisOf(lines[i][0]);
        EXPECT_GE(time, expected[i].from) << i << ": " << lines[i][0];
        EXPECT_LE(time, expected[i].to) << i << ": " << lines[i][0];
    }
}

// The process's APPDATA variable, put back when this goes.
class AppDataVariable {
  public:
    AppDataVariable() {
        wchar_t buffer[MAX_PATH] = {};
        const DWORD n = GetEnvironmentVariableW(L"APPDATA", buffer, MAX_PATH);
        if (n > 0 && n < MAX_PATH) saved_ = buffer;
        set_ = n > 0;
    }
    ~AppDataVariable() { SetEnvironmentVariableW(L"APPDATA", set_ ? saved_.c_str() : nullptr); }
    AppDataVariable(const AppDataVariable&) = delete;
    AppDataVariable& operator=(const AppDataVariable&) = delete;

  private:
    std::wstring saved_;
    bool set_ = false;
};

// What the child process below makes of its log file's name and explorer.
constexpr const char* kChildLogVariable = "CQ_SUPPORT_CHILD_LOG";
void* const kChildExplorer = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x5A5A50));

// Each test gets scratch folders of its own and a log file name of its own.
class SupportLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        const std::string tag = std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(GetTickCount()) + "-" + std::to_string(++count_);
        scratch_ = std::string(temp) + "cq-sup-" + tag;
        ASSERT_TRUE(CreateDirectoryA(scratch_.c_str(), nullptr));
        empty_ = makeFolder("empty");
        logName_ = "support-test-" + tag + ".log";
        char appData[MAX_PATH] = {};
        ASSERT_TRUE(SUCCEEDED(
            SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
        logPath_ = std::string(appData) + "\\Quintor\\Inkwell\\" + logName_;
        cwd_ = currentFolder();
    }
    void TearDown() override {
        SetCurrentDirectoryW(toWide(cwd_).c_str());
        // What the library loaded beside the program keeps goes to this
        // test's file, not to a later one's, before that file goes.
        if (HMODULE lib = GetModuleHandleW(L"LibQuintor.dll")) {
            auto initEx = reinterpret_cast<InitExFn>(
                reinterpret_cast<void (*)()>(GetProcAddress(lib, "LibQuintorInitEx")));
            auto logMsg = reinterpret_cast<LogMsgFn>(
                reinterpret_cast<void (*)()>(GetProcAddress(lib, "LibQuintorLogMsg")));
            LibQuintorInitInfo info = record();
            if (initEx != nullptr && logMsg != nullptr && initEx(nullptr, &info) == 0)
                logMsg(nullptr, "test over", 0, "SupportLibraryTest::TearDown", 3, 1);
        }
        DeleteFileA(logPath_.c_str());
        for (const std::string& file : files_) DeleteFileA(file.c_str());
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
            RemoveDirectoryA(it->c_str());
        RemoveDirectoryA(scratch_.c_str());
    }

    std::string makeFolder(const std::string& name) {
        std::string path = scratch_ + "\\" + name;
        CreateDirectoryA(path.c_str(), nullptr);
        folders_.push_back(path);
        return path;
    }
    void plantLibrary(const std::string& folder) {
        const std::string target = folder + "\\LibQuintor.dll";
        ASSERT_TRUE(CopyFileA((exeFolder() + "\\LibQuintor.dll").c_str(), target.c_str(), FALSE));
        files_.push_back(target);
    }

    // A copy of the library beside the program, under a name of its own.
    std::string copyOfLibrary() {
        const std::string target =
            scratch_ + "\\LibQuintor-copy-" + std::to_string(files_.size()) + ".dll";
        EXPECT_TRUE(CopyFileA((exeFolder() + "\\LibQuintor.dll").c_str(), target.c_str(), FALSE));
        files_.push_back(target);
        return target;
    }

    // A good record with this test's log file and level 2. The explorers
    // handed over here are stand-ins: no About entry.
    LibQuintorInitInfo record() {
        LibQuintorInitInfo info;
        g_oLib.GetDefaultInitInfo(info);
        info.lLogLevel = 2;
        info.bAboutMenu = 0;
        info.pszLogName = logName_.c_str();
        return info;
    }

    // The lines of this test's log file, each split at its tabs.
    std::vector<std::vector<std::string>> logLines() const { return linesOf(logPath_); }
    static std::vector<std::vector<std::string>> linesOf(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::vector<std::string>> lines;
        for (const std::string& line : split(content, '\n')) {
            if (line.empty()) continue;
            EXPECT_EQ(line.back(), '\r') << line;
            lines.push_back(split(line.substr(0, line.size() - 1), '\t'));
        }
        return lines;
    }

    static inline int count_ = 0;
    std::string scratch_, empty_, logName_, logPath_, cwd_;
    std::vector<std::string> folders_, files_;
    std::uintptr_t hInstance_ = reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
};

TEST_F(SupportLibraryTest, InitExAcceptsOnlyARecordOfThisBuildsLayout) {
    Win32SupportLibrary lib;
    ScopedPort<SupportLibrary> port(lib);
    // 60 bytes in a 32-bit build, 72 in a 64-bit one: the other build's
    // record, a truncated and an oversized size are refused alike.
    constexpr std::int32_t kOwn = kLibQuintorInitInfoSize;
    constexpr std::int32_t kOther = kOwn == 60 ? 72 : 60;
    const struct {
        std::int32_t size;
        bool accepted;
    } cases[] = {{kOwn, true},      {kOther, false}, {kOwn - 1, false}, {0, false},
                 {kOwn + 4, false}, {-kOwn, false},  {kOwn, true}};
    for (const auto& c : cases) {
        LibQuintorInitInfo info = record();
        info.cbSize = c.size;
        EXPECT_EQ(g_oLib.InitEx(hInstance_, info) == 0, c.accepted) << c.size;
    }
    // Loaded from the folder of the module that holds the binding.
    EXPECT_EQ(lib.libraryPath(), exeFolder() + "\\LibQuintor.dll");
}

TEST_F(SupportLibraryTest, ExportsAreFoundByTheirPlainNamesAndANullRecordIsRefused) {
    LateBoundLibrary library("LibQuintor.dll", exeFolder());
    for (const char* name : {"LibQuintorInitEx", "LibQuintorAddAboutMenu", "LibQuintorInitComplete",
                             "LibQuintorLogMsg"})
        EXPECT_NE(library.procedure(name), nullptr) << name;
    auto initEx = reinterpret_cast<InitExFn>(
        reinterpret_cast<void (*)()>(library.procedure("LibQuintorInitEx")));
    LibQuintorInitInfo info = record();
    EXPECT_EQ(initEx(nullptr, &info), 0);
    EXPECT_NE(initEx(nullptr, nullptr), 0);

    try {
        library.procedure("LibQuintorShutdown");
        ADD_FAILURE() << "a missing export was found";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number(), ERROR_PROC_NOT_FOUND);
        EXPECT_NE(e.description().find("LibQuintorShutdown"), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("LibQuintor.dll"), std::string::npos) << e.description();
    }
}

TEST_F(SupportLibraryTest, EntriesLandInTheLogFileOneLineEach) {
    Win32SupportLibrary lib;
    ScopedPort<SupportLibrary> port(lib);
    LibQuintorInitInfo info = record();
    ASSERT_EQ(g_oLib.InitEx(hInstance_, info), 0);

    Explorer explorer;
    char explorerText[32];
    std::snprintf(explorerText, sizeof explorerText, "%p", static_cast<void*>(&explorer));
    const std::string accented = "Zeit \xC3\xA9t\xC3\xA9";  // UTF-8 inside

    dbgLog("CInspectorWrapper::Init", "->", 2);
    dbgLog("Connect::GetStamp", "kept out by the level", 3);
    errLog("mDatestamp::GetDatestamp", HostError(91, "Object variable not set", 12));
    errLog("mDatestamp::GetDateFormat", 1004, "GetDateFormatA(d\tM\r\ny)", accented);
    g_oLib.AddAboutMenu(Dispatch(&explorer));
    g_oLib.InitComplete();
    dbgLog("CInspectorWrapper::Init", "->", 2);  // the start-up records go with it

    const std::vector<Line> expected = {
        {"1", "1", "LibQuintor::LibQuintorInitEx", "0", "started, log level 2"},
        {"1", "2", "CInspectorWrapper::Init", "0", "->"},
        {"3", "1", "mDatestamp::GetDatestamp(12)", "91", "Object variable not set"},
        {"3", "1", "mDatestamp::GetDateFormat", "1004",
         "GetDateFormatA(d M  y); " + toAnsi(accented)},
        {"1", "1", "LibQuintor::LibQuintorAddAboutMenu", "0",
         std::string("about menu for explorer ") + explorerText},
        {"1", "1", "LibQuintor::LibQuintorInitComplete", "0", "start-up complete"},
        {"1", "2", "CInspectorWrapper::Init", "0", "->"},
    };
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), expected.size());
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].size(), 6u) << i;
        const std::string& time = lines[i][0];
        unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
        EXPECT_EQ(time.size(), 23u) << time;
        EXPECT_EQ(std::sscanf(time.c_str(), "%4u-%2u-%2u %2u:%2u:%2u.%3u", &year, &month, &day,
                              &hour, &minute, &second, &ms),
                  7)
            << time;
        EXPECT_EQ(year, now.wYear) << time;
        EXPECT_EQ(Line(lines[i].begin() + 1, lines[i].end()), expected[i]) << i;
    }
}

TEST_F(SupportLibraryTest, AMissingOrBrokenLibraryFailsEveryCallWithTheSystemErrorCode) {
    const std::string broken = makeFolder("broken");
    {
        std::ofstream out(broken + "\\LibQuintor.dll");
        out << "not a library";
    }
    files_.push_back(broken + "\\LibQuintor.dll");
    const struct {
        std::string folder;
        DWORD error;
    } folders[] = {{empty_, ERROR_MOD_NOT_FOUND}, {broken, ERROR_BAD_EXE_FORMAT}};
    for (const auto& f : folders) {
        Win32SupportLibrary lib(f.folder);
        ScopedPort<SupportLibrary> port(lib);
        LibQuintorInitInfo info = record();
        Explorer explorer;
        const std::function<void()> calls[] = {
            [&] { g_oLib.InitEx(hInstance_, info); },
            [&] { g_oLib.AddAboutMenu(Dispatch(&explorer)); },
            [&] { g_oLib.InitComplete(); },
            [&] { dbgLog("Connect::OnConnection", "->", 2); },
            [&] { g_oLib.InitComplete(); },  // tried again, fails again
        };
        for (const auto& call : calls) {
            try {
                call();
                ADD_FAILURE() << "no failure for " << f.folder;
            } catch (const HostError& e) {
                EXPECT_EQ(static_cast<DWORD>(e.number()), f.error) << f.folder;
                EXPECT_NE(e.description().find("LibQuintor.dll"), std::string::npos)
                    << e.description();
            }
        }
        EXPECT_EQ(lib.libraryPath(), "");
    }
}

TEST_F(SupportLibraryTest, ACopyInTheCurrentDirectoryIsNeverLoaded) {
    const std::string planted = makeFolder("cwd");
    plantLibrary(planted);
    ASSERT_TRUE(SetCurrentDirectoryW(toWide(planted).c_str()));

    // Not in the add-in's folder, not in the system folder: not loaded at all.
    Win32SupportLibrary elsewhere(empty_);
    EXPECT_THROW(elsewhere.LibQuintorInitComplete(hInstance_), HostError);
    EXPECT_EQ(elsewhere.libraryPath(), "");
    EXPECT_EQ(GetModuleHandleW(toWide(planted + "\\LibQuintor.dll").c_str()), nullptr);

    // The add-in's own copy wins over the current directory's.
    Win32SupportLibrary beside;
    LibQuintorInitInfo info = record();
    EXPECT_EQ(beside.LibQuintorInitEx(hInstance_, info), 0);
    EXPECT_EQ(beside.libraryPath(), exeFolder() + "\\LibQuintor.dll");
    EXPECT_EQ(GetModuleHandleW(toWide(planted + "\\LibQuintor.dll").c_str()), nullptr);
}

TEST_F(SupportLibraryTest, StartUpRecordsReachTheFileWithTheirOwnTimesInCallOrder) {
    enum class End { kNextEntry, kFreeLibrary };
    for (const End end : {End::kNextEntry, End::kFreeLibrary}) {
        SCOPED_TRACE(end == End::kNextEntry ? "the next entry" : "FreeLibrary");
        const std::string copy = copyOfLibrary();
        LoadedLibrary lib(copy);
        ASSERT_TRUE(lib.loaded());
        Explorer explorer;
        std::vector<Timed> expected = startUp(lib, record(), &explorer);
        // Start-up itself leaves the file alone.
        EXPECT_TRUE(logLines().empty());

        if (end == End::kNextEntry) {
            Timed entry{{"3", "1", "Connect::m_oInspectors_NewInspector", "91", "no item"}};
            entry.from = nowMillis();
            EXPECT_EQ(lib.logMsg("no item", 91, "Connect::m_oInspectors_NewInspector", 3, 1), 0);
            entry.to = nowMillis();
            expected.push_back(entry);
        } else {
            lib.unload();
            EXPECT_EQ(GetModuleHandleW(toWide(copy).c_str()), nullptr);
        }
        expectLines(logLines(), expected);
        DeleteFileA(logPath_.c_str());
    }
}

// Run by StartUpRecordsAreWrittenWhenTheProcessEnds in a process of its own:
// the start-up calls, then the process ends with the library still loaded.
TEST(SupportLibraryChild, DISABLED_StartsUpAndEnds) {
    const char* name = std::getenv(kChildLogVariable);
    if (name == nullptr) GTEST_SKIP() << "run by StartUpRecordsAreWrittenWhenTheProcessEnds";
    LoadedLibrary lib(exeFolder() + "\\LibQuintor.dll");
    ASSERT_TRUE(lib.loaded());
    LibQuintorInitInfo info;
    g_oLib.GetDefaultInitInfo(info);
    info.lLogLevel = 2;
    info.bAboutMenu = 0;
    info.pszLogName = name;
    startUp(lib, info, kChildExplorer);
    lib.keep();
}

TEST_F(SupportLibraryTest, StartUpRecordsAreWrittenWhenTheProcessEnds) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(exe) +
        L"\" --gtest_filter=SupportLibraryChild.* --gtest_also_run_disabled_tests";
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherited, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(nul, INVALID_HANDLE_VALUE);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION child = {};
    SetEnvironmentVariableA(kChildLogVariable, logName_.c_str());
    const std::uint64_t started = nowMillis();
    const BOOL created = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &child);
    SetEnvironmentVariableA(kChildLogVariable, nullptr);
    CloseHandle(nul);
    ASSERT_TRUE(created);
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    const std::uint64_t ended = nowMillis();
    EXPECT_EQ(code, 0u);

    std::vector<Timed> expected;
    for (const Line& fields : {kInitExLine, aboutMenuLine(kChildExplorer), kInitCompleteLine})
        expected.push_back(Timed{fields, started, ended});
    const auto lines = logLines();
    expectLines(lines, expected);
    // Each keeps the time of its call, 50 ms apart, not the time of the end.
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_GE(millisOf(lines[i][0]), millisOf(lines[i - 1][0]) + 20) << lines[i][0];
}

TEST_F(SupportLibraryTest, NoStartUpRecordIsLostHoweverManyWait) {
    LoadedLibrary lib(copyOfLibrary());
    LibQuintorInitInfo info = record();
    ASSERT_EQ(lib.initEx(info), 0);
    std::vector<Line> expected = {kInitExLine};
    for (std::uintptr_t i = 1; i <= 1000; ++i) {
        void* explorer = reinterpret_cast<void*>(i * 16);
        EXPECT_EQ(lib.addAboutMenu(explorer), 0);
        expected.push_back(aboutMenuLine(explorer));
    }
    lib.unload();

    const auto lines = logLines();
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(Line(lines[i].begin() + 1, lines[i].end()), expected[i]) << i;
}

TEST_F(SupportLibraryTest, LinesThatCannotBeWrittenWaitForTheNextEntry) {
    const std::string folder = logPath_.substr(0, logPath_.find_last_of('\\'));
    CreateDirectoryA(folder.substr(0, folder.find_last_of('\\')).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    LoadedLibrary lib(copyOfLibrary());
    LibQuintorInitInfo info = record();
    ASSERT_EQ(lib.initEx(info), 0);

    // Another program holds the file and shares it with no one.
    HANDLE held = CreateFileA(logPath_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(lib.logMsg("while held", 5, "mDatestamp::GetDatestamp", 3, 1),
              ERROR_SHARING_VIOLATION);
    EXPECT_EQ(lib.initComplete(), 0);
    CloseHandle(held);
    EXPECT_EQ(lib.logMsg("->", 0, "CInspectorWrapper::Init", 1, 2), 0);

    const std::vector<Line> expected = {
        kInitExLine,
        {"3", "1", "mDatestamp::GetDatestamp", "5", "while held"},
        kInitCompleteLine,
        {"1", "2", "CInspectorWrapper::Init", "0", "->"},
    };
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(Line(lines[i].begin() + 1, lines[i].end()), expected[i]) << i;
}

TEST_F(SupportLibraryTest, TheLogFolderIsUnderAppDataWhenThatNamesAFolderByFullPath) {
    const std::string own = makeFolder("appdata");
    const std::string ownLog = own + "\\Quintor\\Inkwell\\" + logName_;
    folders_.push_back(own + "\\Quintor");
    folders_.push_back(own + "\\Quintor\\Inkwell");
    const struct {
        const char* what;
        bool set;
        std::string value;
        std::string log;
    } cases[] = {
        {"a folder", true, own, ownLog},
        {"a folder and a backslash", true, own + "\\", ownLog},
        {"a missing folder", true, scratch_ + "\\missing", logPath_},
        {"a relative path", true, "appdata", logPath_},  // a folder in the current directory
        {"not set", false, "", logPath_},
    };
    AppDataVariable restored;
    ASSERT_TRUE(SetCurrentDirectoryW(toWide(scratch_).c_str()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetEnvironmentVariableW(L"APPDATA", c.set ? toWide(c.value).c_str() : nullptr);
        {
            LoadedLibrary lib(copyOfLibrary());
            LibQuintorInitInfo info = record();
            ASSERT_EQ(lib.initEx(info), 0);
            EXPECT_EQ(lib.logMsg("where", 0, "Connect::OnConnection", 1, 1), 0);
        }
        EXPECT_EQ(linesOf(c.log).size(), 2u);
        DeleteFileA(c.log.c_str());
    }
}

}  // namespace
}  // namespace cq::win32
