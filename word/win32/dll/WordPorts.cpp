#include "word/win32/dll/WordPorts.h"

#include "common/KeySender.h"
#include "common/Module.h"
#include "common/MsgBox.h"
#include "common/Pictures.h"
#include "common/Port.h"
#include "common/Registry.h"
#include "common/win32/Win32KeySender.h"
#include "common/win32/Win32Module.h"
#include "common/win32/Win32MsgBox.h"
#include "common/win32/Win32Pictures.h"
#include "common/win32/Win32Registry.h"
#include "word/LogFile.h"
#include "word/RunningObjectTable.h"
#include "word/win32/Win32LogFile.h"
#include "word/win32/Win32RunningObjectTable.h"

namespace cq::word::win32 {
namespace {

// The services live as long as the DLL and stay in force while they do.
struct Services {
    explicit Services(HMODULE module) : pictures(module) {}

    Win32LogFile logFile;
    Win32RunningObjectTable runningObjects;
    ::cq::win32::Win32MsgBox boxes;
    ::cq::win32::Win32Pictures pictures;
    ::cq::win32::Win32Module module;
    ::cq::win32::Win32Registry registry;
    ::cq::win32::Win32KeySender keys;

    ScopedPort<LogFile> logFilePort{logFile};
    ScopedPort<RunningObjectTable> runningObjectsPort{runningObjects};
    ScopedPort<MsgBox> boxesPort{boxes};
    ScopedPort<Pictures> picturesPort{pictures};
    ScopedPort<Module> modulePort{module};
    ScopedPort<Registry> registryPort{registry};
    ScopedPort<KeySender> keysPort{keys};
};

}  // namespace

void installPorts(HMODULE module) { static Services services(module); }

}  // namespace cq::word::win32
