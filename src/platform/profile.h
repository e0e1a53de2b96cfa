#pragma once
// The one profile (INI) engine: setup.ini, the scripts, language files, install.ini and
// zinkolar.ini are all read and written here, with the platform's private-profile rules.
//
// File format, as the platform reads it:
// - A line ends at LF, CR LF or a lone CR. Blanks (space, tab, VT, FF, CR, LF and the DOS
//   end-of-file mark ^Z) around a line, a name and a value do not count.
// - "[name]" opens a section: the name runs to the last "]" (anything after it is ignored) and
//   loses its blanks. Lines before the first header form the section "".
// - "key=value" is an entry; the first "=" splits it. A line without "=" is an entry without a
//   value: it reads as "" and hides later lines with the same key. Lines starting with ";" are
//   comments; blank lines and lines with nothing before "=" are not entries either.
// - Section and key names ignore letter case (ASCII and Cyrillic), and so do queries, which
//   lose their blanks too. Only the first section of a name is searched, and in it the first
//   entry of a key.
// - A value enclosed in a matching pair of single or double quotes loses that pair, which is how
//   a value keeps blanks at its ends. There are no comments after a value.
//
// Writing changes as little as possible so that files keep their author's layout: only the line
// of the written key changes, every other line keeps its bytes and its line break (a last line
// without one gets CR LF when a line is added after it).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace platform {

class FileSystem;
class TextCodec;

// The platform's read limits the program depends on: a value is read through a buffer of 2048
// characters (one for the closing zero); a section's key list through 16384 characters, each name
// followed by a zero and the list closed by one more.
inline constexpr std::size_t kProfileValueLimit = 2047;
inline constexpr std::size_t kProfileKeyListBuffer = 16384;

// How far a section's key list reaches: as far as the platform's buffer (what the platform's
// readers of the same file see), or every key.
enum class KeyLimit { PlatformBuffer, None };

struct ProfileEntry {
    std::string key;
    std::string value;
};

class Profile {
  public:
    Profile() = default;  // an empty file

    // Parses a profile file's text (UTF-8; the caller converted from the file's code page and
    // took off a byte-order mark, which utf8_bom records for saving).
    static Profile Parse(std::string_view text, bool utf8_bom = false);

    // Like GetPrivateProfileStringA with an empty default: the value, "" when absent; at most
    // kProfileValueLimit characters.
    std::string Read(std::string_view section, std::string_view key) const;

    // A section as the script readers see it: its distinct keys in order of first occurrence,
    // keys whose value reads empty left out; with KeyLimit::PlatformBuffer only the keys whose
    // names the platform's key-list buffer holds (duplicates and empty values take their room
    // there too).
    std::vector<std::string> Keys(std::string_view section,
                                  KeyLimit limit = KeyLimit::PlatformBuffer) const;
    // The same keys with their values as Read gives them.
    std::vector<ProfileEntry> Entries(std::string_view section, KeyLimit limit) const;

    // How the reader takes one line of a file: a header with its section name, an entry with its
    // key name (has_value: it holds "="), or nullopt for anything else. For writers that keep
    // their own copy of a file's lines.
    struct LineName {
        bool header = false;
        std::string name;
        std::string folded;  // the name in lower case
        bool has_value = false;
    };
    static std::optional<LineName> NameOfLine(std::string_view text);

    // Sets a key: its first entry in the first section of that name gets the new value in place;
    // a new key goes after the last entry of that section; a new section goes at the end of the
    // file. Blanks around names and value are dropped as the reader drops them (quote a value to
    // keep them); line breaks inside them become blanks, so a write never adds lines of its own.
    // Changed and new lines end in CR LF. Writing the value a key already has changes nothing.
    // A key that would not read back is refused: false, and nothing changes. That is a key
    // without a name, one holding "=" or a line break, one starting with "[" or ";", and one
    // with blanks at its ends.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // Deletes the line of the key's first entry in the first section of that name, if any.
    void Remove(std::string_view section, std::string_view key);

    // The file's text after the changes (UTF-8, without the byte-order mark).
    std::string Text() const;

    // Whether the file began with a UTF-8 byte-order mark.
    bool Utf8Bom() const { return utf8_bom_; }

  private:
    enum class LineKind { Other, Header, Entry };
    struct Line {
        std::string text;  // as in the file, line break included
        LineKind kind = LineKind::Other;
        std::string name;                  // of the section (Header) or the key (Entry)
        std::string folded;                // the name in lower case, for comparing
        std::optional<std::string> value;  // Entry with "=": blanks dropped, quotes kept
    };
    // Lines [begin, end) of a section's body; begin is where a first entry would go.
    struct Span {
        std::size_t begin = 0;
        std::size_t end = 0;
    };

    static Line MakeLine(std::string text);
    // Both take a name cleaned and in lower case.
    std::optional<Span> FindSection(const std::string& folded) const;
    std::optional<std::size_t> FindEntry(Span span, const std::string& folded) const;
    void Insert(std::size_t at, const std::string& text);

    std::vector<Line> lines_;
    bool utf8_bom_ = false;
};

// Reads a profile file: a UTF-8 byte-order mark means UTF-8, otherwise the ANSI code page;
// a missing file is an empty profile, one that is there but cannot be read (locked, too large,
// a short read) is nullopt.
std::optional<Profile> ReadProfile(const FileSystem& files, const TextCodec& codec,
                                   const std::string& path);
// The same with an unreadable file as an empty profile, for files whose loss costs nothing.
Profile LoadProfile(const FileSystem& files, const TextCodec& codec, const std::string& path);

// The profile's file bytes: in the ANSI code page, or as UTF-8 with its byte-order mark when it
// was read with one.
std::string ProfileBytes(const TextCodec& codec, const Profile& profile);

// Writes the profile back as ProfileBytes.
Result<void> SaveProfile(FileSystem& files, const TextCodec& codec, const std::string& path,
                         const Profile& profile);

}  // namespace platform
