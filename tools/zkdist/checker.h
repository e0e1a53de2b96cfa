#pragma once
// What the checks of one distribution share: its files, the findings so far and every profile
// file read once (so that a file's reading findings are reported once).
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "dist_check.h"
#include "pe_image.h"
#include "profile_file.h"

namespace zkdist {

struct Checker {
    const platform::FileSystem& files;
    const platform::TextCodec& codec;
    std::string dist;
    std::vector<Finding> findings;
    std::map<std::string, ProfileFile> profiles;  // by lower-case name

    std::string PathOf(const std::string& name) const { return dist + "\\" + name; }
    void Add(const std::string& file, int line, std::string message) {
        findings.push_back({file, line, std::move(message)});
    }
    // The profile file of that name in the distribution, read on first use.
    const ProfileFile& Profile(const std::string& name);
    // The facts of a program or library, nullopt with a finding when it is missing or none.
    std::optional<PeFacts> Binary(const std::string& name, const std::string& missing);
};

// setup.ini [main] and the language sections; the distribution's kind decides the scripts.
void CheckSetupIni(Checker& checker, bool client_server);
// The installation scripts of the distribution's kind.
void CheckScripts(Checker& checker, bool client_server);
// Every *.lng beside setup.exe against the program's text table.
void CheckLanguageFiles(Checker& checker);
// res.dll; whether it marks a client/server distribution.
bool CheckBranding(Checker& checker);
// The service and printer-setup libraries' exports.
void CheckProductLibraries(Checker& checker);

}  // namespace zkdist
