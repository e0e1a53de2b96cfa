#include "platform/fake/fake_files.h"

#include "platform/text.h"

namespace platform {
namespace {

// A path from the root of the current drive ("\\x") is on drive C:, which the fake takes as
// the current drive.
std::string Resolve(const std::string& path) {
    const bool from_root = !path.empty() && path[0] == '\\' && (path.size() < 2 || path[1] != '\\');
    return from_root ? "C:" + path : path;
}

std::string Key(const std::string& path) {
    std::string key = ToLower(Resolve(path));
    while (!key.empty() && key.back() == '\\')
        key.pop_back();
    return key;
}

std::string ParentOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern.empty())
        return name.empty();
    if (pattern[0] == '*') {
        for (size_t skip = 0; skip <= name.size(); ++skip) {
            if (WildcardMatch(pattern.substr(1), name.substr(skip)))
                return true;
        }
        return false;
    }
    if (name.empty())
        return false;
    if (pattern[0] != '?' && !EqualsIgnoreCase(pattern.substr(0, 1), name.substr(0, 1))) {
        return false;
    }
    return WildcardMatch(pattern.substr(1), name.substr(1));
}

void FakeFileSystem::AddDirectory(const std::string& path) {
    std::string clean = path;
    while (!clean.empty() && clean.back() == '\\')
        clean.pop_back();
    if (clean.empty())
        return;
    directories_.emplace(Key(clean), clean);
    AddDirectory(ParentOf(clean));
}

void FakeFileSystem::AddFile(const std::string& path, std::string bytes) {
    AddDirectory(ParentOf(path));
    files_[Key(path)] = Entry{path, std::move(bytes)};
}

void FakeFileSystem::Remove(const std::string& path) {
    files_.erase(Key(path));
    directories_.erase(Key(path));
}

std::optional<std::string> FakeFileSystem::Bytes(const std::string& path) const {
    const auto found = files_.find(Key(path));
    if (found == files_.end())
        return std::nullopt;
    return found->second.bytes;
}

bool FakeFileSystem::FileExists(const std::string& path) const {
    return files_.contains(Key(path));
}

bool FakeFileSystem::DirectoryExists(const std::string& path) const {
    return directories_.contains(Key(path));
}

std::vector<FileEntry> FakeFileSystem::FindFiles(const std::string& pattern) const {
    std::vector<FileEntry> found;
    const std::string folder = Key(ParentOf(Resolve(pattern)));
    const std::string mask = NameOf(pattern);
    if (!directories_.contains(folder))
        return found;
    for (const char* dots : {".", ".."}) {
        if (WildcardMatch(mask, dots))
            found.push_back({dots, true});
    }
    const auto in_folder = [&](const std::string& key) { return Key(ParentOf(key)) == folder; };
    for (const auto& [key, dir] : directories_) {
        if (in_folder(key) && WildcardMatch(mask, NameOf(dir)))
            found.push_back({NameOf(dir), true});
    }
    for (const auto& [key, entry] : files_) {
        if (in_folder(key) && WildcardMatch(mask, NameOf(entry.path))) {
            found.push_back({NameOf(entry.path), false});
        }
    }
    return found;
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::string& path) const {
    if (fail_reads)
        return std::nullopt;
    return Bytes(path);
}

bool FakeFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    if (fail_writes || !DirectoryExists(ParentOf(path)))
        return false;
    const auto found = files_.find(Key(path));
    if (found != files_.end()) {
        found->second.bytes = std::string(bytes);
    } else {
        files_[Key(path)] = Entry{path, std::string(bytes)};
    }
    return true;
}

}  // namespace platform
