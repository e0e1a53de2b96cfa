#include "dist_check.h"

#include "checker.h"

namespace zkdist {

std::string FormatFinding(const Finding& finding) {
    return finding.file + (finding.line > 0 ? ":" + std::to_string(finding.line) : "") + ": " +
           finding.message;
}

const ProfileFile& Checker::Profile(const std::string& name) {
    const std::string key = platform::ToLower(name);
    if (const auto known = profiles.find(key); known != profiles.end())
        return known->second;
    ProfileFile file = ProfileFile::Load(
        files, codec, PathOf(name),
        [this, &name](int line, const std::string& message) { Add(name, line, message); });
    return profiles.emplace(key, std::move(file)).first->second;
}

std::optional<PeFacts> Checker::Binary(const std::string& name, const std::string& missing) {
    const platform::Result<std::string> bytes = files.ReadFile(PathOf(name));
    if (!bytes) {
        Add(name, 0, "missing: " + missing);
        return std::nullopt;
    }
    std::optional<PeFacts> facts = ReadPeFacts(*bytes);
    if (!facts)
        Add(name, 0, "not a Windows program or library: " + missing);
    return facts;
}

std::vector<Finding> CheckDistribution(const platform::FileSystem& files,
                                       const platform::TextCodec& codec, const std::string& dist) {
    Checker checker{.files = files, .codec = codec, .dist = dist};
    if (!files.FileExists(checker.PathOf("setup.exe")))
        checker.Add("setup.exe", 0, "missing: there is nothing to start");
    const bool client_server = CheckBranding(checker);
    CheckSetupIni(checker, client_server);
    CheckScripts(checker, client_server);
    CheckLanguageFiles(checker);
    CheckProductLibraries(checker);
    return std::move(checker.findings);
}

}  // namespace zkdist
