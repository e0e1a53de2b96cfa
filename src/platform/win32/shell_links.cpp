// Shell links through the platform's shell-link object (IShellLinkW and its IPersistFile).
#include <shlobj.h>

#include <string>

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

// A failed save as the platform's error code where it carries one (a missing folder, a denied
// file), else the COM result itself.
Status StatusOf(HRESULT result) {
    if (SUCCEEDED(result))
        return Status::Success();
    if (HRESULT_FACILITY(result) == FACILITY_WIN32)
        return Status::Failure(HRESULT_CODE(result));
    return Status::Failure(static_cast<std::uint32_t>(result));
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
    const auto persist = PersistFileOf(*shell_link);
    if (!persist)
        return std::nullopt;
    return StatusOf(persist->Save(Wide(file).c_str(), TRUE));
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
