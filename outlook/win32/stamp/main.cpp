// chronoquill-stamp: prints the stamp that the Outlook add-in would type now
// (or at the moment given with --at), composed from Chronoquill.ini next to
// this program exactly as the add-in composes it from the file next to
// itself. With --kind the stamp kind and a TAB come first. Error entries go
// to stderr. Exit status 2 for bad arguments.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/Port.h"
#include "common/win32/Text.h"
#include "common/win32/Win32Clock.h"
#include "common/win32/Win32Module.h"
#include "outlook/SupportLibrary.h"
#include "outlook/mDatestamp.h"
#include "outlook/win32/Win32Locale.h"
#include "outlook/win32/Win32SettingsFile.h"
#include "outlook/win32/stamp/StampArgs.h"

namespace cq {
namespace {

// Log entries on stderr instead of the support library's store.
class StderrLog final : public SupportLibrary {
  public:
    std::int32_t LibQuintorInitEx(std::uintptr_t, LibQuintorInitInfo&) override { return 0; }
    std::int32_t LibQuintorAddAboutMenu(std::uintptr_t, const Dispatch&) override { return 0; }
    std::int32_t LibQuintorInitComplete(std::uintptr_t) override { return 0; }
    std::int32_t LibQuintorLogMsg(std::uintptr_t, const std::string& message, std::int32_t number,
                                  const std::string& source, std::int32_t kind,
                                  std::int32_t) override {
        if (kind == 3)
            std::fprintf(stderr, "error %ld in %s: %s\n", static_cast<long>(number), source.c_str(),
                         message.c_str());
        return 0;
    }
};

// UTF-8 text to stdout: as wide characters on a console, else as UTF-8 bytes.
void print(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode)) {
        std::wstring wide = win32::toWide(text + "\r\n");
        DWORD written = 0;
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        std::fputs((text + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
}

int run(const std::vector<std::string>& arguments) {
    std::optional<StampArgs> args = parseStampArgs(arguments);
    if (!args) {
        std::fprintf(stderr, "%s\n", kStampUsage);
        return 2;
    }

    win32::Win32Module module;
    win32::Win32SettingsFile file;
    win32::Win32Locale locale;
    win32::Win32Clock clock;
    StderrLog log;
    ScopedPort<Module> modulePort(module);
    ScopedPort<SettingsFile> filePort(file);
    ScopedPort<Locale> localePort(locale);
    ScopedPort<Clock> clockPort(clock);
    ScopedPort<SupportLibrary> logPort(log);

    DateTime at = args->at ? *args->at : Port<Clock>::get().now();
    std::int32_t lStampKind = -1;  // stays -1 when the stamp could not be composed
    std::string sStamp = GetDatestamp(at, lStampKind);
    print(args->kind ? std::to_string(lStampKind) + "\t" + sStamp : sStamp);
    return 0;
}

}  // namespace
}  // namespace cq

int main(int argc, char** argv) {
    try {
        return cq::run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "chronoquill-stamp: %s\n", failure.what());
        return 1;
    }
}
