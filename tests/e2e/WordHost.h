#pragma once
// The scripted Word (2000, 2002 or 2003), a process of its own: the in-memory
// Word exported through real IDispatch and connection points, loading the
// COM add-ins registered for Word. Each Word window is a real window showing
// Word's command bars, the e-mail envelope when it is visible, and the
// message body as an EDIT control. The e-mail item behind an envelope
// belongs to the running Outlook: its Application is what the running-object
// table holds as "Outlook.Application".
//
// Commands (besides those of ScriptedHost):
//   new mail | new document  opens a window (with or without the envelope) and
//                            activates it ("new-mail": new mail)
//   controls                 Word's command-bar controls
//   deleted-controls         the controls deleted from them
//   click-button <name>      clicks the visible toolbar button with that tag, caption or tooltip
//   click-menu <menu> <name> clicks the item of that menu
//   click-email-button       Word's own e-mail button (shows or hides the envelope)
//   envelope                 whether the active window shows the envelope
//   template-saved           the Saved flag of the attached template

#include <memory>
#include <string>
#include <vector>

#include "tests/doubles/FakeWord.h"
#include "tests/e2e/AddIns.h"
#include "tests/e2e/BarPainter.h"
#include "tests/e2e/ButtonFaces.h"
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/ScriptedHost.h"
#include "tests/hosts/ComExport.h"

namespace cq::test::e2e {

class WordHost final : public ScriptedHost {
  public:
    explicit WordHost(HostOptions options);
    ~WordHost() override;

    void start();
    void stop();

  private:
    struct DocWindow {
        int number = 0;
        bool email = false;
        FakeObject* window = nullptr;
        std::string title;
        std::unique_ptr<HostWindow> view;
    };

    bool handle(const Command& command) override;
    HostWindow* activeWindow() override;
    void activateWindow(int number) override;
    void closeWindow(int number) override;
    void setHover(const std::string& name) override;
    void setOpenMenu(const std::string& caption) override;
    void printReferences() override;

    DocWindow& window(int number);
    void openWindow(bool email);
    void endWindow(DocWindow& w);
    void activate(DocWindow& w);
    void paintStrip(DocWindow& w, HDC dc, const RECT& area);
    int stripHeight(DocWindow& w) const;
    void relayoutAll();
    void click(FakeObject* control, const std::string& what);

    FakeWord word_;
    ComExport export_;
    std::unique_ptr<ButtonFaces> faces_;
    AddInSet addIns_;
    std::vector<std::unique_ptr<DocWindow>> windows_;
    DocWindow* active_ = nullptr;
    BarView bars_;
    bool started_ = false;
};

}  // namespace cq::test::e2e
