#pragma once
// A scriptable Outlook (2000 to 2016) in memory: the Application
// with its explorer and item windows, items of every class, each item
// window's command bars, the COM add-in collection, and the ribbon objects
// that Outlook 2007 hands to an add-in. Built on FakeOffice, so every call
// is counted, can be made to fail, and every reference handed out is counted.
//
// Objects and their members (types as in FakeOffice's call log):
//   "Application"   Version, Name, ActiveExplorer, Explorers, Inspectors, COMAddIns
//   "Explorers", "Inspectors"   Count, Item(i); events NewExplorer / NewInspector
//   "Explorer"      Caption, Application, CommandBars, (15 and later) ActiveInlineResponse;
//                   events Activate, Close
//   "Inspector"     CurrentItem, EditorType, CommandBars, Caption; events Activate, Close
//   "MailItem", "NoteItem", "AppointmentItem", "ContactItem", "TaskItem", "JournalItem"
//                   Class, Subject; a MailItem also Sent
//   "COMAddIns"     Count, Item(progId)   "COMAddIn"   ProgId, Object, Connect
//   "IRibbonUI"     Invalidate, InvalidateControl(id)   "IRibbonControl"   Id, Tag, Context

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/doubles/FakeCommandBars.h"
#include "tests/doubles/FakeOffice.h"

namespace cq::test {

enum class OutlookItem { NewMail, SentMail, Note, WordMail, Appointment, Contact, Task, Journal };

const char* toString(OutlookItem item);

// How an item window's command bars are laid out.
struct InspectorLayout {
    bool standardBar = true;  // a "Standard" toolbar with two built-in buttons
    bool menuBar = true;      // a "Menu Bar" with the File, (Insert,) and Tools menus
    bool insertMenu = true;   // the Insert menu (Id 30005) on the "Menu Bar"
    bool marker = false;      // an invisible control tagged "Quintor.Inkwell.Button" already
                              // at the end of the "Standard" toolbar
};

// How an explorer window's command bars are laid out.
struct ExplorerLayout {
    bool menuBar = true;   // a "Menu Bar" with the File, View, Tools (and Help) menus
    bool helpMenu = true;  // the Help menu (Id 30010) at the end of the "Menu Bar"
};

struct FakeInspector {
    FakeObject* object = nullptr;  // "Inspector"
    FakeObject* item = nullptr;
    std::unique_ptr<FakeCommandBars> bars;
    bool open = false;

    FakeObject* standardBar() const { return bars->bar("Standard"); }
    FakeObject* menuBar() const { return bars->bar("Menu Bar"); }
    // The Insert menu's own bar, or null.
    FakeObject* insertMenu() const;
};

class FakeOutlook {
  public:
    // `version`: 9, 10, 11 or 12.
    FakeOutlook(FakeOffice& office, int version);
    FakeOutlook(const FakeOutlook&) = delete;
    FakeOutlook& operator=(const FakeOutlook&) = delete;

    // "9.0.0.2711", "10.0.0.2627", "11.0.0.5608", "12.0.4518.1014".
    static std::string versionString(int version);

    FakeOffice& office;
    const int version;
    FakeObject& application;
    FakeObject& explorers;
    FakeObject& inspectors;
    FakeObject& comAddIns;
    FakeObject& addIn;  // the COMAddIn "Chronoquill.Connect"

    // Explorer windows. An explorer that is simply there (no events), as
    // the one Outlook shows when it starts; it becomes the active one.
    FakeObject& addExplorer(ExplorerLayout layout = {});
    // A new explorer window: NewExplorer only.
    FakeObject& newExplorer(ExplorerLayout layout = {});
    // A new explorer window: NewExplorer, then Activate, as Outlook sends them.
    FakeObject& openExplorer(ExplorerLayout layout = {});
    void activate(FakeObject& explorer);
    // Sends the window's Close and removes it from Explorers.
    void closeExplorer(FakeObject& explorer);
    // Outlook 2013 and later: a reply written inline in the explorer's
    // reading pane (a new MailItem), then its ActiveInlineResponse; closing
    // it sets that back to Nothing.
    FakeObject& openInlineResponse(FakeObject& explorer, const std::string& subject);
    void closeInlineResponse(FakeObject& explorer);
    // The command bars of an explorer made here.
    FakeCommandBars& explorerBars(const FakeObject& explorer) const;
    // The active explorer (null: Outlook runs without a window).
    FakeObject* activeExplorer = nullptr;
    // The explorer made last (set before its events are sent).
    FakeObject* lastExplorer = nullptr;

    // Item windows. Opens one showing a new item of that kind and sends NewInspector.
    FakeInspector& openInspector(OutlookItem item, InspectorLayout layout = {});
    // Sends the window's Close and removes it from Inspectors.
    void closeInspector(FakeInspector& inspector);
    const std::vector<std::unique_ptr<FakeInspector>>& allInspectors() const { return all_; }

    // Ribbon (Outlook 2007): the ribbon object for onLoad, and controls with an Id.
    FakeObject& ribbonUI;
    std::vector<std::string> invalidations;  // InvalidateControl ids; "*" for Invalidate
    FakeObject& ribbonControl(const std::string& id);

  private:
    FakeObject& makeItem(OutlookItem item);
    FakeObject& makeExplorer(ExplorerLayout layout);

    std::vector<FakeObject*> explorerList_;
    std::vector<FakeObject*> inspectorList_;
    std::vector<std::unique_ptr<FakeInspector>> all_;
    std::vector<std::pair<const FakeObject*, std::unique_ptr<FakeCommandBars>>> explorerBars_;
};

}  // namespace cq::test
