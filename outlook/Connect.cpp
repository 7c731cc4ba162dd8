#include "outlook/Connect.h"

#include "common/Clock.h"
#include "common/Guard.h"
#include "common/Module.h"
#include "common/Port.h"
#include "outlook/CLibQuintor.h"
#include "outlook/Log.h"
#include "outlook/OutlookObjects.h"
#include "outlook/PendingError.h"
#include "outlook/mDatestamp.h"
#include "outlook/mMain.h"

namespace cq {
namespace {

// The add-in's own values in the support library's start-up record.
constexpr std::int32_t kProductId = 66;

void SetFixedInitInfo(LibQuintorInitInfo& info) {
    info.lProductId = kProductId;
    const ModuleVersion v = Port<Module>::get().version();
    info.lVersionMajor = v.major;
    info.lVersionMinor = v.minor;
    info.lVersionBuild = v.build;
}

// The first argument of an event, as an object.
Dispatch firstObject(std::span<Variant> args) {
    return args.empty() ? Dispatch() : args[0].toObject();
}

}  // namespace

Connect::Connect(SelfProvider self)
    : m_fnSelf(std::move(self)),
      m_oExplorers(ol::kExplorersEvents,
                   [this](std::string_view event, std::span<Variant> args) {
                       if (event == "NewExplorer") {
                           Dispatch oExplorer;
                           if (guard([&] { oExplorer = firstObject(args); }))
                               m_oExplorers_NewExplorer(oExplorer);
                       }
                   }),
      m_oNewExplorer(ol::kExplorerEvents,
                     [this](std::string_view event, std::span<Variant>) {
                         if (event == "Activate") m_oNewExplorer_Activate();
                     }),
      m_oInspectors(ol::kInspectorsEvents, [this](std::string_view event, std::span<Variant> args) {
          if (event == "NewInspector") {
              Dispatch oInspector;
              if (guard([&] { oInspector = firstObject(args); }))
                  m_oInspectors_NewInspector(oInspector);
          }
      }) {}

Connect::~Connect() = default;

void Connect::IDTExtensibility2_OnConnection(const Dispatch& Application, std::int32_t,
                                             const Dispatch&, std::span<Variant>) {
    g_oOutlook = Application;

    LibQuintorInitInfo info;
    Dispatch oHost;  // the record's reference to the host, released with the record
    guard([&] { g_oLib.GetDefaultInitInfo(info); });
    guard([&] {
        oHost = g_oOutlook;
        info.oHost = oHost.rawInterface();
    });
    guard([&] { SetFixedInitInfo(info); });

    bool bStarted = false;
    guard([&] { bStarted = g_oLib.InitEx(Port<Module>::get().instance(), info) == 0; });
    info.oHost = nullptr;
    oHost.reset();

    if (!bStarted) {
        g_oOutlook.reset();
        return;
    }

    guard([&] {
        Dispatch oSelf = m_fnSelf ? m_fnSelf() : Dispatch();
        ol::Application(g_oOutlook)
            .COMAddIns()
            .Item(std::string(kOutlookAddInProgId))
            .SetObject(oSelf);
    });
}

void Connect::IDTExtensibility2_OnStartupComplete(std::span<Variant>) {
    if (!g_oOutlook) return;

    guard([&] {
        Dispatch oExplorer = ol::Application(g_oOutlook).ActiveExplorer();
        if (!oExplorer) {
            m_bInitCompleted = false;
        } else {
            guard([&] { g_oLib.AddAboutMenu(oExplorer); });
            guard([&] { g_oLib.InitComplete(); });
            m_bInitCompleted = true;
        }
    });

    if (GetOutlookVersion() >= 12)
        guard([&] { GetDatestamp(Port<Clock>::get().now(), m_lStampKind); });

    guard([&] { m_oExplorers.set(ol::Application(g_oOutlook).Explorers()); });
    guard([&] { m_oInspectors.set(ol::Application(g_oOutlook).Inspectors()); });
}

void Connect::IDTExtensibility2_OnBeginShutdown(std::span<Variant>) {}

void Connect::IDTExtensibility2_OnAddInsUpdate(std::span<Variant>) {}

void Connect::IDTExtensibility2_OnDisconnection(std::int32_t, std::span<Variant>) {
    // The ribbon is only ever set on Outlook 2007 and later; it is let go
    // whatever the version reads now, so that nothing outlives the connection.
    m_oRibbon.reset();
    for (auto& oWrapper : m_colWrappers) oWrapper->Done();
    m_colWrappers.clear();
    m_oInspectors.reset();
    m_oNewExplorer.reset();
    m_oExplorers.reset();
    g_oOutlook.reset();
}

void Connect::m_oExplorers_NewExplorer(const Dispatch& Explorer) {
    guard([&] { m_oNewExplorer.set(Explorer); });
}

void Connect::m_oNewExplorer_Activate() {
    guard([&] { g_oLib.AddAboutMenu(m_oNewExplorer.object()); });
    if (!m_bInitCompleted) {
        guard([&] { g_oLib.InitComplete(); });
        m_bInitCompleted = true;
    }
    m_oNewExplorer.reset();
}

void Connect::m_oInspectors_NewInspector(const Dispatch& Inspector) {
    try {
        if (GetOutlookVersion() >= 12) return;

        for (std::size_t i = m_colWrappers.size(); i >= 1; --i) {
            if (!m_colWrappers[i - 1]->GetInspector()) {
                m_colWrappers[i - 1]->Done();
                m_colWrappers.erase(m_colWrappers.begin() + static_cast<std::ptrdiff_t>(i - 1));
            }
        }

        const ol::Inspector oInspector(Inspector);
        bool bWrap = true;
        {
            Dispatch oItem = oInspector.CurrentItem();
            const std::int32_t lClass = oItem.get("Class").toInt();
            if (lClass == ol::olNote) {
                bWrap = false;
            } else if (lClass == ol::olMail) {
                bWrap = !oItem.get("Sent").toBool();
            }
        }
        if (bWrap && oInspector.EditorType() == ol::olEditorWord) bWrap = false;

        if (bWrap) {
            auto oWrapper = std::make_shared<CInspectorWrapper>();
            if (oWrapper->Init(Inspector)) m_colWrappers.push_back(std::move(oWrapper));
        }
    } catch (...) {
        errLogPending("Connect::m_oInspectors_NewInspector");
    }
}

bool Connect::GetStamp(std::string& sStamp, std::string& sStampTooltip) {
    std::int32_t lKind = 0;
    guard([&] { sStamp = GetDatestamp(Port<Clock>::get().now(), lKind); });
    guard([&] { sStampTooltip = GetStampTooltip(lKind); });
    if (lKind != m_lLastStampKind) {
        SaveTooltip(sStampTooltip);
        m_lLastStampKind = lKind;
    }
    return true;
}

}  // namespace cq
