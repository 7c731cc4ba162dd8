#pragma once
// The support library binding: CLibQuintor calls the exports, CLibQuintorWrapper
// is the facade the rest of the add-in uses, g_oLib its one instance.

#include <cstdint>
#include <memory>
#include <string>

#include "common/host/Dispatch.h"
#include "outlook/LibQuintorInitInfo.h"

namespace cq {

class CLibQuintor {
  public:
    std::int32_t InitEx(std::uintptr_t hInstance, LibQuintorInitInfo& info);
    std::int32_t AddAboutMenu(const Dispatch& explorer);
    std::int32_t InitComplete();
    std::int32_t LogMsg(const std::string& message, std::int32_t number, const std::string& source,
                        std::int32_t kind, std::int32_t level);

    std::uintptr_t m_hInstance = 0;
};

class CLibQuintorWrapper {
  public:
    // Size and the library's default settings; no library call.
    void GetDefaultInitInfo(LibQuintorInitInfo& info);
    std::int32_t InitEx(std::uintptr_t hInstance, LibQuintorInitInfo& info);
    std::int32_t AddAboutMenu(const Dispatch& explorer);
    std::int32_t InitComplete();
    std::int32_t LogMsg(const std::string& message, std::int32_t number, const std::string& source,
                        std::int32_t kind, std::int32_t level);

  private:
    CLibQuintor& lib();
    std::unique_ptr<CLibQuintor> m_oLib;
};

// Lives until the add-in's module is unloaded.
extern CLibQuintorWrapper g_oLib;

}  // namespace cq
