#include "outlook/win32/dll/OutlookPorts.h"

#include "common/Clock.h"
#include "common/KeySender.h"
#include "common/Module.h"
#include "common/MsgBox.h"
#include "common/Pictures.h"
#include "common/Port.h"
#include "common/Registry.h"
#include "common/win32/Win32Clock.h"
#include "common/win32/Win32KeySender.h"
#include "common/win32/Win32Module.h"
#include "common/win32/Win32MsgBox.h"
#include "common/win32/Win32Pictures.h"
#include "common/win32/Win32Registry.h"
#include "outlook/Locale.h"
#include "outlook/SettingsFile.h"
#include "outlook/SupportLibrary.h"
#include "outlook/win32/Win32Locale.h"
#include "outlook/win32/Win32SettingsFile.h"
#include "outlook/win32/Win32SupportLibrary.h"

namespace cq::win32 {
namespace {

// The services live as long as the DLL and stay in force while they do.
struct Services {
    explicit Services(HMODULE module) : pictures(module) {}

    Win32SupportLibrary supportLibrary;  // LibQuintor.dll beside this DLL
    Win32Locale locale;
    Win32SettingsFile settingsFile;
    Win32Module module;  // this DLL: Chronoquill.ini is read next to it
    Win32Clock clock;
    Win32Registry registry;
    Win32KeySender keys;
    Win32MsgBox boxes;
    Win32Pictures pictures;

    ScopedPort<SupportLibrary> supportLibraryPort{supportLibrary};
    ScopedPort<Locale> localePort{locale};
    ScopedPort<SettingsFile> settingsFilePort{settingsFile};
    ScopedPort<Module> modulePort{module};
    ScopedPort<Clock> clockPort{clock};
    ScopedPort<Registry> registryPort{registry};
    ScopedPort<KeySender> keysPort{keys};
    ScopedPort<MsgBox> boxesPort{boxes};
    ScopedPort<Pictures> picturesPort{pictures};
};

}  // namespace

void installOutlookPorts(HMODULE module) { static Services services(module); }

}  // namespace cq::win32
