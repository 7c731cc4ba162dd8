#pragma once
// Everything the stamp composition reaches, as doubles, installed for the
// lifetime of one object: the module in "C:\Program Files\Inkwell", its
// settings file there (absent at first), the pinned locale and a recording
// support library. Starts from the settings of a freshly loaded add-in.

#include "common/Port.h"
#include "outlook/StampSettings.h"
#include "tests/doubles/FakeModule.h"
#include "tests/doubles/MemorySettingsFile.h"
#include "tests/doubles/PinnedLocale.h"
#include "tests/doubles/RecordingSupportLibrary.h"

namespace cq::test {

struct StampWorld {
    StampWorld() { g_StampSettings = StampSettings{}; }
    ~StampWorld() { g_StampSettings = StampSettings{}; }
    StampWorld(const StampWorld&) = delete;
    StampWorld& operator=(const StampWorld&) = delete;

    FakeModule module;
    MemorySettingsFile file{module.folderPath + "\\Chronoquill.ini"};
    PinnedLocale locale;
    RecordingSupportLibrary lib;

  private:
    ScopedPort<Module> modulePort_{module};
    ScopedPort<SettingsFile> filePort_{file};
    ScopedPort<Locale> localePort_{locale};
    ScopedPort<SupportLibrary> libPort_{lib};
};

}  // namespace cq::test
