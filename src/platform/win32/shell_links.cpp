// Shell links through the platform's shell-link object (IShellLinkW and its IPersistFile).
#include <shlobj.h>

#include <string>

#include "platform/win32/file_writes.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

UniqueCom<IShellLinkW> MakeShellLink() {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return nullptr;
    }
    return UniqueCom<IShellLinkW>(link);
}

UniqueCom<IPersistFile> PersistFileOf(IShellLinkW& link) {
    IPersistFile* file = nullptr;
    if (FAILED(link.QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        return nullptr;
    return UniqueCom<IPersistFile>(file);
}

// A text property of a link, read through a buffer of the platform's size for it.
template <typename Get>
std::string Property(Get get, int size) {
    std::wstring buffer(static_cast<size_t>(size), L'\0');
    if (FAILED(get(buffer.data(), size)))
        return {};
    buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
    return Narrow(buffer);
}

}  // namespace

std::optional<Status> Win32Shell::CreateLink(const ShellLink& link, const std::string& file) {
    const auto shell_link = MakeShellLink();
    if (!shell_link || FAILED(shell_link->SetPath(Wide(link.target).c_str())) ||
        FAILED(shell_link->SetArguments(Wide(link.arguments).c_str())) ||
        FAILED(shell_link->SetWorkingDirectory(Wide(link.working_directory).c_str()))) {
        return std::nullopt;
    }
    // Saved through the link's stream into memory and written here: a save through its file
    // interface also starts the desktop's link processor under Wine, a process of its own for
    // every link (about twenty milliseconds each).
    IPersistStream* raw_persist = nullptr;
    if (FAILED(
            shell_link->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&raw_persist))))
        return std::nullopt;
    const UniqueCom<IPersistStream> persist(raw_persist);
    IStream* raw_stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &raw_stream)))
        return std::nullopt;
    const UniqueCom<IStream> stream(raw_stream);
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(persist->Save(stream.get(), TRUE)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(stream.get(), &memory)))
        return std::nullopt;
    const std::wstring path = Wide(file);
    UniqueFile out(ValidOrNull(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!out)
        return Status::Failure(GetLastError());
    const Status written = WriteWhole(out.get(), {static_cast<const char*>(GlobalLock(memory)),
                                                  static_cast<std::size_t>(stat.cbSize.QuadPart)});
    GlobalUnlock(memory);
    if (!written) {
        out.reset();
        DeleteFileW(path.c_str());  // no half link behind
        return written;
    }
    SHChangeNotify(SHCNE_CREATE, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, path.c_str(), nullptr);
    return Status::Success();
}

std::optional<ShellLink> Win32Shell::ReadLink(const std::string& file) const {
    const auto shell_link = MakeShellLink();
    if (!shell_link)
        return std::nullopt;
    const auto persist = PersistFileOf(*shell_link);
    if (!persist || FAILED(persist->Load(Wide(file).c_str(), STGM_READ)))
        return std::nullopt;
    IShellLinkW& link = *shell_link;
    return ShellLink{
        Property([&](wchar_t* b, int n) { return link.GetPath(b, n, nullptr, SLGP_RAWPATH); },
                 MAX_PATH),
        Property([&](wchar_t* b, int n) { return link.GetArguments(b, n); }, INFOTIPSIZE),
        Property([&](wchar_t* b, int n) { return link.GetWorkingDirectory(b, n); }, MAX_PATH)};
}

}  // namespace platform
