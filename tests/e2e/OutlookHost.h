#pragma once
// The scripted Outlook (2000 to 2016): the in-memory Outlook
// exported through real IDispatch and connection points, registered in the
// running-object table as "Outlook.Application", loading the COM add-ins
// registered for Outlook and calling them in Outlook's order. The explorer
// and each item window are real windows with an EDIT editor (the explorer's
// stands for its reading pane); the explorer shows its "Menu Bar" with the
// File, View, Tools and Help menus. Outlook 2007 item windows ask the add-ins
// for their ribbon markup and call the callbacks by name. Outlook 2010 and
// later ask for the explorer's markup ("Microsoft.Outlook.Explorer") at
// start-up, after connecting the add-ins. From Outlook 2013 on the explorer
// shows a ribbon instead of menus, and a reply can be written inline in its
// reading pane: while one is open the editor is the reply's own, and the
// ribbon shows the Compose Tools tab set with its Message tab, where the
// add-ins' groups for that tab appear. At the end Outlook closes its item
// windows, then the explorer (its Close), then lets the add-ins go.
//
// Commands (besides those of ScriptedHost):
//   new <kind>          opens an item window: mail, sent-mail, note, word-mail,
//                       appointment, contact, task, journal ("new-mail": new mail)
//   controls [<n>]      the command-bar controls of window n (also once closed)
//   deleted-controls [<n>]  the controls deleted from window n's bars
//   click-button <name> clicks the visible toolbar button with that tag, caption or tooltip
//   click-menu <menu> <name>  clicks the item of that menu
//   explorer-controls   the command-bar controls of the explorer window
//   click-explorer-menu <menu> <name>  clicks the item of that explorer menu, the
//                       explorer window in front
//   custom-ui <ribbon id> [<file>]  GetCustomUI of each ribbon add-in; the markup
//                       goes into the file (exactly) when one is named
//   ribbon [<n>|explorer]  the ribbon buttons of window n (or of the explorer's
//                       tabs shown now): label, screentip, image
//   ribbon-click [<button id>]  the button's onAction, as a click on it (in the
//                       explorer while it is in front)
//   reply-inline        Outlook 2013 and later: a reply opens inline in the
//                       explorer's reading pane; the explorer comes to the front
//   close-inline        that reply is discarded; the reading pane shows the message
//   com-add-ins         whether each COMAddIn's Object is set
//   get-stamp           GetStamp of the "Chronoquill.Connect" COM add-in's Object
//   die-on-get-stamp    this process ends abruptly (exit code 9) when the next call by
//                       IDispatch::Invoke on that add-in comes in from another process,
//                       before the add-in runs it: "dying in a call from another process"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/win32/ComPtr.h"
#include "tests/doubles/FakeOffice.h"
#include "tests/doubles/FakeOutlook.h"
#include "tests/e2e/AddIns.h"
#include "tests/e2e/BarPainter.h"
#include "tests/e2e/ButtonFaces.h"
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/RibbonMarkup.h"
#include "tests/e2e/ScriptedHost.h"
#include "tests/hosts/ComExport.h"

namespace cq::test::e2e {

class OutlookHost final : public ScriptedHost {
  public:
    explicit OutlookHost(HostOptions options);
    ~OutlookHost() override;

    // Shows the explorer, registers in the running-object table, loads the add-ins.
    void start();
    // Closes the item windows, disconnects the add-ins, leaves the table,
    // and prints the references still held.
    void stop();

  private:
    struct RibbonButton {
        RibbonButtonMarkup markup;
        FakeObject* control = nullptr;  // the IRibbonControl handed to the callbacks
        std::string label;
        std::string screentip;
        Dispatch image;
    };
    struct RibbonGroup {
        LoadedAddIn* addIn = nullptr;
        std::string tabSet;
        std::string tab;
        std::string label;
        std::vector<RibbonButton> buttons;
    };
    struct ItemWindow {
        int number = 0;
        OutlookItem kind = OutlookItem::NewMail;
        std::string title;
        FakeInspector* inspector = nullptr;
        std::unique_ptr<ButtonFaces> faces;
        std::unique_ptr<HostWindow> view;
        BarView bars;
        std::string ribbonId;
        std::vector<RibbonGroup> groups;
        bool open = false;
    };
    struct ExplorerWindow {
        FakeObject* explorer = nullptr;
        std::unique_ptr<ButtonFaces> faces;
        std::unique_ptr<HostWindow> view;
        BarView bars;
        // Outlook 2013 and later.
        std::vector<RibbonGroup> groups;
        bool groupsShown = false;     // their callbacks asked once
        FakeObject* reply = nullptr;  // the inline reply, while open
        std::string readingPane;      // the message, while the reply is open
    };
    struct RibbonView {
        std::vector<std::string> tabs;
        std::string selected;
        std::string tabSetCaption;  // over the selected tab ("" for none)
        std::vector<std::string> officeGroups;
        std::vector<const RibbonGroup*> groups;
        std::string hover;
    };
    struct LoadedRibbon {
        std::string progId;
        std::string ribbonId;
        std::string markup;
        CustomUiMarkup ui;
    };
    class InspectorWatch;

    bool handle(const Command& command) override;
    HostWindow* activeWindow() override;
    void activateWindow(int number) override;
    void closeWindow(int number) override;
    void setHover(const std::string& name) override;
    void setOpenMenu(const std::string& caption) override;
    void printReferences() override;

    ItemWindow& window(int number);  // 0: the active one
    void openWindow(OutlookItem kind);
    // The window is closing: Inspector Close, then the window goes.
    void endWindow(ItemWindow& w);
    void paintStrip(ItemWindow& w, HDC dc, const RECT& area);
    int stripHeight(const ItemWindow& w) const;
    void relayout(ItemWindow& w);
    void click(FakeObject* control, const std::string& what, ItemWindow& w);
    void openExplorer();
    void closeExplorer();

    // Outlook 2007 and later.
    std::string getCustomUI(LoadedAddIn& addIn, const std::string& ribbonId);
    const LoadedRibbon* ribbonFor(LoadedAddIn& addIn, const std::string& ribbonId);
    std::vector<RibbonGroup> loadGroups(const std::string& ribbonId, FakeObject* context);
    void loadRibbon(ItemWindow& w);
    void queryButton(RibbonGroup& group, RibbonButton& button);
    void refreshInvalidated();
    void printRibbon(const ItemWindow& w);
    void paintRibbon(HDC dc, const RECT& area, int top, const RibbonView& view);
    void ribbonClick(std::vector<RibbonGroup*> groups, const std::string& id);

    // Outlook 2013 and later: the explorer's ribbon and inline replies.
    bool explorerRibbon() const { return outlook_.version >= 15; }
    std::vector<RibbonGroup*> shownExplorerGroups();
    void paintExplorerStrip(HDC dc, const RECT& area);
    void printExplorerRibbon();
    void replyInline();
    void closeInline();

    FakeOffice office_;
    FakeOutlook outlook_;
    ComExport export_;
    AddInSet addIns_;
    std::unique_ptr<InspectorWatch> watch_;
    ExplorerWindow explorer_;
    bool explorerInFront_ = false;  // during a click on the explorer's menus
    bool explorerActive_ = false;   // the explorer is the front window (inline reply)
    std::vector<std::unique_ptr<ItemWindow>> windows_;
    ItemWindow* active_ = nullptr;
    ItemWindow* opening_ = nullptr;
    std::vector<LoadedRibbon> ribbons_;
    std::size_t invalidationsSeen_ = 0;
    DWORD rotCookie_ = 0;
    bool started_ = false;
};

// The ribbon identifier of an item window's kind on Outlook 2007 ("" when
// that window has no ribbon).
std::string ribbonIdOf(OutlookItem kind);

}  // namespace cq::test::e2e
