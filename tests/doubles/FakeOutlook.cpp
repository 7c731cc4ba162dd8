#include "tests/doubles/FakeOutlook.h"

#include <algorithm>

#include "common/HostError.h"
#include "common/host/CommandBars.h"
#include "outlook/OutlookObjects.h"

namespace cq::test {
namespace {

constexpr std::int32_t kInvalidArgument = -2147024809;  // E_INVALIDARG

// A one-based Item(i) and a Count over a list of windows.
void windowCollection(FakeObject& collection, std::vector<FakeObject*>& list) {
    collection.getter("Count", [&list](std::span<Variant>) {
        return Variant(static_cast<std::int32_t>(list.size()));
    });
    collection.readOnly("Count");
    collection.getter("Item", [&list](std::span<Variant> args) -> Variant {
        std::int32_t i = args.empty() ? 0 : args[0].toInt();
        if (i < 1 || i > static_cast<std::int32_t>(list.size()))
            throw HostError(kInvalidArgument, "Array index out of bounds");
        return Variant(list[static_cast<std::size_t>(i - 1)]->handle());
    });
}

void fireWith(FakeObject& source, std::string_view iid, std::string_view event, FakeObject* arg) {
    if (arg) {
        Variant args[] = {Variant(arg->handle())};
        source.fire(iid, event, args);
    } else {
        source.fire(iid, event, {});
    }
}

}  // namespace

const char* toString(OutlookItem item) {
    switch (item) {
        case OutlookItem::NewMail:
            return "new mail";
        case OutlookItem::SentMail:
            return "sent mail";
        case OutlookItem::Note:
            return "note";
        case OutlookItem::WordMail:
            return "Word-edited mail";
        case OutlookItem::Appointment:
            return "appointment";
        case OutlookItem::Contact:
            return "contact";
        case OutlookItem::Task:
            return "task";
        case OutlookItem::Journal:
            return "journal entry";
    }
    return "?";
}

FakeObject* FakeInspector::insertMenu() const {
    FakeObject* menu = menuBar();
    if (!menu) return nullptr;
    for (FakeObject* c : bars->controls(*menu))
        if (bars->property(*c, "Id").toInt() == 30005) return &bars->popupBar(*c);
    return nullptr;
}

std::string FakeOutlook::versionString(int version) {
    switch (version) {
        case 9:
            return "9.0.0.2711";
        case 10:
            return "10.0.0.2627";
        case 11:
            return "11.0.0.5608";
        case 12:
            return "12.0.4518.1014";
        default:
            return std::to_string(version) + ".0.0.0";
    }
}

FakeOutlook::FakeOutlook(FakeOffice& office, int version)
    : office(office),
      version(version),
      application(office.make("Application")),
      explorers(office.make("Explorers")),
      inspectors(office.make("Inspectors")),
      comAddIns(office.make("COMAddIns")),
      addIn(office.make("COMAddIn")),
      ribbonUI(office.make("IRibbonUI")) {
    application.set("Version", versionString(version)).readOnly("Version");
    application.set("Name", "Outlook").readOnly("Name");
    application.getter("ActiveExplorer", [this](std::span<Variant>) {
        return activeExplorer ? Variant(activeExplorer->handle()) : Variant();
    });
    application.setObject("Explorers", &explorers).readOnly("Explorers");
    application.setObject("Inspectors", &inspectors).readOnly("Inspectors");
    application.setObject("COMAddIns", &comAddIns).readOnly("COMAddIns");

    windowCollection(explorers, explorerList_);
    windowCollection(inspectors, inspectorList_);

    addIn.set("ProgId", "Chronoquill.Connect").readOnly("ProgId");
    addIn.set("Connect", true);
    addIn.setObject("Object", nullptr);
    comAddIns.set("Count", 1).readOnly("Count");
    comAddIns.getter("Item", [this](std::span<Variant> args) -> Variant {
        if (!args.empty() && args[0].isString() &&
            args[0].toString() == addIn.value("ProgId").toString())
            return Variant(addIn.handle());
        if (!args.empty() && args[0].isNumber() && args[0].toInt() == 1)
            return Variant(addIn.handle());
        throw HostError(kInvalidArgument, "Invalid argument");
    });

    ribbonUI.method("Invalidate", [this](std::span<Variant>) {
        invalidations.push_back("*");
        return Variant();
    });
    ribbonUI.method("InvalidateControl", [this](std::span<Variant> args) {
        if (args.empty()) throw HostError(449, "Argument not optional");
        invalidations.push_back(args[0].toString());
        return Variant();
    });
}

FakeObject& FakeOutlook::makeExplorer(ExplorerLayout layout) {
    FakeObject& e = office.make("Explorer");
    e.set("Caption", "Inbox - Microsoft Outlook");
    e.setObject("Application", &application).readOnly("Application");
    auto bars = std::make_unique<FakeCommandBars>(office, version >= 10);
    if (layout.menuBar) {
        // The built-in menu ids as Office numbers them (Insert is 30005).
        FakeObject& menu = bars->addBar("Menu Bar");
        bars->addPopup(menu, 30002, "&File");
        bars->addPopup(menu, 30004, "&View");
        bars->addPopup(menu, 30007, "&Tools");
        if (layout.helpMenu) {
            FakeObject& help = bars->addPopup(menu, 30010, "&Help");
            bars->addControl(bars->popupBar(help), msoControlButton, 1, "Microsoft Outlook &Help");
        }
    }
    e.setObject("CommandBars", &bars->object()).readOnly("CommandBars");
    if (version >= 15)
        e.setObject("ActiveInlineResponse", nullptr).readOnly("ActiveInlineResponse");
    explorerBars_.emplace_back(&e, std::move(bars));
    explorerList_.push_back(&e);
    lastExplorer = &e;
    return e;
}

FakeObject& FakeOutlook::addExplorer(ExplorerLayout layout) {
    FakeObject& e = makeExplorer(layout);
    activeExplorer = &e;
    return e;
}

FakeObject& FakeOutlook::newExplorer(ExplorerLayout layout) {
    FakeObject& e = makeExplorer(layout);
    fireWith(explorers, ol::kExplorersEvents, "NewExplorer", &e);
    return e;
}

FakeObject& FakeOutlook::openExplorer(ExplorerLayout layout) {
    FakeObject& e = newExplorer(layout);
    activate(e);
    return e;
}

void FakeOutlook::activate(FakeObject& explorer) {
    activeExplorer = &explorer;
    fireWith(explorer, ol::kExplorerEvents, "Activate", nullptr);
}

void FakeOutlook::closeExplorer(FakeObject& explorer) {
    auto it = std::find(explorerList_.begin(), explorerList_.end(), &explorer);
    if (it == explorerList_.end()) return;
    fireWith(explorer, ol::kExplorerEvents, "Close", nullptr);
    explorerList_.erase(std::find(explorerList_.begin(), explorerList_.end(), &explorer));
    if (activeExplorer == &explorer)
        activeExplorer = explorerList_.empty() ? nullptr : explorerList_.back();
}

FakeObject& FakeOutlook::openInlineResponse(FakeObject& explorer, const std::string& subject) {
    FakeObject& reply = makeItem(OutlookItem::NewMail);
    reply.set("Subject", subject);
    explorer.setObject("ActiveInlineResponse", &reply);
    return reply;
}

void FakeOutlook::closeInlineResponse(FakeObject& explorer) {
    explorer.setObject("ActiveInlineResponse", nullptr);
}

FakeCommandBars& FakeOutlook::explorerBars(const FakeObject& explorer) const {
    for (const auto& [e, bars] : explorerBars_)
        if (e == &explorer) return *bars;
    throw HostError(5, "not an explorer of this Outlook");
}

FakeObject& FakeOutlook::makeItem(OutlookItem kind) {
    auto item = [this](const char* type, std::int32_t cls) -> FakeObject& {
        FakeObject& o = office.make(type);
        o.set("Class", cls).readOnly("Class").set("Subject", "");
        return o;
    };
    switch (kind) {
        case OutlookItem::NewMail:
        case OutlookItem::WordMail:
            return item("MailItem", ol::olMail).set("Sent", false).readOnly("Sent");
        case OutlookItem::SentMail:
            return item("MailItem", ol::olMail).set("Sent", true).readOnly("Sent");
        case OutlookItem::Note:
            return item("NoteItem", ol::olNote);
        case OutlookItem::Appointment:
            return item("AppointmentItem", ol::olAppointment);
        case OutlookItem::Contact:
            return item("ContactItem", ol::olContact);
        case OutlookItem::Task:
            return item("TaskItem", ol::olTask);
        case OutlookItem::Journal:
            return item("JournalItem", ol::olJournal);
    }
    throw HostError(5, "unknown item kind");
}

FakeInspector& FakeOutlook::openInspector(OutlookItem kind, InspectorLayout layout) {
    auto window = std::make_unique<FakeInspector>();
    FakeInspector& w = *window;
    all_.push_back(std::move(window));

    w.item = &makeItem(kind);
    w.bars = std::make_unique<FakeCommandBars>(office, version >= 10);
    FakeCommandBars& bars = *w.bars;
    if (layout.standardBar) {
        FakeObject& standard = bars.addBar("Standard");
        bars.addControl(standard, msoControlButton, 2617, "&Send");
        bars.addControl(standard, msoControlButton, 1079, "Insert File");
        if (layout.marker) {
            FakeObject& marker = bars.addControl(standard, msoControlButton, 1, "");
            bars.setProperty(marker, "Visible", false);
            bars.setProperty(marker, "Tag", "Quintor.Inkwell.Button");
        }
    }
    if (layout.menuBar) {
        FakeObject& menu = bars.addBar("Menu Bar");
        bars.addPopup(menu, 30002, "&File");
        if (layout.insertMenu) {
            FakeObject& insert = bars.addPopup(menu, 30005, "&Insert");
            bars.addControl(bars.popupBar(insert), msoControlButton, 1079, "&File...");
        }
        bars.addPopup(menu, 30007, "&Tools");
    }

    FakeObject& inspector = office.make("Inspector");
    w.object = &inspector;
    inspector.setObject("CurrentItem", w.item).readOnly("CurrentItem");
    std::int32_t editor = kind == OutlookItem::WordMail ? ol::olEditorWord
                          : kind == OutlookItem::NewMail || kind == OutlookItem::SentMail
                              ? ol::olEditorHTML
                              : ol::olEditorRTF;
    inspector.set("EditorType", editor).readOnly("EditorType");
    inspector.setObject("CommandBars", &bars.object()).readOnly("CommandBars");
    inspector.set("Caption", std::string("Untitled - ") + toString(kind));

    w.open = true;
    inspectorList_.push_back(&inspector);
    fireWith(inspectors, ol::kInspectorsEvents, "NewInspector", &inspector);
    return w;
}

void FakeOutlook::closeInspector(FakeInspector& w) {
    if (!w.open) return;
    fireWith(*w.object, ol::kInspectorEvents, "Close", nullptr);
    w.open = false;
    inspectorList_.erase(std::remove(inspectorList_.begin(), inspectorList_.end(), w.object),
                         inspectorList_.end());
}

FakeObject& FakeOutlook::ribbonControl(const std::string& id) {
    FakeObject& c = office.make("IRibbonControl");
    c.set("Id", id).readOnly("Id").set("Tag", "").readOnly("Tag");
    c.setObject("Context", nullptr);
    return c;
}

}  // namespace cq::test
