#pragma once
// Shell links read through lnkinfo (liblnk-utils), an independent reader of the link format run
// on the Linux side.
#include <string>

namespace e2e {

// A link as lnkinfo reads it.
struct LinkFields {
    std::string target;
    std::string arguments;
    std::string working_directory;
};

// The Linux path of a Windows path, through Wine's own conversion; throws when there is none.
std::string UnixPath(const std::wstring& path);

// Runs lnkinfo on a link file; throws when it cannot or finds no target.
LinkFields ReadLink(const std::wstring& link);

}  // namespace e2e
