#pragma once
// Connect: the Outlook add-in as Outlook loads it ("Chronoquill.Connect").
// Its IDTExtensibility2 handlers start the support library and follow the
// explorer and item windows; before Outlook 2007 each suitable item window
// gets a CInspectorWrapper, from Outlook 2007 on the ribbon callbacks serve
// the compose windows. GetStamp hands a stamp to other programs.
//
// This is the add-in's logic; the COM object that Outlook sees wraps it and
// forwards every call. Every public method is an entry point from the host
// and never throws.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/AddInContract.h"
#include "common/KeepAlive.h"
#include "common/host/EventSource.h"
#include "outlook/CInspectorWrapper.h"
#include "outlook/RibbonObjects.h"

namespace cq {

class Connect {
  public:
    // Hands out the add-in's own object as the host sees it (the COM object
    // that wraps this Connect), holding a new reference.
    using SelfProvider = std::function<Dispatch()>;

    explicit Connect(SelfProvider self = {});
    ~Connect();
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    // IDTExtensibility2. Only Application is used.
    void IDTExtensibility2_OnConnection(const Dispatch& Application, std::int32_t ConnectMode,
                                        const Dispatch& AddInInst, std::span<Variant> custom = {});
    void IDTExtensibility2_OnDisconnection(std::int32_t RemoveMode, std::span<Variant> custom = {});
    void IDTExtensibility2_OnAddInsUpdate(std::span<Variant> custom = {});
    void IDTExtensibility2_OnStartupComplete(std::span<Variant> custom = {});
    void IDTExtensibility2_OnBeginShutdown(std::span<Variant> custom = {});

    // IRibbonExtensibility: the markup for a window type, or "".
    std::string IRibbonExtensibility_GetCustomUI(const std::string& RibbonID);

    // The public dispatch interface, in its order.
    void Ribbon_OnLoad(const Dispatch& ribbon);
    void Button_Action(const Dispatch& control);
    std::string Button_GetScreentip(const Dispatch& control);
    // A picture object with a new reference, or Nothing.
    Dispatch Button_GetImage(const Dispatch& control);
    std::string Button_GetLabel(const Dispatch& control);
    // The stamp for now and the tooltip text of its kind; always true.
    bool GetStamp(std::string& sStamp, std::string& sStampTooltip);

    // The COM object around this Connect, held while a click is handled.
    KeepAlive& keepAlive() noexcept { return m_keepAlive; }

    // The state, for those who look in.
    std::size_t wrapperCount() const { return m_colWrappers.size(); }
    // Zero-based, in order of insertion.
    const CInspectorWrapper& wrapper(std::size_t i) const { return *m_colWrappers.at(i); }
    bool initCompleted() const { return m_bInitCompleted; }
    std::int32_t stampKind() const { return m_lStampKind; }

  private:
    void m_oExplorers_NewExplorer(const Dispatch& Explorer);
    void m_oNewExplorer_Activate();
    void m_oInspectors_NewInspector(const Dispatch& Inspector);

    SelfProvider m_fnSelf;
    KeepAlive m_keepAlive;
    EventSource m_oExplorers;
    EventSource m_oNewExplorer;
    EventSource m_oInspectors;
    std::vector<std::shared_ptr<CInspectorWrapper>> m_colWrappers;
    bool m_bInitCompleted = false;
    IRibbonUI m_oRibbon;
    std::int32_t m_lStampKind = 0;
    std::int32_t m_lLastStampKind = 0;  // of the previous GetStamp
};

}  // namespace cq
