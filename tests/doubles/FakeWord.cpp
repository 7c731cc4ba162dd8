#include "tests/doubles/FakeWord.h"

#include "common/HostError.h"
#include "common/host/CommandBars.h"
#include "tests/doubles/FakePictures.h"
#include "word/Connect.h"

namespace cq::test {
namespace {

constexpr std::int32_t kNoDocument = 4248;
constexpr std::int32_t kOutOfBounds = -2147352565;  // DISP_E_BADINDEX
constexpr std::int32_t kFailed = -2147467259;       // E_FAIL

}  // namespace

class FakeWord::Watched : public FakeObject {
  public:
    Watched(FakeOffice& office, std::string type, std::vector<std::string>& log)
        : FakeObject(office, std::move(type)), log_(log) {}
    void release() noexcept override {
        FakeObject::release();
        if (refs() == 0) log_.push_back(type());
    }

  private:
    std::vector<std::string>& log_;
};

FakeWord::FakeWord(int version, Layout layout) : version(version), bars(office, version >= 10) {
    getStamp = [](std::string& stamp, std::string& tooltip) {
        stamp = "06.12.2026 09:05:07";
        tooltip = "Insert date and time";
        return true;
    };

    // Outlook and its add-in.
    outlook_ = std::make_unique<Watched>(office, "Outlook.Application", released);
    addIn_ = std::make_unique<Watched>(office, "Chronoquill.Connect", released);
    comAddIns_ = &office.make("COMAddIns");
    comAddIn_ = &office.make("COMAddIn");
    outlook_->set("Version", "11.0.0.8217").setObject("COMAddIns", comAddIns_);
    comAddIns_->getter("Item", [this](std::span<Variant> args) -> Variant {
        if (addInState_ == AddInState::NotRegistered || args.empty() ||
            args[0].toString() != "Chronoquill.Connect")
            throw HostError(kOutOfBounds, "Index into the specified collection is out of bounds.");
        return comAddIn_->handle();
    });
    comAddIn_->set("ProgId", "Chronoquill.Connect").set("Connect", true);
    comAddIn_->getter("Object", [this](std::span<Variant>) -> Variant {
        if (addInState_ != AddInState::Working) return {};
        return addIn_->handle();
    });
    addIn_->method("GetStamp", [this](std::span<Variant> args) -> Variant {
        ++getStampCalls;
        std::string stamp, tooltip;
        const bool result = getStamp(stamp, tooltip);
        if (args.size() >= 2) {
            args[0].assign(stamp);
            args[1].assign(tooltip);
        }
        return result;
    });

    // Word.
    app_ = &office.make("Application");
    app_->set("Version", std::to_string(version) + ".0").set("Name", "Microsoft Word");
    app_->getter("ActiveWindow", [this](std::span<Variant>) -> Variant {
        if (!active_) throw HostError(kNoDocument, "This command is not available.");
        return active_->handle();
    });
    app_->getter("ActiveDocument", [this](std::span<Variant>) -> Variant {
        if (!active_) throw HostError(kNoDocument, "This command is not available.");
        return documentOf(*active_).handle();
    });

    template_ = &office.make("Template");
    template_->set("Name", "Normal.dot").set("Saved", true);

    if (layout.menuBar) {
        FakeObject& menu = bars.addBar("Menu Bar");
        const std::pair<int, const char*> menus[] = {{30002, "&File"},   {30003, "&Edit"},
                                                     {30004, "&View"},   {30005, "&Insert"},
                                                     {30006, "F&ormat"}, {30007, "&Tools"}};
        for (const auto& [id, caption] : menus) {
            FakeObject& popup = bars.addPopup(menu, id, caption);
            if (id == 30005) insertMenu_ = &bars.popupBar(popup);
        }
        const std::pair<int, const char*> items[] = {{509, "&Break..."},
                                                     {294, "Page N&umbers..."},
                                                     {768, "Date and &Time..."},
                                                     {308, "&Symbol..."}};
        for (const auto& [id, caption] : items)
            bars.addControl(*insertMenu_, msoControlButton, id, caption);
    }
    if (layout.standardBar) {
        FakeObject& standard = bars.addBar("Standard");
        const std::pair<int, const char*> buttons[] = {{2520, "&New Blank Document"},
                                                       {23, "&Open..."},
                                                       {3, "&Save"},
                                                       {3738, "E-&mail"},
                                                       {2521, "&Print"},
                                                       {2, "&Spelling and Grammar..."}};
        for (const auto& [id, caption] : buttons) {
            FakeObject& button = bars.addControl(standard, msoControlButton, id, caption);
            if (id == 3738) emailButton_ = &button;
        }
    }
    bars.onChange = [this] { template_->set("Saved", false); };
}

FakeWord::~FakeWord() = default;

FakeObject& FakeWord::outlook() { return *outlook_; }

FakeObject& FakeWord::outlookAddIn() { return *addIn_; }

FakeObject& FakeWord::addWindow(bool email) {
    FakeObject& window = office.make("Window");
    FakeObject& doc = office.make("Document");
    windows_.push_back({&window, &doc});
    const int index = static_cast<int>(windows_.size());
    doc.set("Name", "Document" + std::to_string(index))
        .setObject("CommandBars", &bars.object())
        .setObject("AttachedTemplate", template_);
    if (version >= 10) {
        FakeObject& envelope = office.make("MsoEnvelope");
        doc.setObject("MailEnvelope", &envelope);
        if (email) {
            FakeObject& item = office.make("MailItem");
            item.set("Subject", "").setObject("Application", outlook_.get());
            envelope.setObject("Item", &item);
        } else {
            envelope.getter("Item", [](std::span<Variant>) -> Variant {
                throw HostError(kFailed, "The document has no e-mail item.");
            });
        }
    }
    window.set("Index", index).set("EnvelopeVisible", email).setObject("Document", &doc);
    return window;
}

FakeObject& FakeWord::documentOf(FakeObject& window) {
    for (auto& [w, d] : windows_)
        if (w == &window) return *d;
    throw HostError(kNoDocument, "The window has no document.");
}

void FakeWord::activate(FakeObject& window) {
    active_ = &window;
    raiseWindowActivate(window);
}

void FakeWord::raiseWindowActivate(FakeObject& window) {
    Variant args[] = {Variant(documentOf(window).handle()), Variant(window.handle())};
    app_->fire(word::kWordApplicationEvents, "WindowActivate", args);
}

bool FakeWord::envelopeVisible(FakeObject& window) const {
    return window.value("EnvelopeVisible").toBool();
}

void FakeWord::setEnvelopeVisible(FakeObject& window, bool visible) {
    window.set("EnvelopeVisible", visible);
}

void FakeWord::clickEmailButton() {
    const bool cancelled = emailButton_ && click(*emailButton_);
    if (!cancelled && active_) setEnvelopeVisible(*active_, !envelopeVisible(*active_));
}

std::vector<FakeObject*> FakeWord::controlsTagged(const std::string& tag) const {
    std::vector<FakeObject*> out;
    std::vector<FakeObject*> pending;
    for (const char* name : {"Menu Bar", "Standard"})
        if (FakeObject* bar = bars.bar(name)) pending.push_back(bar);
    while (!pending.empty()) {
        FakeObject* bar = pending.back();
        pending.pop_back();
        for (FakeObject* c : bars.controls(*bar)) {
            if (bars.property(*c, "Tag").toString() == tag) out.push_back(c);
            if (bars.property(*c, "Type").toInt() == msoControlPopup)
                pending.push_back(&bars.popupBar(*c));
        }
    }
    return out;
}

FakeObject* FakeWord::controlTagged(const std::string& tag) const {
    auto found = controlsTagged(tag);
    return found.size() == 1 ? found.front() : nullptr;
}

Variant FakeWord::property(FakeObject& control, const std::string& name) const {
    Variant value = bars.property(control, name);
    if (name == "Picture" || name == "Mask") return FakePictures::resourceOf(value.toObject());
    return value;
}

bool FakeWord::templateSaved() const { return template_->value("Saved").toBool(); }

void FakeWord::setTemplateSaved(bool saved) { template_->set("Saved", saved); }

int FakeWord::liveReferences() const {
    return office.liveReferences() + outlook_->refs() + addIn_->refs();
}

std::string FakeWord::referenced() const {
    std::string out = office.referenced();
    for (const FakeObject* o : {outlook_.get(), addIn_.get()})
        if (o->refs() != 0) out += o->type() + " x" + std::to_string(o->refs()) + "; ";
    return out;
}

}  // namespace cq::test
