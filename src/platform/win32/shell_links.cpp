// Shell links: written and read as files by the program (platform/link_file.h).
#include <shlobj.h>

#include <optional>
#include <string>
#include <utility>

#include "platform/link_file.h"
#include "platform/win32/file_writes.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
LinkTargetFacts Win32Shell::TargetFacts(const std::string& target) {
    LinkTargetFacts facts;
    const std::wstring path = Wide(target);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const auto time = [](const FILETIME& t) {
            return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
        };
        facts.attributes = data.dwFileAttributes;
        facts.creation_time = time(data.ftCreationTime);
        facts.access_time = time(data.ftLastAccessTime);
        facts.write_time = time(data.ftLastWriteTime);
        facts.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    }
    if (path.size() < 3 || path[1] != L':')
        return facts;
    // Asked once per drive: a volume query goes to the volume manager, another process.
    const std::wstring root = path.substr(0, 3);
    auto known = volumes_.find(root);
    if (known == volumes_.end()) {
        wchar_t label[MAX_PATH + 1] = {};
        DWORD serial = 0;
        if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr,
                                   nullptr, 0)) {
            label[0] = L'\0';
            serial = 0;
        }
        known =
            volumes_.emplace(root, LinkVolume{GetDriveTypeW(root.c_str()), serial, Narrow(label)})
                .first;
    }
    facts.volume = known->second;
    return facts;
}

Result<void> Win32Shell::CreateLink(const ShellLink& link, const std::string& file) {
    const std::optional<std::string> bytes = LinkFileBytes(link, TargetFacts(link.target), codec_);
    if (!bytes)
        return Failure(kErrorNotLinkable, file);
    const std::wstring path = Wide(file);
    UniqueFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return Failure(GetLastError());
    const Result<void> written = WriteWhole(out.get(), *bytes);
    if (!written) {
        out.reset();
        DeleteFileW(path.c_str());  // no half link behind
        return written;
    }
    link_folders_.insert(path.substr(0, path.rfind(L'\\')));
    return Success();
}

void Win32Shell::AnnounceLinks() {
    for (const std::wstring& folder : link_folders_)
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, folder.c_str(), nullptr);
    link_folders_.clear();
}

Result<ShellLink> Win32Shell::ReadLink(const std::string& file) const {
    const Result<std::string> bytes = Win32FileSystem().ReadFile(file);
    if (!bytes)
        return bytes.error();
    std::optional<ShellLink> link = ReadLinkFile(*bytes, codec_);
    if (!link)
        return Failure(kErrorInvalidData, "not a link to a path: " + file);
    return std::move(*link);
}

}  // namespace platform
