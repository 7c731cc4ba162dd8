// The Word add-in's log on a real file system: folders, the file's bytes,
// one open and close per line, and lines dropped when the file refuses them.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/CWinReg.h"
#include "common/Port.h"
#include "common/win32/Win32Registry.h"
#include "tests/doubles/FakeModule.h"
#include "tests/doubles/MemoryRegistry.h"
#include "word/Connect.h"
#include "word/Log.h"
#include "word/win32/Win32LogFile.h"

namespace cq {
namespace {

const char* const kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool isFolder(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

// A fresh "AppData" folder in the temporary folder, named in an in-memory
// registry; the real log file port; the add-in's version 1.0.66.
class WordLogFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        appData_ = std::string(temp) + "cq-word-log-" + std::to_string(GetCurrentProcessId()) +
                   "-" + std::to_string(GetTickCount());
        ASSERT_TRUE(CreateDirectoryA(appData_.c_str(), nullptr));
        CWinReg reg;
        ASSERT_TRUE(reg.InitForWrite(CWinReg::HKeyCurrentUser(), kShellFolders, true));
        ASSERT_TRUE(reg.WriteString("AppData", appData_));
        reg.CloseKey();
        module_.versionNumbers = {1, 0, 66, 0};
        word::g_sLogFile.clear();
    }
    void TearDown() override {
        word::g_sLogFile.clear();
        removeTree(appData_);
    }

    std::string folder() const { return appData_ + "\\Quintor\\Inkwell"; }
    std::string logPath() const { return folder() + "\\WordAddin.log"; }
    std::string bytes() const {
        std::ifstream in(logPath(), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::string appData_;
    MemoryRegistry registry_;
    test::FakeModule module_;
    word::win32::Win32LogFile files_;
    ScopedPort<Registry> registryPort_{registry_};
    ScopedPort<Module> modulePort_{module_};
    ScopedPort<word::LogFile> filesPort_{files_};
};

TEST_F(WordLogFile, FirstRunCreatesTheFoldersAndEachConnectAppendsItsSection) {
    ASSERT_FALSE(isFolder(appData_ + "\\Quintor"));
    { word::Connect first; }
    EXPECT_TRUE(isFolder(folder()));
    EXPECT_EQ(word::g_sLogFile, logPath());
    EXPECT_EQ(bytes(), "1.00.0066\r\n{\r\n}\r\n");
    {
        word::Connect second;
        word::dbgLog("->EnvelopeClick", "");
    }
    EXPECT_EQ(bytes(), "1.00.0066\r\n{\r\n}\r\n1.00.0066\r\n{\r\n[DBG] ->EnvelopeClick: \r\n}\r\n");
}

TEST_F(WordLogFile, NoHandleStaysOpenBetweenLines) {
    word::WriteLog("one");
    HANDLE exclusive = CreateFileA(logPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE) << "the file is still open";
    // While somebody else holds the file, lines are lost and nothing breaks.
    word::WriteLog("lost while locked");
    CloseHandle(exclusive);
    word::WriteLog("two");
    EXPECT_EQ(bytes(), "one\r\ntwo\r\n");
}

TEST_F(WordLogFile, AReadOnlyLogFileDropsTheLinesSilently) {
    word::WriteLog("kept");
    ASSERT_TRUE(SetFileAttributesA(logPath().c_str(), FILE_ATTRIBUTE_READONLY));
    { word::Connect connect; }
    word::WriteLog("lost");
    EXPECT_EQ(bytes(), "kept\r\n");
}

TEST_F(WordLogFile, TextGoesOutInTheAnsiCodePage) {
    word::WriteLog("Caf\xC3\xA9");  // UTF-8 inside
    std::string expected = "Caf";
    char ansi = 0;
    const wchar_t e = L'\u00e9';
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, &e, 1, &ansi, 1, nullptr, nullptr), 1);
    expected += ansi;
    EXPECT_EQ(bytes(), expected + "\r\n");
}

TEST(WordShellFolder, TheRealAppDataFolderExists) {
    win32::Win32Registry registry;
    ScopedPort<Registry> port(registry);
    test::FakeModule module;
    module.folderPath = "";
    ScopedPort<Module> modulePort(module);
    const std::string appData = word::GetShellFolder("AppData");
    EXPECT_TRUE(isFolder(appData)) << appData;
}

}  // namespace
}  // namespace cq
