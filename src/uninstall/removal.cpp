#include "uninstall/removal.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "install/product_libraries.h"
#include "install/removal_rules.h"
#include "install/shared_files.h"
#include "platform/text.h"
#include "script/trace_text.h"

namespace uninstall {
namespace {

using platform::Result;

// Gone already: what the operation was to bring about.
bool Missing(const Result<void>& status) {
    return status.code() == platform::kErrorFileNotFound ||
           status.code() == platform::kErrorPathNotFound;
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

bool IsUninstaller(const Operation& operation) {
    return operation.step == Step::Folders && operation.action == Action::DeleteFile &&
           platform::EqualsIgnoreCase(operation.path.substr(operation.path.rfind('\\') + 1),
                                      kUninstallerName);
}

// An installed file keeps its source's attributes, and the platform refuses to delete or replace
// a read-only one: the attribute of the file the operation names is cleared and the operation
// tried again, and put back when the file stays all the same. Nothing else is made writable.
template <class Call>
Result<void> OnWritable(platform::FileSystem& files, const std::string& path, Call operation) {
    Result<void> status = operation();
    if (status.code() != platform::kErrorAccessDenied)
        return status;
    const auto info = files.Info(path);
    if (!info || info->Directory() || (info->attributes & platform::kAttributeReadOnly) == 0)
        return status;
    if (!files.SetAttributes(path, info->attributes & ~platform::kAttributeReadOnly))
        return status;
    Result<void> again = operation();
    if (!again)
        platform::IgnoreFailure(files.SetAttributes(path, info->attributes),
                                "the operation's own failure is what is reported");
    return again;
}

class Remover {
  public:
    Remover(const platform::Platform& platform, RemovalOutcome& outcome)
        : platform_(platform), outcome_(outcome) {}

    void Run(const Operation& operation) {
        kept_ = false;
        const std::optional<std::string> failure = Do(operation);
        if (kept_) {
            platform_.trace.Line("Stays, not empty: " + operation.path);
        } else if (failure) {
            platform_.trace.Line("Not done: " + Describe(operation) + ": " + *failure);
            outcome_.left.push_back({LeftItem::Kind::Failed, Target(operation), *failure});
        } else {
            platform_.trace.Line("Done: " + Describe(operation));
        }
    }

    // An operation handed to the program that carries it out after this one: a folder that
    // will stay is told as one that stayed.
    void HandOver(const Operation& operation) {
        const std::string lower = platform::ToLower(operation.path);
        if (operation.action == Action::RemoveFolder &&
            platform_.files.DirectoryExists(operation.path) && HoldsAny(lower, handed_)) {
            Kept(operation.path);
            platform_.trace.Line("Stays, not empty: " + operation.path);
            return;
        }
        handed_.insert(lower);
        platform_.trace.Line("Handed over: " + Describe(operation));
    }

    // A folder that stayed because it holds more than the folders that stayed below it and what
    // was handed over: the user's content.
    void TellFoldersLeft() {
        std::set<std::string> not_own = handed_;
        not_own.insert(not_empty_.begin(), not_empty_.end());
        for (const std::string& folder : not_empty_) {
            if (HoldsAny(folder, not_own))
                outcome_.left.push_back({LeftItem::Kind::UserContent, originals_.at(folder), ""});
        }
    }

  private:
    static std::string Target(const Operation& operation) {
        switch (operation.action) {
            case Action::DeleteValue:
                return operation.path + "|" + operation.detail;
            case Action::DeleteWinIni:
                return "win.ini [" + operation.path + "] " + operation.detail;
            default:
                return operation.path;
        }
    }

    static std::optional<std::string> Failure(const Result<void>& status) {
        if (status || Missing(status))
            return std::nullopt;
        return script::ErrorText(status);
    }

    // The failure's text; nullopt when the operation's end is reached.
    std::optional<std::string> Do(const Operation& operation) {
        platform::FileSystem& files = platform_.files;
        platform::Registry& registry = platform_.registry;
        switch (operation.action) {
            case Action::RemoveService: {
                const auto removed = install::DeleteProductService(platform_.libraries);
                return removed ? std::nullopt : std::optional(removed.error().text + " missing");
            }
            case Action::DeletePrinter:
                return DeletePrinter();
            case Action::DeleteFile:
                return Failure(Delete(operation.path));
            case Action::RestoreBackup:
                return Failure(OnWritable(files, operation.path, [&] {
                    return files.MoveReplacing(operation.detail, operation.path);
                }));
            case Action::ReleaseSharedFile:
                return ReleaseShared(operation.path);
            case Action::DeleteKey: {
                const Result<void> status = registry.DeleteTree(operation.root, operation.path);
                if (!status && !Missing(status))
                    return script::ErrorText(status);
                Prune(operation);
                return std::nullopt;
            }
            case Action::DeleteValue:
                // A value that is not there is as good as deleted; the key is looked at anyway.
                platform::IgnoreFailure(
                    registry.DeleteValue(operation.root, operation.path, operation.detail),
                    "the read below tells");
                if (registry.ReadString(operation.root, operation.path, operation.detail))
                    return "the value stays";
                Prune(operation);
                return std::nullopt;
            case Action::DeleteWinIni:
                return Failure(platform_.system.DeleteWinIni(operation.path, operation.detail));
            case Action::RemoveFolder: {
                const Result<void> status = files.RemoveDirectory(operation.path);
                if (status.code() == platform::kErrorDirNotEmpty) {
                    Kept(operation.path);
                    kept_ = true;
                    return std::nullopt;
                }
                return Failure(status);
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> DeletePrinter() {
        const auto printer = install::PrinterSetup::Load(platform_.libraries);
        if (!printer)
            return printer.error().text + " missing";
        const auto code = install::QueryPlatformCode(platform_.libraries);
        if (!code)
            return code.error().text + " missing";
        const auto deleted = printer->DeletePrinter(*code);
        return deleted ? std::nullopt : std::optional(deleted.error().text + " missing");
    }

    std::optional<std::string> ReleaseShared(const std::string& file) {
        const install::SharedFileRelease release =
            install::ReleaseSharedFileUse(platform_.registry, file);
        if (!release.status)
            return script::ErrorText(release.status);
        switch (release.use) {
            case install::SharedFileUse::NotCounted:
                outcome_.left.push_back({LeftItem::Kind::Shared, file, "not counted"});
                return std::nullopt;
            case install::SharedFileUse::StillUsed:
                outcome_.left.push_back({LeftItem::Kind::Shared, file, "still used"});
                return std::nullopt;
            case install::SharedFileUse::Unused:
                break;
        }
        // The counter's key goes when this was its last file (it was made for it).
        platform::IgnoreFailure(platform_.registry.DeleteEmptyKey(
                                    platform::RegistryRoot::LocalMachine, install::kSharedDllsKey),
                                "a key that holds other counters stays");
        return Failure(Delete(file));
    }

    Result<void> Delete(const std::string& file) {
        return OnWritable(platform_.files, file, [&] { return platform_.files.DeleteFile(file); });
    }

    void Kept(const std::string& folder) {
        const std::string lower = platform::ToLower(folder);
        not_empty_.insert(lower);
        originals_.emplace(lower, folder);
    }

    // Whether the folder (lower case) holds an entry other than those named in except.
    bool HoldsAny(const std::string& folder, const std::set<std::string>& except) const {
        const auto entries = platform_.files.FindFiles(folder + "\\*").value_or({});
        return std::ranges::any_of(entries, [&](const auto& entry) {
            return entry.name != "." && entry.name != ".." &&
                   !except.contains(platform::ToLower(folder + "\\" + entry.name));
        });
    }

    // The keys above that the item leaves empty, up to prune_below.
    void Prune(const Operation& operation) {
        if (operation.prune_below.empty())
            return;
        const std::string stop = platform::ToLower(operation.prune_below);
        std::string key =
            operation.action == Action::DeleteKey ? ParentOf(operation.path) : operation.path;
        while (key.find('\\') != std::string::npos && platform::ToLower(key) != stop &&
               platform::ToLower(key).starts_with(stop + "\\") &&
               platform_.registry.DeleteEmptyKey(operation.root, key))
            key = ParentOf(key);
    }

    const platform::Platform& platform_;
    RemovalOutcome& outcome_;
    bool kept_ = false;                             // the last folder stayed, not empty
    std::set<std::string> not_empty_;               // lower-case folders that stayed
    std::set<std::string> handed_;                  // lower-case paths handed over
    std::map<std::string, std::string> originals_;  // lower-case -> as written
};

}  // namespace

bool RemovalOutcome::Incomplete() const {
    return std::ranges::any_of(left, [](const LeftItem& item) {
        return item.kind == LeftItem::Kind::Failed || item.kind == LeftItem::Kind::Refused;
    });
}

RemovalOutcome CarryOut(const RemovalPlan& plan, const platform::Platform& platform,
                        const RemovalCallbacks& callbacks) {
    RemovalOutcome outcome;
    for (const Refusal& refusal : plan.refused) {
        platform.trace.Line("Record not followed: " + refusal.record + ": " + refusal.reason);
        if (refusal.kind == Refusal::Kind::Unsound)
            outcome.left.push_back({LeftItem::Kind::Refused, refusal.record, refusal.reason});
        else if (refusal.kind == Refusal::Kind::Kept)
            outcome.left.push_back({LeftItem::Kind::Kept, refusal.record, refusal.reason});
    }
    Remover remover(platform, outcome);
    std::optional<Step> step;
    bool handed = false;
    const std::span<const Operation> operations(plan.operations);
    for (std::size_t i = 0; i < operations.size(); ++i) {
        const Operation& operation = operations[i];
        if (step != operation.step) {
            step = operation.step;
            if (callbacks.step)
                callbacks.step(*step);
        }
        if (!handed && callbacks.hand_over && IsUninstaller(operation))
            handed = callbacks.hand_over(operations.subspan(i));
        if (handed)
            remover.HandOver(operation);
        else
            remover.Run(operation);
        if (callbacks.done)
            callbacks.done(operation);
    }
    remover.TellFoldersLeft();
    return outcome;
}

std::string WriteHandedOver(std::span<const Operation> rest) {
    std::string text;
    for (const Operation& operation : rest)
        text += Describe(operation) + "\n";
    return text;
}

RemovalPlan ReadHandedOver(std::string_view text) {
    RemovalPlan plan;
    const std::string delete_file = Describe({Step::Folders, Action::DeleteFile, ""});
    const std::string remove_folder = Describe({Step::Folders, Action::RemoveFolder, ""});
    for (std::size_t start = 0, end = 0; (end = text.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        const std::string_view line = text.substr(start, end - start);
        for (const Action action : {Action::DeleteFile, Action::RemoveFolder}) {
            const std::string& prefix = action == Action::DeleteFile ? delete_file : remove_folder;
            if (!line.starts_with(prefix))
                continue;
            Operation operation{Step::Folders, action, std::string(line.substr(prefix.size()))};
            if (install::IsPlainAbsolutePath(operation.path) &&
                (action == Action::RemoveFolder || IsUninstaller(operation)))
                plan.operations.push_back(std::move(operation));
        }
    }
    return plan;
}

}  // namespace uninstall
