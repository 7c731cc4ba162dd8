#pragma once
// Everything the Word add-in reaches, as doubles, installed for the lifetime
// of one object: an in-memory Word of the chosen version with its Outlook, a
// registry whose "AppData" shell folder is "C:\Users\Ann\AppData\Roaming"
// (an existing folder), the log's file system, the add-in's module (version
// 1.0.66 in "C:\Program Files\Inkwell"), message boxes, keystrokes, the
// running-object table (empty) and the button pictures. The log path is
// forgotten on entry and exit, as in a fresh process.

#include <string>

#include "common/CWinReg.h"
#include "common/KeySender.h"
#include "common/MsgBox.h"
#include "common/Pictures.h"
#include "common/Port.h"
#include "common/Registry.h"
#include "tests/doubles/FakeModule.h"
#include "tests/doubles/FakePictures.h"
#include "tests/doubles/FakeRunningObjectTable.h"
#include "tests/doubles/FakeWord.h"
#include "tests/doubles/MemoryLogFile.h"
#include "tests/doubles/MemoryRegistry.h"
#include "tests/doubles/RecordingKeySender.h"
#include "tests/doubles/RecordingMsgBox.h"
#include "word/Log.h"

namespace cq::test {

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kAppData = "C:\\Users\\Ann\\AppData\\Roaming";
inline constexpr const char* kLogPath =
    "C:\\Users\\Ann\\AppData\\Roaming\\Quintor\\Inkwell\\WordAddin.log";

struct WordWorld {
    explicit WordWorld(int version, FakeWord::Layout layout = {})
        : word(version, layout), pictures(word.office) {
        word::g_sLogFile.clear();
        module.versionNumbers = {1, 0, 66, 0};
        files.addFolder(kAppData);
        files.addFolder(module.folderPath);
        writeString(kShellFoldersKey, "AppData", kAppData);
    }
    ~WordWorld() { word::g_sLogFile.clear(); }
    WordWorld(const WordWorld&) = delete;
    WordWorld& operator=(const WordWorld&) = delete;

    // Writes a string value under HKEY_CURRENT_USER, creating the key.
    void writeString(const std::string& key, const std::string& name, const std::string& value) {
        CWinReg reg;
        reg.InitForWrite(CWinReg::HKeyCurrentUser(), key, true);
        reg.WriteString(name, value);
        reg.CloseKey();
    }
    void setTooltip(const std::string& value) {
        writeString("Software\\Quintor\\Inkwell", "Tooltip", value);
    }
    std::vector<std::string> logLines() const { return files.lines(kLogPath); }

    FakeWord word;
    MemoryRegistry registry;
    MemoryLogFile files;
    FakeModule module;
    RecordingMsgBox boxes;
    RecordingKeySender keys;
    FakeRunningObjectTable rot;
    FakePictures pictures;

  private:
    ScopedPort<Registry> registryPort_{registry};
    ScopedPort<word::LogFile> filesPort_{files};
    ScopedPort<Module> modulePort_{module};
    ScopedPort<MsgBox> boxPort_{boxes};
    ScopedPort<KeySender> keysPort_{keys};
    ScopedPort<word::RunningObjectTable> rotPort_{rot};
    ScopedPort<Pictures> picturesPort_{pictures};
};

}  // namespace cq::test
