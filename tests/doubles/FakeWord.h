#pragma once
// An in-memory Word (2000, 2002, 2003 or 2007) for the Word add-in's tests,
// built from FakeObjects of one FakeOffice, so that it counts the references
// handed out, records calls and fails the chosen one.
//
// What it holds: the Application (Version "N.0", ActiveWindow, ActiveDocument,
// the WindowActivate event); windows, each showing its own document, with or
// without the e-mail envelope; Word's command bars, shared by every document:
// a "Menu Bar" with the File, Edit, View, Insert (Id 30005), Format and Tools
// popups, and a "Standard" toolbar with Word's e-mail button (Id 3738) among
// its built-in buttons; the attached template, whose Saved flag turns False
// on every change to the command bars, as in Word. From Word 2002 on a
// document has a MailEnvelope whose Item (for an e-mail document) belongs to
// the Outlook application. Buttons of Word 2000 have no Picture and Mask.
//
// The Outlook side: an Outlook Application whose COMAddIns.Item
// ("Chronoquill.Connect").Object is the Outlook add-in, with a scripted
// GetStamp. The Outlook application and the add-in object record the order in
// which their last reference goes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/doubles/FakeCommandBars.h"
#include "tests/doubles/FakeOffice.h"

namespace cq::test {

class FakeWord {
  public:
    struct Layout {
        bool menuBar = true;      // a "Menu Bar" with the Insert menu
        bool standardBar = true;  // a "Standard" toolbar with the e-mail button
    };

    // `version`: 9, 10, 11 or 12.
    explicit FakeWord(int version) : FakeWord(version, Layout{}) {}
    FakeWord(int version, Layout layout);
    ~FakeWord();
    FakeWord(const FakeWord&) = delete;
    FakeWord& operator=(const FakeWord&) = delete;

    FakeOffice office;
    const int version;
    FakeCommandBars bars;

    // Word.
    FakeObject& application() { return *app_; }
    FakeObject* menuBar() { return bars.bar("Menu Bar"); }
    FakeObject* insertMenu() { return insertMenu_; }  // the Insert popup's bar
    FakeObject* standard() { return bars.bar("Standard"); }
    FakeObject* emailButton() { return emailButton_; }
    FakeObject& attachedTemplate() { return *template_; }

    // A new window showing a new document; an e-mail window shows the
    // envelope and its document has a mail item. Not activated.
    FakeObject& addWindow(bool email);
    FakeObject& documentOf(FakeObject& window);
    // The active window, or null.
    FakeObject* activeWindow() const { return active_; }
    // Makes `window` the active one (null: none), without raising any event.
    void setActiveWindow(FakeObject* window) { active_ = window; }
    // Makes `window` the active one and raises WindowActivate(Doc, Wn).
    void activate(FakeObject& window);
    // Raises WindowActivate for `window` without making it the active one.
    void raiseWindowActivate(FakeObject& window);
    bool envelopeVisible(FakeObject& window) const;
    void setEnvelopeVisible(FakeObject& window, bool visible);

    // The user clicks Word's e-mail button: Click is raised, then, unless a
    // handler set CancelDefault, the active window's envelope is toggled.
    void clickEmailButton();
    // The user clicks `control`; returns CancelDefault as the handlers left it.
    bool click(FakeObject& control) { return bars.click(control); }

    // The controls, anywhere in Word's bars, whose Tag is `tag`.
    std::vector<FakeObject*> controlsTagged(const std::string& tag) const;
    // The control tagged `tag` when there is exactly one, else null.
    FakeObject* controlTagged(const std::string& tag) const;
    // A control's property as stored; Picture and Mask give the name of the
    // resource the picture was loaded from ("" for none).
    Variant property(FakeObject& control, const std::string& name) const;

    bool templateSaved() const;
    void setTemplateSaved(bool saved);

    // Outlook.
    enum class AddInState { Working, NoObject, NotRegistered };
    FakeObject& outlook();
    FakeObject& outlookAddIn();
    void setAddInState(AddInState state) { addInState_ = state; }
    // What GetStamp does: fills the stamp and tooltip and answers.
    std::function<bool(std::string& stamp, std::string& tooltip)> getStamp;
    int getStampCalls = 0;
    // "Outlook.Application" and "Chronoquill.Connect", in the order in which
    // their last reference was dropped.
    std::vector<std::string> released;

    // References held outside this Word, the Outlook objects included.
    int liveReferences() const;
    std::string referenced() const;

  private:
    class Watched;

    FakeObject* app_ = nullptr;
    FakeObject* insertMenu_ = nullptr;
    FakeObject* emailButton_ = nullptr;
    FakeObject* template_ = nullptr;
    FakeObject* active_ = nullptr;
    FakeObject* comAddIns_ = nullptr;
    FakeObject* comAddIn_ = nullptr;
    std::unique_ptr<Watched> outlook_;
    std::unique_ptr<Watched> addIn_;
    std::vector<std::pair<FakeObject*, FakeObject*>> windows_;  // window, document
    AddInState addInState_ = AddInState::Working;
};

}  // namespace cq::test
