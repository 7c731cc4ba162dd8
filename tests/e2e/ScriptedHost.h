#pragma once
// What the scripted Outlook and Word have in common: the command loop, the
// commands that do not depend on the application, and the run of a user's
// action (a click) with its message boxes read and closed.
//
// Common commands:
//   wait <ms>                    runs the message loop (cross-process calls are served)
//   wait-file <path> [<ms>]      runs the message loop until the file exists (default 60 s)
//   ready <path>                 writes the file (tells a test the host is up)
//   set-ini <line>...            writes Chronoquill.ini beside the "Chronoquill.Connect"
//                                module, one argument a line ("\n" also breaks a line)
//   delete-ini                   removes that file
//   echo <text>...               prints the text
//   print-editor                 editor: "<text of the active window's editor>"
//   set-editor <text>            replaces that text (caret at the end)
//   type <text>                  types the text into the active window with SendInput
//   screenshot <file.bmp>        saves the active window as the user sees it
//   activate <n>                 makes window n the active one
//   close-window [<n>]           closes window n (default: the active one) as the user would
//   hover <name>                 shows the tooltip of the control with that tag, caption
//                                or tooltip (in screenshots); "" for none
//   show-menu <caption>          the menu shown open ("" for none; default Insert)
//   refs                         the host objects still referenced from outside
//   append-editor <text>         appends the text at the end of the editor without keystrokes
//                                ("\n" breaks a line); prints nothing
//   resources                    resources: handles=<n> gdi=<n> user=<n> private=<bytes>
//                                heap=<bytes> threads=<n> of this process (ResourceCounts.h)
//   pid [<path>]                 pid <this process's id>, also written to the file
//   timed <command>...           runs the command, then: timed <ms> ms: <command>
//   repeat <n> <command>...      runs the command n times (stops at the first failure)
//   quit                         ends the script
// Messages: one line per result; failures as "error: ...", counted in the exit code.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/HostScript.h"

namespace cq::test::e2e {

class HostWindow;
class PumpedCall;

struct HostOptions {
    int version = 11;
    std::string boxShots;    // prefix of message-box screenshots ("" none)
    bool boxEscape = false;  // message boxes are closed with Escape, not OK
    std::vector<Command> commands;
};

// --version N, --script FILE, --box-shots PREFIX, --box-escape, then commands (one
// argument each).
HostOptions parseHostOptions();

class ScriptedHost {
  public:
    explicit ScriptedHost(HostOptions options);
    virtual ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    // Runs every command; the count of failed commands.
    int run();

  protected:
    // A command of the application; false when it has no such command.
    virtual bool handle(const Command& command) = 0;
    // The active window, or null when none is open.
    virtual HostWindow* activeWindow() = 0;
    virtual void activateWindow(int number) = 0;
    // 0: the active window.
    virtual void closeWindow(int number) = 0;
    virtual void setHover(const std::string& name) = 0;
    virtual void setOpenMenu(const std::string& caption) = 0;
    virtual void printReferences() = 0;

    // Runs a user's action with the active window in front and its editor
    // focused, then prints each message box that appeared:
    //   message-box: title="<title>" text="<text>"
    //   message-box owner: "<title of its owner window>"   (when it has one)
    void userAction(const std::function<void()>& action);

    HostWindow& requireWindow();
    const HostOptions& options() const { return options_; }

  private:
    // Runs one command; a failure is reported and counted.
    void runCommand(const Command& command);
    // False when neither the host nor the application knows the command.
    bool dispatch(const Command& command);
    bool common(const Command& command);

    HostOptions options_;
    std::unique_ptr<PumpedCall> pumped_;
    int boxCount_ = 0;
    bool quit_ = false;
};

// The folder of the module registered for `progId` (from its InprocServer32
// key), without a trailing separator; throws cq::HostError when not registered.
std::string moduleFolderOf(const std::string& progId);

// Types `text` into the focused window with SendInput (Unicode key events)
// and runs the message loop until the keys have been processed; the
// microseconds it took.
long long typeWithSendInput(const std::string& text);

}  // namespace cq::test::e2e
