#include "platform/profile.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Names and values as the engine takes them from its callers: on one line, without the blanks
// the reader would drop.
std::string Clean(std::string_view text) {
    std::string out(Trim(text));
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

// Queries compare in lower case, as the names of the file's lines are kept.
std::string Fold(std::string_view name) {
    return ToLower(Clean(name));
}

// A name that comes back from the file as it went in: an entry's line is not taken for a
// header or a comment, the first "=" ends the name, and the reader drops blanks around it.
bool IsKeyName(std::string_view key) {
    return !key.empty() && Trim(key) == key && key.front() != '[' && key.front() != ';' &&
           key.find_first_of("=\r\n") == std::string_view::npos;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The platform counts characters (one byte each in the ANSI code page), not UTF-8 bytes.
std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        count += IsContinuationByte(c) ? 0 : 1;
    }
    return count;
}

std::string_view FirstChars(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size(); ++end) {
        if (!IsContinuationByte(text[end]) && chars++ == count) {
            break;
        }
    }
    return text.substr(0, end);
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

Profile Profile::Parse(std::string_view text, bool utf8_bom) {
    Profile profile;
    profile.utf8_bom_ = utf8_bom;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        } else {
            end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        }
        profile.lines_.push_back(MakeLine(std::string(text.substr(start, end - start))));
        start = end;
    }
    return profile;
}

Profile::Line Profile::MakeLine(std::string text) {
    Line line{std::move(text)};
    const std::string_view content = Trim(line.text);
    if (content.empty() || content.front() == ';') {
        return line;
    }
    if (content.front() == '[') {
        const std::size_t close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Header;
            line.name = Trim(content.substr(1, close - 1));
            line.folded = ToLower(line.name);
            return line;
        }
    }
    const std::size_t equals = content.find('=');
    const std::string_view name = Trim(content.substr(0, equals));
    if (name.empty()) {
        return line;
    }
    line.kind = LineKind::Entry;
    line.name = name;
    line.folded = ToLower(name);
    if (equals != std::string_view::npos) {
        line.value = std::string(Trim(content.substr(equals + 1)));
    }
    return line;
}

std::optional<Profile::Span> Profile::FindSection(const std::string& folded) const {
    std::size_t begin = 0;  // the section "" is the part before the first header
    if (!folded.empty()) {
        while (begin < lines_.size() &&
               !(lines_[begin].kind == LineKind::Header && lines_[begin].folded == folded)) {
            ++begin;
        }
        if (begin == lines_.size()) {
            return std::nullopt;
        }
        ++begin;
    }
    std::size_t end = begin;
    while (end < lines_.size() && lines_[end].kind != LineKind::Header) {
        ++end;
    }
    return Span{begin, end};
}

std::optional<std::size_t> Profile::FindEntry(Span span, const std::string& folded) const {
    for (std::size_t i = span.begin; i < span.end; ++i) {
        if (lines_[i].kind == LineKind::Entry && lines_[i].folded == folded) {
            return i;
        }
    }
    return std::nullopt;
}

std::string Profile::Read(std::string_view section, std::string_view key) const {
    const std::optional<Span> span = FindSection(Fold(section));
    if (!span) {
        return {};
    }
    const std::optional<std::size_t> at = FindEntry(*span, Fold(key));
    if (!at || !lines_[*at].value) {
        return {};
    }
    return std::string(FirstChars(Unquote(*lines_[*at].value), kProfileValueLimit));
}

std::vector<std::string> Profile::Keys(std::string_view section, KeyLimit limit) const {
    std::vector<std::string> keys;
    for (ProfileEntry& entry : Entries(section, limit)) {
        keys.push_back(std::move(entry.key));
    }
    return keys;
}

std::optional<Profile::LineName> Profile::NameOfLine(std::string_view text) {
    Line line = MakeLine(std::string(text));
    if (line.kind == LineKind::Other) {
        return std::nullopt;
    }
    return LineName{line.kind == LineKind::Header, std::move(line.name), std::move(line.folded),
                    line.value.has_value()};
}

std::vector<ProfileEntry> Profile::Entries(std::string_view section, KeyLimit limit) const {
    const std::optional<Span> span = FindSection(Fold(section));
    if (!span) {
        return {};
    }
    // What a key reads as: its first entry decides, an entry without "=" reads "".
    std::unordered_map<std::string, std::string_view> first_values;
    // The platform's list: the name of every entry with "=", as far as the buffer holds it; the
    // name that reaches the end of the buffer is cut short.
    std::vector<std::string_view> listed;
    std::size_t room = kProfileKeyListBuffer;
    for (std::size_t i = span->begin; i < span->end; ++i) {
        const Line& line = lines_[i];
        if (line.kind != LineKind::Entry) {
            continue;
        }
        first_values.try_emplace(line.folded, line.value ? Unquote(*line.value) : "");
        if (line.value && limit == KeyLimit::None) {
            listed.push_back(line.name);
        } else if (line.value && room > 2) {
            listed.push_back(FirstChars(line.name, room - 2));
            room -= CharCount(listed.back()) + 1;
        }
    }
    std::vector<ProfileEntry> entries;
    std::unordered_set<std::string> seen;
    for (const std::string_view name : listed) {
        std::string folded = ToLower(name);
        const auto value = first_values.find(folded);
        if (seen.insert(std::move(folded)).second && value != first_values.end() &&
            !value->second.empty()) {
            entries.push_back(
                {std::string(name), std::string(FirstChars(value->second, kProfileValueLimit))});
        }
    }
    return entries;
}

bool Profile::Write(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsKeyName(key)) {
        return false;
    }
    const std::string name(key);
    const std::string text = Clean(value);
    const std::string header = Clean(section);
    const std::optional<Span> span = FindSection(ToLower(header));
    if (!span) {
        Insert(lines_.size(), "[" + header + "]");
        Insert(lines_.size(), name + "=" + text);
        return true;
    }
    if (const std::optional<std::size_t> at = FindEntry(*span, ToLower(name))) {
        Line& line = lines_[*at];
        if (line.value != text) {
            line = MakeLine(line.name + "=" + text + "\r\n");
        }
        return true;
    }
    std::size_t after_last_entry = span->begin;
    for (std::size_t i = span->begin; i < span->end; ++i) {
        if (lines_[i].kind == LineKind::Entry) {
            after_last_entry = i + 1;
        }
    }
    Insert(after_last_entry, name + "=" + text);
    return true;
}

void Profile::Remove(std::string_view section, std::string_view key) {
    const std::optional<Span> span = FindSection(Fold(section));
    if (!span) {
        return;
    }
    if (const std::optional<std::size_t> at = FindEntry(*span, Fold(key))) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
    }
}

void Profile::Insert(std::size_t at, const std::string& text) {
    // The last line of a file may lack its line break; the new line must not join it.
    if (at > 0) {
        std::string& before = lines_[at - 1].text;
        if (before.back() != '\n' && before.back() != '\r') {
            before += "\r\n";
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), MakeLine(text + "\r\n"));
}

std::string Profile::Text() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
    }
    return text;
}

std::optional<Profile> ReadProfile(const FileSystem& files, const TextCodec& codec,
                                   const std::string& path) {
    const Result<std::string> bytes = files.ReadFile(path);
    if (!bytes) {
        // Only a file that is not there is an empty one.
        if (bytes.code() == kErrorFileNotFound || bytes.code() == kErrorPathNotFound) {
            return Profile{};
        }
        return std::nullopt;
    }
    if (bytes->starts_with(kUtf8Bom)) {
        return Profile::Parse(std::string_view(*bytes).substr(kUtf8Bom.size()), true);
    }
    return Profile::Parse(codec.AnsiToUtf8(*bytes));
}

Profile LoadProfile(const FileSystem& files, const TextCodec& codec, const std::string& path) {
    return ReadProfile(files, codec, path).value_or(Profile{});
}

std::string ProfileBytes(const TextCodec& codec, const Profile& profile) {
    return profile.Utf8Bom() ? std::string(kUtf8Bom) + profile.Text()
                             : codec.Utf8ToAnsi(profile.Text());
}

Result<void> SaveProfile(FileSystem& files, const TextCodec& codec, const std::string& path,
                         const Profile& profile) {
    return files.WriteFile(path, ProfileBytes(codec, profile));
}

}  // namespace platform
