#pragma once
// A person at the wizard: starts setup.exe, reads the page by its title, presses buttons and
// waits for the page or the message they lead to, and keeps a picture of the pages for review.
#include <string>
#include <string_view>
#include <vector>

#include "message_dialog.h"
#include "remote_window.h"
#include "setup_process.h"
#include "wait.h"

namespace e2e {

// A page follows a press at once; the installation run may take a while before the finish page
// shows.
inline constexpr Timeout kPageTimeout = 5s;
inline constexpr Timeout kRunTimeout = 60s;

class WizardWalk {
  public:
    // Starts setup.exe from the distribution folder, with the arguments, and waits for the
    // wizard. The pictures go to the folder `shots` (a Linux or Windows path), numbered in the
    // order taken.
    WizardWalk(const std::wstring& distribution, std::string shots,
               std::wstring_view arguments = {});

    const SetupProcess& Setup() const { return setup_; }
    const RemoteWindow& Wizard() const { return wizard_; }
    RemoteWindow Control(int id) const { return wizard_.Control(id); }
    std::string Text(int id) const { return Control(id).Text(); }
    // The page title (Label1).
    std::string Title() const;

    // Presses the control and waits until the page with this title shows.
    void Press(int id, std::string_view title, Timeout timeout = kPageTimeout) const;
    // Presses the control and waits for the message dialog it opens.
    MessageDialog PressForDialog(int id) const;
    // Waits until the page with this title shows; a message dialog shown instead fails at once.
    void WaitPage(std::string_view title, Timeout timeout = kPageTimeout) const;
    // Presses the dialog's button and waits until the dialog has gone.
    static void Answer(const MessageDialog& dialog, std::string_view button);
    // The same once the dialog shows that button: the wizard's timer re-labels a dialog's
    // buttons in the chosen language a moment after it comes up.
    static void AnswerWhenLabelled(const MessageDialog& dialog, std::string_view button);

    // Saves what the screen shows as "<shots>/NN-<step>.png".
    void Shoot(std::string_view step);

  private:
    SetupProcess setup_;
    RemoteWindow wizard_;
    std::string shots_;
    int shot_count_ = 0;
};

// The lines of a text, whatever its line ends (CR, LF, CR LF); trailing empty lines dropped.
std::vector<std::string> Lines(std::string_view text);
// The bytes of a file; throws when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// A text file of a distribution, written in the product users' code page (Windows-1251), as
// UTF-8.
std::string ReadAnsiFile(const std::wstring& path);
// The folder that the program proposes for the distribution in `folder` on this machine: the
// program files folder joined with [main] InstallPath of its setup.ini.
std::string ProposedDestination(const std::wstring& folder);

}  // namespace e2e
