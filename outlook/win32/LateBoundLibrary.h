#pragma once
// A DLL that is loaded on first use and whose exports are looked up by name.
// It is loaded by full path only: from a given folder (the add-in's own) when
// the file is there, else from the system folder. The current directory and
// PATH are never searched, so a planted copy cannot be picked up.

#include <windows.h>

#include <string>

namespace cq::win32 {

class LateBoundLibrary {
  public:
    // `fileName` such as "LibQuintor.dll"; `folder` in UTF-8, without a
    // trailing separator (empty: the system folder only).
    LateBoundLibrary(std::string fileName, std::string folder);
    // The library stays loaded for the life of the process: code it runs may
    // still be referenced by the host (menus, event sinks) when this goes.
    ~LateBoundLibrary() = default;
    LateBoundLibrary(const LateBoundLibrary&) = delete;
    LateBoundLibrary& operator=(const LateBoundLibrary&) = delete;

    // The address of export `name`, loading the library first when needed.
    // Throws HostError with the system error code when the library cannot be
    // loaded (a later call tries again) or has no such export.
    FARPROC procedure(const char* name);

    // The full path of the file loaded (UTF-8); empty while nothing is loaded.
    const std::string& path() const { return path_; }

  private:
    HMODULE load();

    std::string fileName_;
    std::string folder_;
    std::string path_;
    HMODULE module_ = nullptr;
};

}  // namespace cq::win32
