#pragma once
// The switches an administrator passes to install without the wizard, in the conventions of the
// common installer builders: "/" or "-", names in any case, values after "=".
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace app {

enum class Display {
    Wizard,     // no switch: the wizard as a person uses it
    Silent,     // the progress window only
    VerySilent  // no window at all
};

enum class InstallType { Server, Client };

// Shortcut choices of /TASKS.
inline constexpr const char* kTaskNames[] = {"desktop", "quicklaunch"};
// File types of /FILETYPES, as the wizard lists them.
inline constexpr const char* kFileTypeNames[] = {"zkx", "zkc", "zkl", "bzk", "zks", "mix", "zka"};

// Switches that deployment tools and package managers send to installers of this family and
// that mean nothing here: accepted, logged, and without effect.
struct IgnoredSwitch {
    const char* name;  // lower case
    const char* why;
};
inline constexpr IgnoredSwitch kIgnoredSwitches[] = {
    {"norestart", "this setup never restarts the machine"},
    {"sp-", "there is no question before the wizard"},
    {"nocancel", "the run has no Cancel"},
    {"closeapplications", "the product's applications are always asked to close"},
};

// An absent choice keeps the wizard's proposal.
struct Options {
    Display display = Display::Wizard;
    std::optional<std::string> dir;
    std::optional<std::string> group;
    bool no_icons = false;
    std::optional<std::vector<std::string>> tasks;       // lower case, from kTaskNames
    std::optional<std::vector<std::string>> file_types;  // lower case, from kFileTypeNames
    std::optional<std::string> language;
    std::optional<InstallType> type;
    bool suppress_message_boxes = false;
    std::optional<std::string> log;    // empty: a dated file in the temporary folder
    std::vector<std::string> ignored;  // kIgnoredSwitches given, as written
    bool help = false;

    bool Unattended() const { return display != Display::Wizard; }
};

struct UsageError {
    std::string text;
    std::optional<std::string> log;  // a /LOG among the arguments, to record the error in
};

// The arguments after the program name, in UTF-8, as the system split the command line.
std::variant<Options, UsageError> ParseCommandLine(const std::vector<std::string>& arguments);

// True when the arguments ask for no window and no message box (/VERYSILENT with
// /SUPPRESSMSGBOXES), whether or not they parse: then even a usage error is not shown.
bool Quiet(const std::vector<std::string>& arguments);

// The switches and the exit codes, for /? and after a usage error.
std::string UsageText();

// The options as one line for the account of the run.
std::string Describe(const Options& options);

// The account's file for a /LOG without a name: "Zinkolar Setup Log YYYY-MM-DD #NNN.txt" in the
// temporary folder, NNN the first number from 001 whose name `taken` says is free.
std::string DatedLogPath(const std::string& temp_folder, int year, int month, int day,
                         const std::function<bool(const std::string&)>& taken);

// The items with the separator between them.
template <typename Items>
std::string Join(const Items& items, std::string_view separator) {
    std::string text;
    for (const auto& item : items) {
        if (!text.empty())
            text += separator;
        text += item;
    }
    return text;
}

}  // namespace app
