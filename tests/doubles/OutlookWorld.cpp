#include "tests/doubles/OutlookWorld.h"

#include "common/CWinReg.h"
#include "outlook/CInspectorWrapper.h"
#include "outlook/RibbonMarkup.h"
#include "outlook/mMain.h"

namespace cq::test {

OutlookWorld::OutlookWorld(int version)
    : outlook(office, version),
      self(office.make("Connect")),
      connect([this] { return self.handle(); }) {
    g_oOutlook.reset();
    g_lOutlookVersion = 0;
    office.recording = true;
}

OutlookWorld::~OutlookWorld() {
    g_oOutlook.reset();
    g_lOutlookVersion = 0;
}

template <class F>
void OutlookWorld::entry(const char* action, F&& f) {
    const bool before = office.injected();
    try {
        f();
    } catch (const std::exception& e) {
        ++escaped;
        problems.push_back(std::string(action) + ": an exception left the add-in: " + e.what());
    } catch (...) {
        ++escaped;
        problems.push_back(std::string(action) + ": an exception left the add-in");
    }
    if (!before && office.injected()) {
        faultAction = action;
        faultCall = office.log.at(static_cast<std::size_t>(office.failAt - 1));
    }
}

void OutlookWorld::expectTyped(const char* action, const std::string& typed) {
    if (keys.typedText() != typed)
        problems.push_back(std::string(action) + ": typed \"" + keys.typedText() +
                           "\", expected \"" + typed + "\"");
}

void OutlookWorld::useSettings(const std::string& text, const std::string& expected) {
    stamp.file.write(text, ++fileTime_);
    expected_ = expected;
}

void OutlookWorld::connectAddIn() {
    entry("OnConnection", [&] {
        connect.IDTExtensibility2_OnConnection(outlook.application.handle(), 1, Dispatch());
    });
}

void OutlookWorld::startup() {
    entry("OnStartupComplete", [&] { connect.IDTExtensibility2_OnStartupComplete(); });
}

void OutlookWorld::disconnect() {
    entry("OnBeginShutdown", [&] { connect.IDTExtensibility2_OnBeginShutdown(); });
    entry("OnDisconnection", [&] { connect.IDTExtensibility2_OnDisconnection(0); });
}

FakeObject& OutlookWorld::openExplorer() {
    entry("NewExplorer", [&] { outlook.openExplorer(); });
    return *outlook.lastExplorer;
}

FakeObject& OutlookWorld::newExplorer() {
    entry("NewExplorer", [&] { outlook.newExplorer(); });
    return *outlook.lastExplorer;
}

void OutlookWorld::activate(FakeObject& explorer) {
    entry("Activate", [&] { outlook.activate(explorer); });
}

FakeObject& OutlookWorld::addExplorer() { return outlook.addExplorer(); }

FakeInspector& OutlookWorld::openInspector(OutlookItem item, InspectorLayout layout) {
    entry("NewInspector", [&] { outlook.openInspector(item, layout); });
    return *outlook.allInspectors().back();
}

void OutlookWorld::closeInspector(FakeInspector& inspector) {
    entry("Close", [&] { outlook.closeInspector(inspector); });
}

bool OutlookWorld::click(FakeInspector& inspector, FakeObject& control) {
    if (control.subscribers(kCommandBarButtonEvents) == 0) return false;
    const std::string before = keys.typedText();
    bool cancel = true;
    entry("Click", [&] { cancel = inspector.bars->click(control); });
    if (cancel) problems.push_back("Click: CancelDefault was changed");
    expectTyped("Click", before + expected_ + " ");
    return true;
}

std::string OutlookWorld::getCustomUI(const std::string& ribbonId) {
    std::string markup;
    entry("GetCustomUI", [&] { markup = connect.IRibbonExtensibility_GetCustomUI(ribbonId); });
    return markup;
}

void OutlookWorld::ribbonOnLoad() {
    entry("Ribbon_OnLoad", [&] { connect.Ribbon_OnLoad(outlook.ribbonUI.handle()); });
}

void OutlookWorld::buttonAction(const std::string& id) {
    FakeObject& control = outlook.ribbonControl(id);
    const std::string before = keys.typedText();
    const std::size_t boxes = msgBox.shown.size();
    const int callsBefore = office.calls();
    entry("Button_Action", [&] { connect.Button_Action(control.handle()); });
    const bool idFailed = office.failAt > callsBefore && office.failAt <= office.calls() &&
                          faultCall == "IRibbonControl.Id";
    const std::string seen = idFailed ? std::string() : id;
    if (seen == kStampButtonId) {
        expectTyped("Button_Action", before + expected_ + " ");
        if (msgBox.shown.size() != boxes) problems.push_back("Button_Action: a message box");
    } else {
        expectTyped("Button_Action", before);
        if (msgBox.shown.size() != boxes + 1 ||
            !(msgBox.shown.back() == ShownBox{seen + " clicked", kMsgBoxOkOnly, ""}))
            problems.push_back("Button_Action: no message box \"" + seen + " clicked\"");
    }
}

std::string OutlookWorld::screentip(const std::string& id) {
    std::string text;
    FakeObject& control = outlook.ribbonControl(id);
    entry("Button_GetScreentip", [&] { text = connect.Button_GetScreentip(control.handle()); });
    return text;
}

std::string OutlookWorld::label(const std::string& id) {
    std::string text;
    FakeObject& control = outlook.ribbonControl(id);
    entry("Button_GetLabel", [&] { text = connect.Button_GetLabel(control.handle()); });
    return text;
}

std::string OutlookWorld::imageResource(const std::string& id) {
    std::string resource;
    FakeObject& control = outlook.ribbonControl(id);
    entry("Button_GetImage", [&] {
        Dispatch picture = connect.Button_GetImage(control.handle());
        resource = picture ? FakePictures::resourceOf(picture) : std::string("(nothing)");
    });
    return resource;
}

std::string OutlookWorld::getStamp() {
    std::string sStamp, sTooltip;
    bool result = false;
    entry("GetStamp", [&] { result = connect.GetStamp(sStamp, sTooltip); });
    if (!result) problems.push_back("GetStamp answered false");
    if (sStamp != expected_) problems.push_back("GetStamp gave \"" + sStamp + "\"");
    return sTooltip;
}

FakeObject* OutlookWorld::stampButton(const FakeInspector& w) const {
    FakeObject* bar = w.standardBar();
    if (!bar) return nullptr;
    for (FakeObject* c : w.bars->controls(*bar))
        if (w.bars->isTemporary(*c) && w.bars->property(*c, "Tag").toString() != kWrapperTag)
            return c;
    return nullptr;
}

FakeObject* OutlookWorld::marker(const FakeInspector& w) const {
    FakeObject* bar = w.standardBar();
    if (!bar) return nullptr;
    for (FakeObject* c : w.bars->controls(*bar))
        if (w.bars->isTemporary(*c) && w.bars->property(*c, "Tag").toString() == kWrapperTag)
            return c;
    return nullptr;
}

FakeObject* OutlookWorld::menuEntry(const FakeInspector& w) const {
    FakeObject* menu = w.insertMenu();
    if (!menu) return nullptr;
    for (FakeObject* c : w.bars->controls(*menu))
        if (w.bars->isTemporary(*c)) return c;
    return nullptr;
}

int OutlookWorld::addInControls(const FakeInspector& w) const {
    int n = 0;
    for (const char* name : {"Standard", "Menu Bar"}) {
        FakeObject* bar = w.bars->bar(name);
        if (!bar) continue;
        for (FakeObject* c : w.bars->controls(*bar)) {
            if (w.bars->isTemporary(*c)) ++n;
            if (w.bars->property(*c, "Type").toInt() == msoControlPopup)
                for (FakeObject* d : w.bars->controls(w.bars->popupBar(*c)))
                    if (w.bars->isTemporary(*d)) ++n;
        }
    }
    return n;
}

std::string OutlookWorld::tooltipValue() {
    CWinReg reg;
    if (!reg.InitForRead(CWinReg::HKeyCurrentUser(), std::string(kTooltipKey))) return {};
    return reg.ReadString(std::string(kTooltipValue));
}

int OutlookWorld::tooltipWrites() const { return registry.calls(RegOp::SetValue); }

}  // namespace cq::test
