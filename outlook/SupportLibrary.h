#pragma once
// The four exports of the maker's support library LibQuintor.dll. Each call
// throws HostError when the library or the export cannot be found.

#include <cstdint>
#include <string>

#include "common/host/Dispatch.h"
#include "outlook/LibQuintorInitInfo.h"

namespace cq {

class SupportLibrary {
  public:
    virtual ~SupportLibrary() = default;
    virtual std::int32_t LibQuintorInitEx(std::uintptr_t hInstance, LibQuintorInitInfo& info) = 0;
    virtual std::int32_t LibQuintorAddAboutMenu(std::uintptr_t hInstance,
                                                const Dispatch& explorer) = 0;
    virtual std::int32_t LibQuintorInitComplete(std::uintptr_t hInstance) = 0;
    virtual std::int32_t LibQuintorLogMsg(std::uintptr_t hInstance, const std::string& message,
                                          std::int32_t number, const std::string& source,
                                          std::int32_t kind, std::int32_t level) = 0;
};

}  // namespace cq
