#pragma once
// The shell-link (.lnk) file, written by the program itself: the platform's shell-link object
// takes milliseconds per link under Wine to build an item list that the system rebuilds from the
// path anyway.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/system.h"
#include "platform/text.h"

namespace platform {

// The drive a link's target lies on.
struct LinkVolume {
    std::uint32_t drive_type = 0;  // GetDriveType's value
    std::uint32_t serial = 0;
    std::string label;
};

// What a link keeps of its target and the target's volume, as they were when it was made; all
// zero for a target that is not there (yet).
struct LinkTargetFacts {
    std::uint32_t attributes = 0;
    std::uint64_t creation_time = 0;  // FILETIME values
    std::uint64_t access_time = 0;
    std::uint64_t write_time = 0;
    std::uint64_t size = 0;
    LinkVolume volume;
};

// The bytes of the link file; nullopt for a target that is neither on a drive ("C:\...") nor
// on a share ("\\server\share\..."), which no link can name.
std::optional<std::string> LinkFileBytes(const ShellLink& link, const LinkTargetFacts& facts,
                                         const TextCodec& ansi);

// The target, arguments and working directory of a link file as any writer of the format puts
// them (the system's own object adds an item list, extra data and other strings: skipped). The
// target is the link information's path; nullopt for bytes that are no whole link, or a link
// without that information (one that only its item list names, as a shell item that is no
// file): read without the platform's shell-link object, which needs COM's apartment and, under
// Wine, the whole window system.
std::optional<ShellLink> ReadLinkFile(std::string_view bytes, const TextCodec& ansi);

}  // namespace platform
