#include "tests/e2e/OutlookHost.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdio>

#include "common/HostError.h"
#include "common/win32/ComError.h"
#include "common/win32/ComVariant.h"
#include "common/win32/Text.h"
#include "outlook/OutlookObjects.h"
#include "tests/e2e/CallByName.h"
#include "tests/e2e/CallTrap.h"
#include "tests/e2e/ControlListing.h"
#include "tests/e2e/HostOutput.h"
#include "tests/e2e/PictureDrawing.h"
#include "tests/e2e/RibbonExtensibility.h"

namespace cq::test::e2e {
namespace {

constexpr int kTitleHeight = 24;
constexpr int kRibbonHeight = 24 + 96;
constexpr int kReplyHeaderHeight = 28;  // over an inline reply: To and Subject
constexpr const char* kStampAddIn = "Chronoquill.Connect";
constexpr const char* kExplorerRibbonId = "Microsoft.Outlook.Explorer";
// The message in the explorer's reading pane, to which a reply is written inline.
constexpr const char* kReadSubject = "Welcome to Outlook";
constexpr const char* kReadMessage =
    "From: Microsoft Outlook\r\nSubject: Welcome to Outlook\r\n\r\n"
    "Replies and forwards are written right here, in the reading pane.";

struct KindName {
    const char* name;
    OutlookItem kind;
};
constexpr KindName kKinds[] = {
    {"mail", OutlookItem::NewMail},
    {"sent-mail", OutlookItem::SentMail},
    {"note", OutlookItem::Note},
    {"word-mail", OutlookItem::WordMail},
    {"appointment", OutlookItem::Appointment},
    {"contact", OutlookItem::Contact},
    {"task", OutlookItem::Task},
    {"journal", OutlookItem::Journal},
};

OutlookItem kindNamed(const std::string& name) {
    for (const KindName& k : kKinds)
        if (name == k.name) return k.kind;
    throw HostError(5, "no such item kind: " + name);
}

const char* kindName(OutlookItem kind) {
    for (const KindName& k : kKinds)
        if (k.kind == kind) return k.name;
    return "?";
}

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// The caption Outlook 2007 gives a built-in tab.
std::string tabCaption(const std::string& idMso) {
    static const std::pair<const char*, const char*> names[] = {
        {"TabNewMailMessage", "Message"},
        {"TabAppointment", "Appointment"},
        {"TabContact", "Contact"},
        {"TabJournal", "Journal Entry"},
        {"TabTask", "Task"},
        {"TabDistributionList", "Distribution List"},
    };
    for (const auto& [id, caption] : names)
        if (idMso == id) return caption;
    return idMso;
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace

std::string ribbonIdOf(OutlookItem kind) {
    switch (kind) {
        case OutlookItem::NewMail:
        case OutlookItem::WordMail:
            return "Microsoft.Outlook.Mail.Compose";
        case OutlookItem::SentMail:
            return "Microsoft.Outlook.Mail.Read";
        case OutlookItem::Note:
            return "";
        case OutlookItem::Appointment:
            return "Microsoft.Outlook.Appointment";
        case OutlookItem::Contact:
            return "Microsoft.Outlook.Contact";
        case OutlookItem::Task:
            return "Microsoft.Outlook.Task";
        case OutlookItem::Journal:
            return "Microsoft.Outlook.Journal";
    }
    return "";
}

// Sees every new item window before the add-ins do (it subscribes first), so
// that the window's bars keep the pictures the add-ins give their buttons.
class OutlookHost::InspectorWatch final : public EventSink {
  public:
    explicit InspectorWatch(OutlookHost& host) : host_(host) {
        subscription_.reset(host.outlook_.inspectors.advise(ol::kInspectorsEvents, *this));
    }
    void onEvent(std::string_view name, std::span<Variant>) override {
        if (name != "NewInspector" || host_.opening_ == nullptr) return;
        ItemWindow& w = *host_.opening_;
        w.inspector = host_.outlook_.allInspectors().back().get();
        w.faces = std::make_unique<ButtonFaces>(*w.inspector->bars, host_.outlook_.version >= 10,
                                                [this, &w] { host_.relayout(w); });
    }
    void end() { subscription_.reset(); }

  private:
    OutlookHost& host_;
    std::unique_ptr<Subscription> subscription_;
};

OutlookHost::OutlookHost(HostOptions options)
    : ScriptedHost(std::move(options)), outlook_(office_, this->options().version) {}

OutlookHost::~OutlookHost() { stop(); }

void OutlookHost::start() {
    say("outlook " + FakeOutlook::versionString(outlook_.version));
    openExplorer();
    watch_ = std::make_unique<InspectorWatch>(*this);

    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"Outlook.Application", &clsid);
    if (FAILED(hr)) {
        say("running-object table: Outlook.Application is not a registered class " + hex(hr));
    } else {
        IDispatch* application = export_.exportObject(outlook_.application);
        hr = RegisterActiveObject(application, clsid, ACTIVEOBJECT_STRONG, &rotCookie_);
        application->Release();
        if (FAILED(hr)) {
            rotCookie_ = 0;
            say("running-object table: RegisterActiveObject failed " + hex(hr));
        } else {
            say("running-object table: registered as Outlook.Application");
        }
    }

    addIns_.connect("Outlook", outlook_.application.handle(), [this](const std::string& progId) {
        if (progId == kStampAddIn) return outlook_.addIn.handle();
        FakeObject& other = office_.make("COMAddIn");
        other.set("ProgId", progId).readOnly("ProgId").set("Connect", true);
        other.setObject("Object", nullptr);
        return other.handle();
    });
    // Outlook 2010 and later ask for the explorer's ribbon at start-up.
    if (outlook_.version >= 14)
        explorer_.groups = loadGroups(kExplorerRibbonId, explorer_.explorer);
    addIns_.startupComplete();
    started_ = true;
}

void OutlookHost::stop() {
    if (!started_) return;
    started_ = false;
    // Outlook closes its windows first, then lets the add-ins go.
    for (auto& w : windows_)
        if (w->open) closeWindow(w->number);
    if (explorer_.reply) closeInline();
    closeExplorer();
    addIns_.shutdown();
    for (auto& w : windows_) {
        for (RibbonGroup& g : w->groups)
            for (RibbonButton& b : g.buttons) b.image.reset();
        if (w->faces) w->faces->clear();
    }
    for (RibbonGroup& g : explorer_.groups)
        for (RibbonButton& b : g.buttons) b.image.reset();
    if (explorer_.faces) explorer_.faces->clear();
    if (rotCookie_ != 0) {
        RevokeActiveObject(rotCookie_, nullptr);
        rotCookie_ = 0;
    }
    if (watch_) watch_->end();
    outlook_.addIn.set("Object", Variant());
    CoFreeUnusedLibraries();
    pumpMessages(50);
    printReferences();
}

void OutlookHost::printReferences() {
    say("host references: " + std::to_string(office_.liveReferences()) + " (exported objects " +
        std::to_string(ComExport::live()) + ")");
    if (office_.liveReferences() != 0) say("referenced: " + office_.referenced());
}

OutlookHost::ItemWindow& OutlookHost::window(int number) {
    if (number == 0) {
        if (active_ == nullptr) throw HostError(5, "no window is open");
        return *active_;
    }
    for (auto& w : windows_)
        if (w->number == number) return *w;
    throw HostError(5, "no window " + std::to_string(number));
}

HostWindow* OutlookHost::activeWindow() {
    if (explorerInFront_ || explorerActive_) return explorer_.view.get();
    return active_ ? active_->view.get() : nullptr;
}

void OutlookHost::openExplorer() {
    FakeObject& explorer = outlook_.addExplorer();
    explorer_.explorer = &explorer;
    FakeCommandBars& bars = outlook_.explorerBars(explorer);
    explorer_.bars.title = explorer.value("Caption").toString();
    explorer_.bars.openMenu = "";
    explorer_.faces = std::make_unique<ButtonFaces>(bars, outlook_.version >= 10, [this] {
        if (explorer_.view)
            explorer_.view->setStripHeight(
                commandBarsHeight(outlook_.explorerBars(*explorer_.explorer), explorer_.bars));
    });
    if (explorerRibbon()) {
        explorer_.view = std::make_unique<HostWindow>(
            explorer_.bars.title, kTitleHeight + kRibbonHeight,
            HostWindow::Handlers{[this](HDC dc, const RECT& area) { paintExplorerStrip(dc, area); },
                                 [] {}});
        explorer_.view->setText(kReadMessage);
    } else {
        explorer_.view = std::make_unique<HostWindow>(
            explorer_.bars.title, commandBarsHeight(bars, explorer_.bars),
            HostWindow::Handlers{[this, &bars](HDC dc, const RECT& area) {
                                     paintCommandBars(dc, area, bars, *explorer_.faces,
                                                      explorer_.bars);
                                 },
                                 [] {}});
    }
    explorer_.view->activate();
}

void OutlookHost::closeExplorer() {
    if (!explorer_.explorer || !explorer_.view) return;
    outlook_.closeExplorer(*explorer_.explorer);  // Explorer.Close
    explorer_.view.reset();
    say("explorer: closed");
}

void OutlookHost::activateWindow(int number) {
    ItemWindow& w = window(number);
    if (!w.open) throw HostError(5, "window " + std::to_string(number) + " is closed");
    active_ = &w;
    explorerActive_ = false;
    w.view->activate();
    say("window " + std::to_string(w.number) + ": active");
}

void OutlookHost::closeWindow(int number) {
    ItemWindow& w = window(number);
    if (!w.open || !w.view)
        throw HostError(5, "window " + std::to_string(w.number) + " is closed already");
    // As the user closes it: the window gets WM_CLOSE.
    w.view->requestClose();
}

void OutlookHost::endWindow(ItemWindow& w) {
    outlook_.closeInspector(*w.inspector);  // Inspector.Close
    w.open = false;
    w.view.reset();
    say("window " + std::to_string(w.number) + ": closed");
    if (active_ == &w) {
        active_ = nullptr;
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if ((*it)->open) {
                active_ = it->get();
                active_->view->activate();
                break;
            }
    }
}

void OutlookHost::setHover(const std::string& name) {
    if (explorerActive_) {
        explorer_.bars.hover = name;
        explorer_.view->invalidate();
        return;
    }
    if (!active_) return;
    active_->bars.hover = name;
    relayout(*active_);
}

void OutlookHost::setOpenMenu(const std::string& caption) {
    if (!active_) return;
    active_->bars.openMenu = caption;
    relayout(*active_);
}

int OutlookHost::stripHeight(const ItemWindow& w) const {
    if (outlook_.version >= 12) return kTitleHeight + kRibbonHeight;
    return commandBarsHeight(*w.inspector->bars, w.bars);
}

void OutlookHost::relayout(ItemWindow& w) {
    if (!w.view) return;
    w.view->setStripHeight(stripHeight(w));
}

void OutlookHost::paintStrip(ItemWindow& w, HDC dc, const RECT& area) {
    if (outlook_.version >= 12) {
        const int top = paintTitle(dc, area, w.title);
        RibbonView view;
        view.selected = w.groups.empty() ? "Message" : tabCaption(w.groups.front().tab);
        view.tabs = {view.selected, "Insert", "Options", "Format Text"};
        view.officeGroups = {"Clipboard", "Basic Text", "Names", "Include"};
        for (const RibbonGroup& g : w.groups) view.groups.push_back(&g);
        view.hover = w.bars.hover;
        paintRibbon(dc, area, area.top + top, view);
        return;
    }
    if (w.faces) paintCommandBars(dc, area, *w.inspector->bars, *w.faces, w.bars);
}

void OutlookHost::openWindow(OutlookItem kind) {
    auto owned = std::make_unique<ItemWindow>();
    ItemWindow& w = *owned;
    w.number = static_cast<int>(windows_.size()) + 1;
    w.kind = kind;
    windows_.push_back(std::move(owned));

    opening_ = &w;
    outlook_.openInspector(kind);
    opening_ = nullptr;
    if (!w.inspector) throw HostError(5, "the window was not opened");
    w.title = w.inspector->object->value("Caption").toString() + " - Microsoft Outlook";
    w.bars.title = w.title;
    try {
        w.view = std::make_unique<HostWindow>(
            w.title, stripHeight(w),
            HostWindow::Handlers{[this, &w](HDC dc, const RECT& area) { paintStrip(w, dc, area); },
                                 [this, &w] { endWindow(w); }});
    } catch (...) {
        // No window on the screen: the inspector closes again at once, and the
        // item counts as closed (nothing may reach for its view later).
        outlook_.closeInspector(*w.inspector);
        throw;
    }
    w.open = true;
    active_ = &w;
    explorerActive_ = false;
    say("window " + std::to_string(w.number) + ": " + kindName(kind) + " opened");
    if (outlook_.version >= 12) loadRibbon(w);
    relayout(w);
    w.view->activate();
}

void OutlookHost::click(FakeObject* control, const std::string& what, ItemWindow& w) {
    if (control == nullptr) throw HostError(5, "no visible control " + quoted(what));
    bool cancelled = false;
    userAction([&] { cancelled = w.inspector->bars->click(*control); });
    say("clicked " + quoted(what) + (cancelled ? " (default cancelled)" : ""));
}

bool OutlookHost::handle(const Command& c) {
    if (c.name == "new" || c.name == "new-mail") {
        openWindow(kindNamed(c.name == "new-mail" ? "mail" : c.arg(0)));
    } else if (c.name == "controls") {
        ItemWindow& w = window(c.args.empty() ? 0 : std::stoi(c.arg(0)));
        say("controls of window " + std::to_string(w.number));
        printControls(*w.inspector->bars, *w.faces);
    } else if (c.name == "deleted-controls") {
        ItemWindow& w = window(c.args.empty() ? 0 : std::stoi(c.arg(0)));
        printDeletedControls(*w.inspector->bars);
    } else if (c.name == "click-button") {
        ItemWindow& w = window(0);
        click(findButton(*w.inspector->bars, c.rest(0)), c.rest(0), w);
    } else if (c.name == "click-menu") {
        ItemWindow& w = window(0);
        click(findMenuItem(*w.inspector->bars, c.arg(0), c.rest(1)), c.arg(0) + "/" + c.rest(1), w);
    } else if (c.name == "explorer-controls") {
        if (!explorer_.view) throw HostError(5, "the explorer is closed");
        say("controls of explorer");
        printControls(outlook_.explorerBars(*explorer_.explorer), *explorer_.faces);
    } else if (c.name == "click-explorer-menu") {
        if (!explorer_.view) throw HostError(5, "the explorer is closed");
        FakeCommandBars& bars = outlook_.explorerBars(*explorer_.explorer);
        const std::string what = c.arg(0) + "/" + c.rest(1);
        FakeObject* item = findMenuItem(bars, c.arg(0), c.rest(1));
        if (item == nullptr) throw HostError(5, "no visible control " + quoted(what));
        bool cancelled = false;
        explorerInFront_ = true;
        try {
            userAction([&] { cancelled = bars.click(*item); });
        } catch (...) {
            explorerInFront_ = false;
            throw;
        }
        explorerInFront_ = false;
        say("clicked " + quoted(what) + (cancelled ? " (default cancelled)" : ""));
    } else if (c.name == "custom-ui") {
        bool any = false;
        for (LoadedAddIn& addIn : addIns_.all()) {
            win32::ComPtr<IRibbonExtensibility> ribbon;
            if (FAILED(addIn.extensibility->QueryInterface(IID_IRibbonExtensibility,
                                                           ribbon.putVoid())))
                continue;
            any = true;
            const std::string markup = getCustomUI(addIn, c.arg(0));
            say("custom-ui " + addIn.progId + " " + c.arg(0) + ": " +
                std::to_string(markup.size()) + " characters");
            if (c.args.size() > 1) {
                HANDLE file = CreateFileW(win32::toWide(c.arg(1)).c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
                if (file == INVALID_HANDLE_VALUE) throw HostError(5, "cannot write " + c.arg(1));
                DWORD written = 0;
                WriteFile(file, markup.data(), static_cast<DWORD>(markup.size()), &written,
                          nullptr);
                CloseHandle(file);
            }
        }
        if (!any) say("custom-ui: no add-in has a ribbon");
    } else if (c.name == "ribbon") {
        if (!c.args.empty() && c.arg(0) == "explorer")
            printExplorerRibbon();
        else
            printRibbon(window(c.args.empty() ? 0 : std::stoi(c.arg(0))));
    } else if (c.name == "ribbon-click") {
        std::vector<RibbonGroup*> groups;
        if (explorerActive_) {
            groups = shownExplorerGroups();
        } else {
            for (RibbonGroup& g : window(0).groups) groups.push_back(&g);
        }
        ribbonClick(groups, c.args.empty() ? "" : c.arg(0));
    } else if (c.name == "reply-inline") {
        replyInline();
    } else if (c.name == "close-inline") {
        closeInline();
    } else if (c.name == "com-add-ins") {
        Variant object = outlook_.addIn.value("Object");
        say(std::string("com-add-in ") + kStampAddIn + ": object " +
            (object.isObject() && object.toObject() ? "set" : "not set"));
    } else if (c.name == "die-on-get-stamp") {
        LoadedAddIn* stampAddIn = nullptr;
        for (LoadedAddIn& addIn : addIns_.all())
            if (addIn.progId == kStampAddIn && addIn.object) stampAddIn = &addIn;
        if (!stampAddIn)
            throw HostError(91, "the add-in " + std::string(kStampAddIn) + " is not loaded");
        if (!armCallTrap(stampAddIn->object.get(),
                         [] { say("dying in a call from another process"); }))
            throw HostError(5, "CoRegisterMessageFilter failed");
        say("die-on-get-stamp: armed");
    } else if (c.name == "get-stamp") {
        Variant object = outlook_.addIn.value("Object");
        Dispatch addIn = object.isObject() ? object.toObject() : Dispatch();
        if (!addIn) throw HostError(91, "the COM add-in has no object");
        Variant stamp = std::string(), tooltip = std::string();
        Variant args[] = {Variant::ref(stamp), Variant::ref(tooltip)};
        Variant result = addIn.invoke("GetStamp", CallKind::Method, args);
        say("get-stamp: " + std::string(result.toBool() ? "true" : "false") +
            " stamp=" + quoted(stamp.toString()) + " tooltip=" + quoted(tooltip.toString()));
    } else {
        return false;
    }
    return true;
}

// Outlook 2007 -------------------------------------------------------------

std::string OutlookHost::getCustomUI(LoadedAddIn& addIn, const std::string& ribbonId) {
    win32::ComPtr<IRibbonExtensibility> ribbon;
    HRESULT hr = addIn.extensibility->QueryInterface(IID_IRibbonExtensibility, ribbon.putVoid());
    if (FAILED(hr) || !ribbon) throw win32::comError(hr);
    BSTR id = SysAllocString(win32::toWide(ribbonId).c_str());
    BSTR xml = nullptr;
    hr = ribbon->GetCustomUI(id, &xml);
    SysFreeString(id);
    std::string markup = xml ? win32::fromWide(std::wstring_view(xml, SysStringLen(xml))) : "";
    SysFreeString(xml);
    if (FAILED(hr)) throw win32::comError(hr);
    return markup;
}

const OutlookHost::LoadedRibbon* OutlookHost::ribbonFor(LoadedAddIn& addIn,
                                                        const std::string& ribbonId) {
    for (const LoadedRibbon& r : ribbons_)
        if (r.progId == addIn.progId && r.ribbonId == ribbonId) return &r;
    // The first window of a type: ask for its markup, then load it (onLoad).
    win32::ComPtr<IRibbonExtensibility> ribbon;
    if (FAILED(addIn.extensibility->QueryInterface(IID_IRibbonExtensibility, ribbon.putVoid())))
        return nullptr;
    LoadedRibbon loaded{addIn.progId, ribbonId, getCustomUI(addIn, ribbonId), {}};
    say("ribbon " + ribbonId + ": " + addIn.progId + " gave " +
        std::to_string(loaded.markup.size()) + " characters of markup");
    if (!loaded.markup.empty()) {
        loaded.ui = readCustomUi(loaded.markup);
        if (!loaded.ui.onLoad.empty()) {
            Variant args[] = {Variant(outlook_.ribbonUI.handle())};
            callByName(addIn.object.get(), loaded.ui.onLoad, args);
            say("ribbon " + ribbonId + ": " + loaded.ui.onLoad + " called");
        }
    }
    ribbons_.push_back(std::move(loaded));
    return &ribbons_.back();
}

std::vector<OutlookHost::RibbonGroup> OutlookHost::loadGroups(const std::string& ribbonId,
                                                              FakeObject* context) {
    std::vector<RibbonGroup> groups;
    for (LoadedAddIn& addIn : addIns_.all()) {
        const LoadedRibbon* loaded = ribbonFor(addIn, ribbonId);
        if (!loaded || loaded->markup.empty()) continue;
        RibbonGroup group;
        group.addIn = &addIn;
        group.tabSet = loaded->ui.tabSet;
        group.tab = loaded->ui.tab;
        group.label = loaded->ui.groupLabel;
        for (const RibbonButtonMarkup& m : loaded->ui.buttons) {
            RibbonButton b;
            b.markup = m;
            b.control = &outlook_.ribbonControl(m.id);
            b.control->setObject("Context", context);
            group.buttons.push_back(std::move(b));
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

void OutlookHost::loadRibbon(ItemWindow& w) {
    w.ribbonId = ribbonIdOf(w.kind);
    if (w.ribbonId.empty()) return;
    w.groups = loadGroups(w.ribbonId, w.inspector->object);
    for (RibbonGroup& g : w.groups)
        for (RibbonButton& b : g.buttons) queryButton(g, b);
}

void OutlookHost::ribbonClick(std::vector<RibbonGroup*> groups, const std::string& id) {
    RibbonButton* target = nullptr;
    RibbonGroup* group = nullptr;
    for (RibbonGroup* g : groups)
        for (RibbonButton& b : g->buttons)
            if (!target && (id.empty() || b.markup.id == id)) {
                target = &b;
                group = g;
            }
    if (!target) throw HostError(5, "no ribbon button " + quoted(id));
    if (target->markup.onAction.empty()) throw HostError(5, "the button has no onAction");
    userAction([&] {
        Variant args[] = {Variant(target->control->handle())};
        callByName(group->addIn->object.get(), target->markup.onAction, args);
    });
    say("ribbon-click " + target->markup.id);
    refreshInvalidated();
}

void OutlookHost::queryButton(RibbonGroup& group, RibbonButton& b) {
    IDispatch* object = group.addIn->object.get();
    auto get = [&](const std::string& callback) {
        Variant args[] = {Variant(b.control->handle())};
        return callByName(object, callback, args);
    };
    b.label = b.markup.getLabel.empty() ? b.markup.label : get(b.markup.getLabel).toString();
    if (!b.markup.getScreentip.empty()) b.screentip = get(b.markup.getScreentip).toString();
    if (!b.markup.getImage.empty()) {
        Variant image = get(b.markup.getImage);
        b.image = image.isObject() ? image.toObject() : Dispatch();
    }
}

void OutlookHost::refreshInvalidated() {
    if (outlook_.invalidations.size() == invalidationsSeen_) return;
    std::string ids;
    for (std::size_t i = invalidationsSeen_; i < outlook_.invalidations.size(); ++i)
        ids += (ids.empty() ? "" : " ") + outlook_.invalidations[i];
    std::vector<std::string> invalidated(
        outlook_.invalidations.begin() + static_cast<std::ptrdiff_t>(invalidationsSeen_),
        outlook_.invalidations.end());
    invalidationsSeen_ = outlook_.invalidations.size();
    say("ribbon invalidated: " + ids);
    // Outlook asks the invalidated controls' callbacks again (those it has shown).
    auto requery = [&](std::vector<RibbonGroup>& groups) {
        for (RibbonGroup& g : groups)
            for (RibbonButton& b : g.buttons)
                if (std::find(invalidated.begin(), invalidated.end(), "*") != invalidated.end() ||
                    std::find(invalidated.begin(), invalidated.end(), b.markup.id) !=
                        invalidated.end())
                    queryButton(g, b);
    };
    for (auto& w : windows_) {
        if (!w->open) continue;
        requery(w->groups);
        w->view->invalidate();
    }
    if (explorer_.groupsShown && explorer_.view) {
        requery(explorer_.groups);
        explorer_.view->invalidate();
    }
}

void OutlookHost::printRibbon(const ItemWindow& w) {
    if (w.groups.empty()) say("ribbon of window " + std::to_string(w.number) + ": none");
    for (const RibbonGroup& g : w.groups)
        for (const RibbonButton& b : g.buttons)
            say("ribbon of window " + std::to_string(w.number) + ": tab=" + g.tab +
                " group=" + quoted(g.label) + " button=" + b.markup.id + " size=" + b.markup.size +
                " label=" + quoted(b.label) + " screentip=" + quoted(b.screentip) +
                " image=" + pictureSize(b.image));
}

void OutlookHost::paintRibbon(HDC dc, const RECT& area, int top, const RibbonView& view) {
    // The tab row, the selected tab under the caption of its contextual tab set.
    int x = area.left + 8;
    for (const std::string& tab : view.tabs) {
        const bool selected = tab == view.selected;
        int width = textWidth(dc, tab) + 20;
        if (selected && !view.tabSetCaption.empty()) {
            width = std::max(width, textWidth(dc, view.tabSetCaption) + 16);
            RECT caption = {x, top - kTitleHeight + 4, x + width, top + 3};
            fill(dc, caption, RGB(255, 226, 140));
            drawText(dc, x + 8, caption.top + 3, view.tabSetCaption, RGB(90, 60, 0));
        }
        if (selected) {
            RECT r = {x, top + 3, x + width, top + 24};
            fill(dc, r, RGB(250, 251, 253));
            FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        }
        drawText(dc, x + 10, top + 6, tab, RGB(21, 66, 139), selected);
        x += width + 2;
    }
    RECT body = {area.left, top + 24, area.right, top + kRibbonHeight};
    fill(dc, body, RGB(250, 251, 253));
    // Office's own groups, then the add-ins' groups.
    x = area.left + 6;
    for (const std::string& name : view.officeGroups) {
        const int width = textWidth(dc, name) + 40;
        RECT g = {x, body.top + 4, x + width, body.bottom - 4};
        FrameRect(dc, &g, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        drawText(dc, x + 20, body.bottom - 22, name, RGB(80, 80, 80));
        x += width + 4;
    }
    for (const RibbonGroup* shown : view.groups) {
        const RibbonGroup& group = *shown;
        int width = std::max(textWidth(dc, group.label) + 24, 80);
        RECT g = {x, body.top + 4, x + width, body.bottom - 4};
        FrameRect(dc, &g, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        int bx = x + 8;
        for (const RibbonButton& b : group.buttons) {
            const int bw = std::max(textWidth(dc, b.label) + 12, 48);
            RECT image = {bx + (bw - 32) / 2, body.top + 10, bx + (bw - 32) / 2 + 32,
                          body.top + 42};
            if (!b.image || !drawPicture(dc, image, b.image, Dispatch()))
                FrameRect(dc, &image, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            drawText(dc, bx + (bw - textWidth(dc, b.label)) / 2, body.top + 46, b.label,
                     RGB(0, 0, 0));
            const bool hovered =
                !view.hover.empty() && (view.hover == b.markup.id || view.hover == b.label);
            if (hovered && !b.screentip.empty()) {
                const int tw = textWidth(dc, b.screentip, true) + 12;
                RECT tip = {bx + bw - 8, body.top + 56, bx + bw - 8 + tw, body.top + 78};
                fill(dc, tip, RGB(255, 255, 225));
                FrameRect(dc, &tip, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
                drawText(dc, tip.left + 6, tip.top + 4, b.screentip, RGB(0, 0, 0), true);
            }
            bx += bw + 4;
        }
        width = std::max(width, bx - x + 4);
        g.right = x + width;
        drawText(dc, x + (width - textWidth(dc, group.label)) / 2, body.bottom - 22, group.label,
                 RGB(80, 80, 80));
        x += width + 4;
    }
}

// Outlook 2013 and later --------------------------------------------------

std::vector<OutlookHost::RibbonGroup*> OutlookHost::shownExplorerGroups() {
    std::vector<RibbonGroup*> shown;
    if (!explorer_.reply) return shown;
    for (RibbonGroup& g : explorer_.groups)
        if (g.tabSet == "TabComposeTools" && g.tab == "TabMessage") shown.push_back(&g);
    return shown;
}

void OutlookHost::paintExplorerStrip(HDC dc, const RECT& area) {
    const int top = paintTitle(dc, area, explorer_.bars.title);
    RibbonView view;
    view.tabs = {"File", "Home", "Send / Receive", "Folder", "View"};
    if (explorer_.reply) {
        view.tabs.push_back("Message");
        view.selected = "Message";
        view.tabSetCaption = "Compose Tools";
        view.officeGroups = {"Clipboard", "Basic Text", "Names", "Include"};
        for (RibbonGroup* g : shownExplorerGroups()) view.groups.push_back(g);
    } else {
        view.selected = "Home";
        view.officeGroups = {"New", "Delete", "Respond", "Quick Steps", "Move"};
    }
    view.hover = explorer_.bars.hover;
    paintRibbon(dc, area, area.top + top, view);
    if (explorer_.reply) {
        const RECT header = {area.left, area.top + top + kRibbonHeight, area.right, area.bottom};
        fill(dc, header, RGB(240, 243, 248));
        const int y = header.top + 6;
        int x = area.left + 8;
        x += drawText(dc, x, y, "Send", RGB(21, 66, 139), true) + 24;
        x += drawText(dc, x, y, "To: Microsoft Outlook", RGB(0, 0, 0)) + 24;
        drawText(dc, x, y,
                 "Subject: " + explorer_.reply->value("Subject").toString() + "    [Pop Out]",
                 RGB(0, 0, 0));
    }
}

void OutlookHost::printExplorerRibbon() {
    const std::vector<RibbonGroup*> shown = shownExplorerGroups();
    if (shown.empty()) say("ribbon of explorer: none");
    for (const RibbonGroup* g : shown)
        for (const RibbonButton& b : g->buttons)
            say("ribbon of explorer: tab=" + g->tabSet + "/" + g->tab +
                " group=" + quoted(g->label) + " button=" + b.markup.id + " size=" + b.markup.size +
                " label=" + quoted(b.label) + " screentip=" + quoted(b.screentip) +
                " image=" + pictureSize(b.image));
}

void OutlookHost::replyInline() {
    if (!explorerRibbon())
        throw HostError(5,
                        "Outlook " + std::to_string(outlook_.version) + " writes no reply inline");
    if (!explorer_.view) throw HostError(5, "the explorer is closed");
    if (explorer_.reply) throw HostError(5, "an inline reply is open already");
    explorer_.reply =
        &outlook_.openInlineResponse(*explorer_.explorer, std::string("RE: ") + kReadSubject);
    explorer_.readingPane = explorer_.view->text();
    explorer_.view->setText("");  // the reply's own editor
    explorer_.view->setStripHeight(kTitleHeight + kRibbonHeight + kReplyHeaderHeight);
    explorerActive_ = true;
    // The Compose Tools tab shows for the first time: Office asks its controls' callbacks.
    if (!explorer_.groupsShown) {
        explorer_.groupsShown = true;
        for (RibbonGroup* g : shownExplorerGroups())
            for (RibbonButton& b : g->buttons) queryButton(*g, b);
    }
    explorer_.view->activate();
    explorer_.view->invalidate();
    say("explorer: inline reply opened");
}

void OutlookHost::closeInline() {
    if (!explorer_.reply) throw HostError(5, "no inline reply is open");
    outlook_.closeInlineResponse(*explorer_.explorer);
    explorer_.reply = nullptr;
    if (explorer_.view) {
        explorer_.view->setText(explorer_.readingPane);
        explorer_.view->setStripHeight(kTitleHeight + kRibbonHeight);
        explorer_.view->invalidate();
    }
    say("explorer: inline reply closed");
}

}  // namespace cq::test::e2e
