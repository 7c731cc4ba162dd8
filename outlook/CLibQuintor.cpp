#include "outlook/CLibQuintor.h"

#include "common/Port.h"
#include "outlook/SupportLibrary.h"

namespace cq {

CLibQuintorWrapper g_oLib;

std::int32_t CLibQuintor::InitEx(std::uintptr_t hInstance, LibQuintorInitInfo& info) {
    m_hInstance = hInstance;  // kept even when the call fails
    return Port<SupportLibrary>::get().LibQuintorInitEx(hInstance, info);
}

std::int32_t CLibQuintor::AddAboutMenu(const Dispatch& explorer) {
    return Port<SupportLibrary>::get().LibQuintorAddAboutMenu(m_hInstance, explorer);
}

std::int32_t CLibQuintor::InitComplete() {
    return Port<SupportLibrary>::get().LibQuintorInitComplete(m_hInstance);
}

std::int32_t CLibQuintor::LogMsg(const std::string& message, std::int32_t number,
                                 const std::string& source, std::int32_t kind, std::int32_t level) {
    return Port<SupportLibrary>::get().LibQuintorLogMsg(m_hInstance, message, number, source, kind,
                                                        level);
}

CLibQuintor& CLibQuintorWrapper::lib() {
    if (!m_oLib) m_oLib = std::make_unique<CLibQuintor>();
    return *m_oLib;
}

void CLibQuintorWrapper::GetDefaultInitInfo(LibQuintorInitInfo& info) {
    info = LibQuintorInitInfo{};
    info.cbSize = kLibQuintorInitInfoSize;
    info.lLogLevel = 2;
    info.bAboutMenu = -1;
    info.lUrlStringId = 601;
    info.lMakerStringId = 602;
    info.lNameStringId = 603;
    info.lMaxLogKb = 1024;
    info.bLogToFile = -1;
}

std::int32_t CLibQuintorWrapper::InitEx(std::uintptr_t hInstance, LibQuintorInitInfo& info) {
    return lib().InitEx(hInstance, info);
}

std::int32_t CLibQuintorWrapper::AddAboutMenu(const Dispatch& explorer) {
    return lib().AddAboutMenu(explorer);
}

std::int32_t CLibQuintorWrapper::InitComplete() { return lib().InitComplete(); }

std::int32_t CLibQuintorWrapper::LogMsg(const std::string& message, std::int32_t number,
                                        const std::string& source, std::int32_t kind,
                                        std::int32_t level) {
    return lib().LogMsg(message, number, source, kind, level);
}

}  // namespace cq
