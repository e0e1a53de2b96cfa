// The destination page: the folder field, the folder list and the drive list linked
// together, the space texts, and the checks that guard the way on.
#include <algorithm>

#include "language/format.h"
#include "wizard/disk_space.h"
#include "wizard/path_rules.h"
#include "wizard/wizard.h"

namespace wizard {
namespace {

namespace keys = language::keys;
using ui::DialogButton;
using ui::DialogKind;

constexpr char kIndent[] = "  ";

// "c:\Program Files\Zinkolar" as {"c:", "Program Files", "Zinkolar"}.
std::vector<std::string> Components(const std::string& folder) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= folder.size()) {
        const size_t end = folder.find('\\', start);
        const std::string part =
            folder.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty())
            parts.push_back(part);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::vector<std::string>& parts, size_t count) {
    std::string folder = parts[0] + "\\";
    for (size_t i = 1; i < count; ++i)
        folder += (i > 1 ? "\\" : "") + parts[i];
    return folder;
}

std::string DriveOf(const std::string& folder) {
    return platform::ToLower(folder.substr(0, 2));
}

}  // namespace

void Wizard::ShowDestinationPage() {
    form_[kPathField].SetText(destination_);
    form_.SetControlsVisible({kShortcutPanel, kGroupList, kAcceptButton, kDeclineButton,
                              kTextViewer, kNote, kAllButton, kNoneButton},
                             false);
    form_.SetControlsVisible(
        {kPathField, kDriveList, kFolderList, kSidePicture, kNextButton, kCancelButton, kSpaceText},
        true);
    form_[kTitle].SetText(Text(keys::cSelectionDir));
    form_[kSpaceText].SetText(
        SpaceTextOnEntry({Text(keys::cNeed), Text(keys::cExest), Text(keys::cMbyte)},
                         config_.need_disk_space, SelectedDriveFreeSpace()));
    form_[kPrompt].SetText(Text(keys::cSelectDir));
    form_.SetFocus(form_[kNextButton]);
}

void Wizard::ListDrives() {
    std::vector<std::string> drives;
    for (const auto& root : platform_.system.Drives())
        drives.push_back(DriveOf(root));
    form_[kDriveList].SetItems(std::move(drives));
}

void Wizard::PointFolderList(const std::string& folder) {
    const std::vector<std::string> parts = Components(folder);
    if (parts.empty())
        return;
    folder_list_dir_ = Join(parts, parts.size());
    platform::IgnoreFailure(platform_.system.ChangeDirectory(folder_list_dir_),
                            "the list reads its folder by full path");

    auto& drives = form_[kDriveList];
    const auto& items = drives.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == DriveOf(folder_list_dir_))
            drives.SetItemIndex(static_cast<int>(i));
    }

    std::vector<std::string> lines{DriveOf(folder_list_dir_) + "\\"};
    std::string indent = kIndent;
    for (size_t i = 1; i < parts.size(); ++i, indent += kIndent)
        lines.push_back(indent + parts[i]);
    std::vector<std::string> children;
    for (const auto& entry :
         platform_.files.FindFiles(WithTrailingBackslash(folder_list_dir_) + "*").value_or({})) {
        if (entry.directory && entry.name != "." && entry.name != "..")
            children.push_back(entry.name);
    }
    std::sort(children.begin(), children.end(), platform::LessIgnoreCase());
    for (const auto& child : children)
        lines.push_back(indent + child);
    auto& list = form_[kFolderList];
    list.SetItems(std::move(lines));
    list.SetItemIndex(static_cast<int>(parts.size()) - 1);
    OnFolderListChange();
}

void Wizard::OnFolderListChosen() {
    auto& list = form_[kFolderList];
    const int index = list.ItemIndex();
    if (index < 0)
        return;
    const std::vector<std::string> parts = Components(folder_list_dir_);
    if (static_cast<size_t>(index) < parts.size()) {
        PointFolderList(Join(parts, static_cast<size_t>(index) + 1));
        return;
    }
    // The indentation goes, a blank that begins the folder's name stays.
    const std::string child = list.Items()[index].substr(parts.size() * (sizeof kIndent - 1));
    PointFolderList(WithTrailingBackslash(folder_list_dir_) + child);
}

void Wizard::OnFolderListChange() {
    form_[kPathField].SetText(folder_list_dir_);
}

void Wizard::SelectDrive(int index) {
    auto& drives = form_[kDriveList];
    if (index < 0 || index >= static_cast<int>(drives.Items().size()))
        return;
    const std::string drive = drives.Items()[index];
    if (drive == DriveOf(folder_list_dir_))
        return;
    drives.SetItemIndex(index);
    // The folder list reports its change first, the drive list after it.
    PointFolderList(platform_.system.CurrentDirectoryOf(drive).value_or(drive.substr(0, 2) + "\\"));
    OnDriveChange();
}

void Wizard::OnFolderFieldChange() {
    const std::string& text = form_[kPathField].Text();
    if (page_ != Page::Destination || text.empty())
        return;
    const std::string drive = platform::ToLower(text.substr(0, 1)) + ":";
    if (drive[0] < 'a' || drive[0] > 'z')
        return;
    const auto& items = form_[kDriveList].Items();
    const auto found = std::find(items.begin(), items.end(), drive);
    if (found == items.end())
        return;
    const std::string typed = text;
    SelectDrive(static_cast<int>(found - items.begin()));
    // The drive change proposes the drive's folder; a folder given in full is the user's choice
    // and stays as it was typed (or as the destination came in).
    if (IsFullPath(typed))
        form_[kPathField].SetText(typed);
}

void Wizard::OnDriveChange() {
    form_[kSpaceText].SetText(
        SpaceTextAfterDriveChange({Text(keys::cNeed), Text(keys::cExest), Text(keys::cMbyte)},
                                  config_.need_disk_space, SelectedDriveFreeSpace()));
    form_[kPathField].SetText(WithTrailingBackslash(folder_list_dir_) + config_.install_path);
}

std::int64_t Wizard::SelectedDriveFreeSpace() const {
    const std::string drive = form_[kDriveList].SelectedItem();
    return drive.empty() ? -1 : platform_.system.FreeSpace(drive + "\\").value_or(-1);
}

bool Wizard::TakeDestination() {
    // "/" stands for "\" in the platform's paths; so it does here, and in /DIR.
    std::string typed = form_[kPathField].Text();
    std::ranges::replace(typed, '/', '\\');
    const std::string folder = WithoutTrailingBackslash(typed);
    NameVerdict verdict = CheckFolder(folder, platform_.codec, PathsBelowDestination());
    if (verdict != NameVerdict::Malformed && !RootExists(RootOf(folder)))
        verdict = NameVerdict::Malformed;
    if (!NameAccepted(verdict))
        return false;
    destination_ = folder;
    return true;
}

PathsBelow Wizard::PathsBelowDestination() const {
    // A script that cannot be read is the run's to report: it ends before copying anything.
    const std::optional<script::Script> script = script::Script::Load(
        platform_.files, platform_.codec, config_.source_dir + "\\" + config_.script_file_name);
    return script ? MeasureScript(*script, config_.platform_code) : PathsBelow{};
}

bool Wizard::RootExists(const std::string& root) const {
    if (!root.starts_with("\\\\")) {
        const auto drives = platform_.system.Drives();
        return std::find(drives.begin(), drives.end(), root) != drives.end();
    }
    return platform_.files.DirectoryExists(root);
}

bool Wizard::NameAccepted(NameVerdict verdict) {
    if (verdict == NameVerdict::Accepted)
        return true;
    Ask(verdict == NameVerdict::HoldsEquals ? keys::cBadDirChar : keys::cBadDir, DialogKind::Error,
        {DialogButton::Ok});
    return false;
}

bool Wizard::DestinationChecksPass() {
    const std::string& old_version = folders_.old_version;
    if (!old_version.empty() && old_version[0] == '4' &&
        platform::ToLower(destination_) == platform::ToLower(folders_.old_install_path)) {
        Ask(keys::cErrorVersion, DialogKind::Confirmation, {DialogButton::Ok});
        return false;
    }
    if (SelectedDriveFreeSpace() < config_.need_disk_space &&
        Ask(keys::cSizeError, DialogKind::Confirmation, {DialogButton::Yes, DialogButton::No}) ==
            DialogButton::No) {
        form_.RequestClose();
        return false;
    }
    return true;
}

}  // namespace wizard
