#include "tests/e2e/WordHost.h"

#include <oleauto.h>

#include "common/HostError.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComError.h"
#include "tests/e2e/ControlListing.h"
#include "tests/e2e/HostOutput.h"
#include "tests/e2e/PictureDrawing.h"

namespace cq::test::e2e {
namespace {

constexpr int kEnvelopeHeight = 84;

// The running Outlook's Application, as the e-mail item of an envelope
// belongs to it.
Dispatch runningOutlook() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"Outlook.Application", &clsid);
    if (FAILED(hr)) throw win32::comError(hr);
    IUnknown* running = nullptr;
    hr = GetActiveObject(clsid, nullptr, &running);
    if (FAILED(hr)) throw win32::comError(hr);
    IDispatch* application = nullptr;
    hr = running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&application));
    running->Release();
    if (FAILED(hr)) throw win32::comError(hr);
    return win32::adoptDispatch(application);
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace

WordHost::WordHost(HostOptions options)
    : ScriptedHost(std::move(options)), word_(this->options().version) {}

WordHost::~WordHost() { stop(); }

void WordHost::start() {
    say("word " + word_.application().value("Version").toString());
    faces_ =
        std::make_unique<ButtonFaces>(word_.bars, word_.version >= 10, [this] { relayoutAll(); });
    addIns_.connect("Word", word_.application().handle(), [this](const std::string& progId) {
        FakeObject& addIn = word_.office.make("COMAddIn");
        addIn.set("ProgId", progId).readOnly("ProgId").set("Connect", true);
        addIn.setObject("Object", nullptr);
        return addIn.handle();
    });
    addIns_.startupComplete();
    started_ = true;
}

void WordHost::stop() {
    if (!started_) return;
    started_ = false;
    addIns_.shutdown();
    if (faces_) faces_->clear();
    for (auto& w : windows_) w->view.reset();
    active_ = nullptr;
    word_.setActiveWindow(nullptr);
    CoFreeUnusedLibraries();
    pumpMessages(50);
    printReferences();
}

void WordHost::printReferences() {
    say("host references: " + std::to_string(word_.office.liveReferences()) +
        " (exported objects " + std::to_string(ComExport::live()) + ")");
    if (word_.office.liveReferences() != 0) say("referenced: " + word_.office.referenced());
}

WordHost::DocWindow& WordHost::window(int number) {
    if (number == 0) {
        if (active_ == nullptr) throw HostError(5, "no window is open");
        return *active_;
    }
    for (auto& w : windows_)
        if (w->number == number && w->view) return *w;
    throw HostError(5, "no window " + std::to_string(number));
}

HostWindow* WordHost::activeWindow() { return active_ ? active_->view.get() : nullptr; }

void WordHost::activate(DocWindow& w) {
    active_ = &w;
    w.view->activate();
    word_.activate(*w.window);  // WindowActivate(Doc, Wn)
    relayoutAll();
}

void WordHost::activateWindow(int number) {
    activate(window(number));
    say("window " + std::to_string(number) + ": active");
}

void WordHost::closeWindow(int number) {
    // As the user closes it: the window gets WM_CLOSE.
    window(number).view->requestClose();
}

void WordHost::endWindow(DocWindow& w) {
    w.view.reset();
    say("window " + std::to_string(w.number) + ": closed");
    if (active_ == &w) {
        active_ = nullptr;
        word_.setActiveWindow(nullptr);
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if ((*it)->view) {
                activate(**it);
                break;
            }
    }
}

void WordHost::setHover(const std::string& name) {
    bars_.hover = name;
    relayoutAll();
}

void WordHost::setOpenMenu(const std::string& caption) {
    bars_.openMenu = caption;
    relayoutAll();
}

int WordHost::stripHeight(DocWindow& w) const {
    BarView view = bars_;
    return commandBarsHeight(word_.bars, view) +
           (word_.envelopeVisible(*w.window) ? kEnvelopeHeight : 0);
}

void WordHost::relayoutAll() {
    for (auto& w : windows_)
        if (w->view) w->view->setStripHeight(stripHeight(*w));
}

void WordHost::paintStrip(DocWindow& w, HDC dc, const RECT& area) {
    BarView view = bars_;
    view.title = w.title;
    const int top = paintCommandBars(dc, area, word_.bars, *faces_, view);
    if (!word_.envelopeVisible(*w.window)) return;
    RECT envelope = {area.left, area.top + top, area.right, area.top + top + kEnvelopeHeight};
    fill(dc, envelope, RGB(236, 233, 216));
    int y = envelope.top + 6;
    for (const char* label : {"To...", "Cc...", "Subject:"}) {
        drawText(dc, area.left + 10, y + 3, label, RGB(0, 0, 0));
        RECT box = {area.left + 80, y, area.right - 12, y + 21};
        fill(dc, box, RGB(255, 255, 255));
        FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        y += 25;
    }
}

void WordHost::openWindow(bool email) {
    auto owned = std::make_unique<DocWindow>();
    DocWindow& w = *owned;
    w.number = static_cast<int>(windows_.size()) + 1;
    w.email = email;
    w.window = &word_.addWindow(email);
    windows_.push_back(std::move(owned));
    FakeObject& doc = word_.documentOf(*w.window);
    w.title = doc.value("Name").toString() + " - Microsoft Word";
    if (FakeObject* envelope = doc.object("MailEnvelope"))
        if (FakeObject* item = envelope->object("Item"))
            item->getter("Application",
                         [](std::span<Variant>) { return Variant(runningOutlook()); });
    w.view = std::make_unique<HostWindow>(
        w.title, stripHeight(w),
        HostWindow::Handlers{[this, &w](HDC dc, const RECT& area) { paintStrip(w, dc, area); },
                             [this, &w] { endWindow(w); }});
    say("window " + std::to_string(w.number) + ": " + (email ? "e-mail message" : "document") +
        " opened");
    activate(w);
}

void WordHost::click(FakeObject* control, const std::string& what) {
    if (control == nullptr) throw HostError(5, "no visible control " + quoted(what));
    bool cancelled = false;
    userAction([&] { cancelled = word_.click(*control); });
    say("clicked " + quoted(what) + (cancelled ? " (default cancelled)" : ""));
    relayoutAll();
}

bool WordHost::handle(const Command& c) {
    if (c.name == "new" || c.name == "new-mail") {
        const std::string kind = c.name == "new-mail" ? "mail" : c.arg(0);
        if (kind != "mail" && kind != "document")
            throw HostError(5, "no such window kind: " + kind);
        openWindow(kind == "mail");
    } else if (c.name == "controls") {
        say("controls of Word");
        printControls(word_.bars, *faces_);
    } else if (c.name == "deleted-controls") {
        printDeletedControls(word_.bars);
    } else if (c.name == "click-button") {
        click(findButton(word_.bars, c.rest(0)), c.rest(0));
    } else if (c.name == "click-menu") {
        click(findMenuItem(word_.bars, c.arg(0), c.rest(1)), c.arg(0) + "/" + c.rest(1));
    } else if (c.name == "click-email-button") {
        userAction([&] { word_.clickEmailButton(); });
        say("clicked the e-mail button");
        relayoutAll();
    } else if (c.name == "envelope") {
        DocWindow& w = window(0);
        say("envelope of window " + std::to_string(w.number) + ": " +
            (word_.envelopeVisible(*w.window) ? "visible" : "hidden"));
    } else if (c.name == "template-saved") {
        say(std::string("template saved: ") + (word_.templateSaved() ? "true" : "false"));
    } else {
        return false;
    }
    return true;
}

}  // namespace cq::test::e2e
