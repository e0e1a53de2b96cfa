#include "zkconvert.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>

#include "console_dialogs.h"
#include "convert/convert.h"

namespace zkconvert {
namespace {

constexpr const char* kUsage =
    "usage: zkconvert [--old-version V] [--phonebooks yes|no] [--logbook yes|no]\n"
    "                 [--report FILE] OLD_FOLDER NEW_FOLDER\n"
    "Converts the phone books, the log book and the schedule of a version-4 installation in\n"
    "OLD_FOLDER into the installation in NEW_FOLDER. V is the old version (default 4); a\n"
    "question without its option is asked here. A file in NEW_FOLDER that a conversion\n"
    "replaces is kept first as NAME.bak (NAME.2.bak ... when that is taken), and said so; a\n"
    "file that cannot be kept is not replaced. --report writes what was asked and shown as\n"
    "JSON. Exit status: 0 done or declined, 1 nothing to convert in OLD_FOLDER or a\n"
    "conversion failed, 2 bad usage.\n";

struct Options {
    std::string old_version = "4";
    std::optional<bool> phone_books;
    std::optional<bool> log_book;
    std::string report;
    std::string old_folder;
    std::string new_folder;
};

std::optional<bool> YesNo(const std::string& value) {
    if (value == "yes")
        return true;
    if (value == "no")
        return false;
    return std::nullopt;
}

// The options, or nullopt for anything else.
std::optional<Options> Parse(const std::vector<std::string>& arguments) {
    Options options;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.starts_with("--")) {
            folders.push_back(argument);
            continue;
        }
        if (i + 1 == arguments.size())
            return std::nullopt;
        const std::string& value = arguments[++i];
        if (argument == "--old-version") {
            options.old_version = value;
        } else if (argument == "--report") {
            options.report = value;
        } else if (argument == "--phonebooks" && YesNo(value)) {
            options.phone_books = YesNo(value);
        } else if (argument == "--logbook" && YesNo(value)) {
            options.log_book = YesNo(value);
        } else {
            return std::nullopt;
        }
    }
    if (folders.size() != 2)
        return std::nullopt;
    options.old_folder = folders[0];
    options.new_folder = folders[1];
    return options;
}

std::string Json(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            quoted += "\\u00";
            quoted += kHex[(c >> 4) & 0xF];
            quoted += kHex[c & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Json(const std::vector<std::string>& texts) {
    std::string list = "[";
    for (const std::string& text : texts)
        list += (list.size() > 1 ? ", " : "") + Json(text);
    return list + "]";
}

std::string Report(std::uint32_t log_count, const ConsoleDialogs& dialogs,
                   const std::vector<std::string>& progress) {
    return "{\"ConvertedLogCount\": " + std::to_string(log_count) +
           ", \"questions\": " + Json(dialogs.Questions()) +
           ", \"messages\": " + Json(dialogs.Messages()) + ", \"progress\": " + Json(progress) +
           "}\n";
}

}  // namespace

int Run(const std::vector<std::string>& arguments, platform::FileSystem& files,
        const platform::TextCodec& codec, std::istream& in, std::ostream& out) {
    const std::optional<Options> options = Parse(arguments);
    if (!options) {
        out << kUsage;
        return 2;
    }
    // The built-in texts: no language file is opened.
    const language::Language language(files, codec, "");
    ConsoleDialogs dialogs(language,
                           {{language::keys::cConvertPhoneBook, options->phone_books},
                            {language::keys::cConverLogBook, options->log_book}},
                           in, out);
    std::vector<std::string> progress;
    const convert::Context context{
        files,
        codec,
        language,
        dialogs,
        [&](const std::string& text) {
            progress.push_back(text);
            out << text << '\n';
        },
        [&](const std::string& kept) { out << "The replaced file was kept as " << kept << "\n"; }};
    const Options& o = *options;
    if (!convert::HasOldData(files, o.old_folder)) {
        out << "Nothing to convert was found in " << o.old_folder
            << ": no phone books (spr\\*.zkb) and no logs (service\\receive.zlg, "
               "service\\send.zlg).\n";
        return 1;
    }
    out << "Converting the data of version " << o.old_version << " in " << o.old_folder << " into "
        << o.new_folder << "\n== Phone books\n";
    convert::ConvertPhoneBooks(context, o.old_folder, o.old_version, o.new_folder);
    out << "== Log book\n";
    const std::uint32_t log_count =
        convert::ConvertLogBook(context, o.old_folder, o.old_version, o.new_folder);
    out << "Log records converted: " << log_count << "\n== Schedule\n";
    convert::ConvertSchedule(context, o.new_folder);

    bool failed = !dialogs.Messages().empty();
    if (!o.report.empty() && !files.WriteFile(o.report, Report(log_count, dialogs, progress))) {
        out << "Error: the report " << o.report << " could not be written\n";
        failed = true;
    }
    out << (failed ? "Finished with errors.\n" : "Finished.\n");
    return failed ? 1 : 0;
}

}  // namespace zkconvert
