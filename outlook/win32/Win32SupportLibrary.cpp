#include "outlook/win32/Win32SupportLibrary.h"

#include <utility>

#include "common/win32/Text.h"
#include "common/win32/Win32Module.h"

namespace cq::win32 {
namespace {

constexpr const char* kLibrary = "LibQuintor.dll";

// The exports, all __stdcall, exported under their plain names.
using InitExFn = LONG(WINAPI*)(HINSTANCE, LibQuintorInitInfo*);
using AddAboutMenuFn = LONG(WINAPI*)(HINSTANCE, void*);
using InitCompleteFn = LONG(WINAPI*)(HINSTANCE);
using LogMsgFn = LONG(WINAPI*)(HINSTANCE, const char*, LONG, const char*, LONG, LONG);

HINSTANCE instance(std::uintptr_t hInstance) { return reinterpret_cast<HINSTANCE>(hInstance); }

// The add-in's own folder; empty (the system folder only) when Windows cannot tell.
std::string ownFolder() {
    try {
        return moduleFolder(thisModule());
    } catch (...) {
        return {};
    }
}

}  // namespace

Win32SupportLibrary::Win32SupportLibrary() : library_(kLibrary, ownFolder()) {}

Win32SupportLibrary::Win32SupportLibrary(std::string folder)
    : library_(kLibrary, std::move(folder)) {}

template <class Fn>
Fn Win32SupportLibrary::exportOf(FARPROC& slot, const char* name) {
    if (slot == nullptr) slot = library_.procedure(name);
    // void (*)() converts to and from any function pointer type.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(slot));
}

std::int32_t Win32SupportLibrary::LibQuintorInitEx(std::uintptr_t hInstance,
                                                   LibQuintorInitInfo& info) {
    auto fn = exportOf<InitExFn>(initEx_, "LibQuintorInitEx");
    return fn(instance(hInstance), &info);
}

std::int32_t Win32SupportLibrary::LibQuintorAddAboutMenu(std::uintptr_t hInstance,
                                                         const Dispatch& explorer) {
    auto fn = exportOf<AddAboutMenuFn>(addAboutMenu_, "LibQuintorAddAboutMenu");
    return fn(instance(hInstance), explorer.rawInterface());
}

std::int32_t Win32SupportLibrary::LibQuintorInitComplete(std::uintptr_t hInstance) {
    auto fn = exportOf<InitCompleteFn>(initComplete_, "LibQuintorInitComplete");
    return fn(instance(hInstance));
}

std::int32_t Win32SupportLibrary::LibQuintorLogMsg(std::uintptr_t hInstance,
                                                   const std::string& message, std::int32_t number,
                                                   const std::string& source, std::int32_t kind,
                                                   std::int32_t level) {
    auto fn = exportOf<LogMsgFn>(logMsg_, "LibQuintorLogMsg");
    const std::string ansiMessage = toAnsi(message);
    const std::string ansiSource = toAnsi(source);
    return fn(instance(hInstance), ansiMessage.c_str(), number, ansiSource.c_str(), kind, level);
}

}  // namespace cq::win32
