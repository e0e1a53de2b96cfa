#pragma once
// The switches an administrator passes to install without the wizard, in the conventions of the
// common installer builders: "/" or "-", names in any case, values after "=".
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
    std::optional<std::string> log;
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
