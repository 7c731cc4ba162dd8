#include "outlook/CLibQuintor.h"
#include "outlook/Log.h"
#include "outlook/win32/LateBoundLibrary.h"
#include "outlook/win32/Win32SupportLibrary.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
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
    void* identity() noexcept override { return this; }
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

    // A good record with this test's log file and level 2.
    LibQuintorInitInfo record() {
        LibQuintorInitInfo info;
        g_oLib.GetDefaultInitInfo(info);
        info.lLogLevel = 2;
        info.pszLogName =
            static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(logName_.c_str()));
        return info;
    }

    // The lines of this test's log file, each split at its tabs.
    std::vector<std::vector<std::string>> logLines() const {
        std::ifstream in(logPath_, std::ios::binary);
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

TEST_F(SupportLibraryTest, InitExAcceptsOnlyARecordOfSixtyBytes) {
    Win32SupportLibrary lib;
    ScopedPort<SupportLibrary> port(lib);
    const struct {
        std::int32_t size;
        bool accepted;
    } cases[] = {{60, true}, {59, false}, {0, false}, {64, false}, {-60, false}, {60, true}};
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
    using InitExFn = LONG(WINAPI*)(HINSTANCE, LibQuintorInitInfo*);
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

    using Line = std::vector<std::string>;
    const std::vector<Line> expected = {
        {"1", "1", "LibQuintor::LibQuintorInitEx", "0", "started, log level 2"},
        {"1", "2", "CInspectorWrapper::Init", "0", "->"},
        {"3", "1", "mDatestamp::GetDatestamp(12)", "91", "Object variable not set"},
        {"3", "1", "mDatestamp::GetDateFormat", "1004",
         "GetDateFormatA(d M  y); " + toAnsi(accented)},
        {"1", "1", "LibQuintor::LibQuintorAddAboutMenu", "0",
         std::string("about menu for explorer ") + explorerText},
        {"1", "1", "LibQuintor::LibQuintorInitComplete", "0", "start-up complete"},
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

}  // namespace
}  // namespace cq::win32
