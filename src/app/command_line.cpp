#include "app/command_line.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string_view>

#include "platform/text.h"

namespace app {
namespace {

// A value of a comma list, checked against the names it may hold.
std::optional<std::vector<std::string>> ParseList(std::string_view value,
                                                  std::span<const char* const> known,
                                                  std::string& unknown) {
    std::vector<std::string> items;
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        std::string item = platform::ToLower(std::string(value.substr(0, comma)));
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        if (item.empty())
            continue;
        if (std::ranges::find(known, item) == known.end()) {
            unknown = item;
            return std::nullopt;
        }
        if (std::ranges::find(items, item) == items.end())
            items.push_back(std::move(item));
    }
    return items;
}

// A value in quotation marks, as a command line quoted inside the argument may leave it.
std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

constexpr const char* kFlags[] = {"silent",           "verysilent", "noicons",
                                  "suppressmsgboxes", "?",          "help"};
constexpr const char* kValueSwitches[] = {"dir",  "group", "lang",     "log",
                                          "type", "tasks", "filetypes"};

bool Among(std::span<const char* const> names, const std::string& name) {
    return std::ranges::find(names, name) != names.end();
}

// One of kFlags.
void ApplyFlag(Options& options, const std::string& name) {
    if (name == "silent")
        options.display = std::max(options.display, Display::Silent);
    else if (name == "verysilent")
        options.display = Display::VerySilent;
    else if (name == "noicons")
        options.no_icons = true;
    else if (name == "suppressmsgboxes")
        options.suppress_message_boxes = true;
    else
        options.help = true;
}

// One of kValueSwitches with its value, unquoted.
std::optional<std::string> ApplyValue(Options& options, const std::string& name, std::string text) {
    std::string unknown;
    if (name == "dir") {
        options.dir = std::move(text);
    } else if (name == "group") {
        options.group = std::move(text);
    } else if (name == "lang") {
        options.language = std::move(text);
    } else if (name == "log") {
        options.log = std::move(text);
    } else if (name == "type") {
        const std::string type = platform::ToLower(text);
        if (type != "server" && type != "client")
            return "unknown installation type \"" + text + "\": server or client";
        options.type = type == "server" ? InstallType::Server : InstallType::Client;
    } else if (name == "tasks") {
        options.tasks = ParseList(text, kTaskNames, unknown);
        if (!options.tasks)
            return "unknown task \"" + unknown + "\": " + Join(kTaskNames, ", ");
    } else {
        options.file_types = ParseList(text, kFileTypeNames, unknown);
        if (!options.file_types)
            return "unknown file type \"" + unknown + "\": " + Join(kFileTypeNames, ", ");
    }
    return std::nullopt;
}

// Applies one switch, its name in lower case; as_written names it in a message.
std::optional<std::string> Apply(Options& options, const std::string& name,
                                 std::optional<std::string> value, std::string_view as_written) {
    const bool flag = !value.has_value();
    const auto needs_value = [&] { return "/" + name + " needs a value: /" + name + "=..."; };
    const bool ignored = std::ranges::any_of(
        kIgnoredSwitches, [&](const IgnoredSwitch& entry) { return name == entry.name; });
    if (Among(kFlags, name) || ignored) {
        if (!flag)
            return "/" + name + " takes no value";
        if (ignored)
            options.ignored.emplace_back(as_written);
        else
            ApplyFlag(options, name);
        return std::nullopt;
    }
    if (name == "log" && flag) {
        options.log = "";
        return std::nullopt;
    }
    if (Among(kValueSwitches, name)) {
        if (flag)
            return needs_value();
        std::string text = Unquoted(*value);
        if (text.empty() && name != "tasks" && name != "filetypes")
            return needs_value();
        return ApplyValue(options, name, std::move(text));
    }
    return "unknown switch \"" + std::string(as_written) + "\"";
}

// What contradicts itself, or asks for unattended choices without an unattended installation.
std::optional<std::string> Conflict(const Options& options) {
    if (options.no_icons && options.group)
        return std::string("/NOICONS and /GROUP exclude each other");
    const bool choices = options.dir || options.group || options.no_icons || options.tasks ||
                         options.file_types || options.language || options.type ||
                         options.suppress_message_boxes;
    if (choices && !options.Unattended())
        return std::string(
            "the choices apply to an unattended installation: add /SILENT or "
            "/VERYSILENT");
    return std::nullopt;
}

}  // namespace

std::variant<Options, UsageError> ParseCommandLine(const std::vector<std::string>& arguments) {
    Options options;
    // The first error is reported; the rest is still read for a /LOG to record it in.
    std::optional<std::string> error;
    for (const std::string& argument : arguments) {
        std::optional<std::string> wrong;
        if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
            wrong = "unexpected argument \"" + argument + "\"";
        } else {
            const std::size_t equals = argument.find('=');
            std::optional<std::string> value;
            if (equals != std::string::npos)
                value = argument.substr(equals + 1);
            wrong = Apply(options, platform::ToLower(argument.substr(1, equals - 1)),
                          std::move(value), std::string_view(argument).substr(0, equals));
        }
        if (!error)
            error = std::move(wrong);
    }
    if (!error)
        error = Conflict(options);
    if (error)
        return UsageError{*error, options.log};
    return options;
}

bool Quiet(const std::vector<std::string>& arguments) {
    const auto given = [&](std::string_view name) {
        return std::ranges::any_of(arguments, [&](const std::string& argument) {
            return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-') &&
                   platform::EqualsIgnoreCase(std::string_view(argument).substr(1), name);
        });
    };
    return given("verysilent") && given("suppressmsgboxes");
}

std::string UsageText() {
    return "setup.exe [switches]\n"
           "\n"
           "Without switches the installation wizard starts.\n"
           "\n"
           "/SILENT             install without the wizard, showing the progress window only\n"
           "/VERYSILENT         install without any window\n"
           "/DIR=\"folder\"       the installation folder\n"
           "/GROUP=\"name\"       the Start-menu program group\n"
           "/NOICONS            no Start-menu program group\n"
           "/TASKS=list         shortcuts to make: desktop, quicklaunch (empty: none)\n"
           "/FILETYPES=list     file types to associate: zkx, zkc, zkl, bzk, zks, mix, zka\n"
           "/LANG=name          the language, as the wizard lists it\n"
           "/TYPE=server|client the installation type of a client/server distribution\n"
           "/SUPPRESSMSGBOXES   answer every question as an administrator would\n"
           "/LOG=\"file\"         write an account of the run to the file (UTF-8); /LOG\n"
           "                    alone: to \"Zinkolar Setup Log DATE #NNN.txt\" in the TEMP folder\n"
           "/NORESTART /SP- /NOCANCEL /CLOSEAPPLICATIONS  accepted and logged; they change\n"
           "                    nothing (no restart, no Cancel, applications always asked)\n"
           "/?                  this text\n"
           "\n"
           "Exit codes: 0 success, 1602 cancelled or a question declined, 1603 a fatal error or\n"
           "a file not copied, 2 bad usage (nothing installed), 1618 another setup is running.\n";
}

std::string Describe(const Options& options) {
    constexpr const char* kDisplays[] = {"wizard", "silent", "very silent"};
    std::string text = std::string("mode ") + kDisplays[static_cast<int>(options.display)];
    const auto add = [&](const char* name, const std::optional<std::string>& value) {
        if (value)
            text += std::string(", ") + name + " \"" + *value + "\"";
    };
    add("folder", options.dir);
    add("group", options.group);
    if (options.no_icons)
        text += ", no group";
    if (options.tasks)
        add("tasks", Join(*options.tasks, ","));
    if (options.file_types)
        add("file types", Join(*options.file_types, ","));
    add("language", options.language);
    if (options.type)
        text += options.type == InstallType::Server ? ", type server" : ", type client";
    if (options.suppress_message_boxes)
        text += ", questions answered by the table";
    if (options.log)
        add("log", options.log->empty() ? std::string("in the temporary folder") : *options.log);
    for (const std::string& ignored : options.ignored) {
        const std::string name = platform::ToLower(std::string_view(ignored).substr(1));
        const auto known = std::ranges::find_if(
            kIgnoredSwitches, [&](const IgnoredSwitch& entry) { return name == entry.name; });
        text += ", " + ignored + " accepted without effect (" + known->why + ")";
    }
    return text;
}

std::string DatedLogPath(const std::string& temp_folder, int year, int month, int day,
                         const std::function<bool(const std::string&)>& taken) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    std::string folder = temp_folder;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    std::string path;
    for (int number = 1; number <= 999; ++number) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, "%03d", number);
        path = folder + "Zinkolar Setup Log " + date + " #" + suffix + ".txt";
        if (!taken(path))
            break;
    }
    return path;
}

}  // namespace app
