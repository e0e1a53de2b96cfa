#include "script/install_log.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/profile.h"
#include "script/trace_text.h"

namespace script {
namespace {

// The log is kept open and changed in place, so that a record costs the same however large the
// log has grown (the platform's profile writer rewrites the whole file for every record):
// - a changed value is written over its old line, padded with blanks when shorter;
// - a removed record's line is overwritten with blanks;
// - a new record goes over the blank lines that end its section (its slack), or at the end of
//   the file for the last section. When a section has no room left, the whole file is written
//   once more, with slack as large as each section's records, to a new file that then replaces
//   the log in one step: the cost stays flat on average, and a crash never leaves a torn file.
// Blank lines are ignored by every profile reader, and any tail of them is blank lines again,
// so the file is a valid profile file after every single write. When the run has written its
// last record, Finish writes it once more the same way without any of these blanks.
constexpr std::int64_t kPaddingLine = 128;  // bytes of one slack line, line break included
constexpr std::int64_t kMinimumSlack = 32 * kPaddingLine;
constexpr std::string_view kLineBreak = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

bool AllBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

std::string Padding(std::int64_t size) {
    std::string padding(static_cast<std::size_t>(size), ' ');
    for (std::size_t end = kPaddingLine; end <= padding.size(); end += kPaddingLine) {
        padding[end - 2] = '\r';
        padding[end - 1] = '\n';
    }
    return padding;
}

std::int64_t RoundUp(std::int64_t size) {
    return (size + kPaddingLine - 1) / kPaddingLine * kPaddingLine;
}

// Names and values on one line, without the blanks a reader would drop (as the profile engine
// writes them).
std::string Clean(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

class FileInstallLog final : public InstallLog {
  public:
    FileInstallLog(platform::FileSystem& files, const platform::TextCodec& codec, std::string path,
                   std::unique_ptr<platform::OpenFile> file, std::string image,
                   platform::Trace* trace)
        : files_(files),
          codec_(codec),
          path_(std::move(path)),
          file_(std::move(file)),
          trace_(trace) {
        Load(std::move(image));
    }

    platform::Result<void> LogItem(std::string_view section, std::string_view key,
                                   bool flag) override {
        return Set(section, key, flag ? "1" : "0");
    }

    platform::Result<void> LogText(std::string_view section, std::string_view key,
                                   std::string_view text) override {
        return Set(section, key, text);
    }

    platform::Result<void> UnlogItem(std::string_view section, std::string_view key) override;
    std::vector<std::string> Keys(std::string_view section) const override;
    platform::Result<void> Finish() override;

  private:
    struct Line {
        std::int64_t offset = 0;
        std::int64_t size = 0;  // line break included
        std::string name;       // of an entry
        std::string folded;     // of an entry; empty for other lines
        bool has_value = false;
        bool blank = false;  // nothing but blanks: dropped when the file is written anew
    };
    struct Section {
        std::int64_t begin = 0;       // the header line, or 0 for the part before the first
        std::int64_t header_end = 0;  // where the body starts
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> first;  // folded key -> its first entry
        std::int64_t slack_begin = 0;  // the trailing blank lines, where a new record goes
        std::int64_t end = 0;
    };

    void Load(std::string image);
    platform::Result<void> Set(std::string_view section, std::string_view key,
                               std::string_view value);
    platform::Result<void> AddSection(const std::string& section_name, const std::string& name,
                                      const std::string& record);
    platform::Result<void> AddRecord(std::size_t index, const std::string& name,
                                     const std::string& record);
    platform::Result<void> Replace(std::size_t index, Line& line, const std::string& record);
    // Writes bytes at an offset of the file and of its image. A failed write is undone as far as
    // the platform lets it: the old bytes back, the file cut to its old length.
    platform::Result<void> WriteAt(std::int64_t offset, std::string_view bytes);
    // Writes the file anew with room for needed more bytes in one section, and with one line's
    // bytes replaced when replaced is set; with no room at all when slack is None.
    enum class Slack { Kept, None };
    platform::Result<void> Rewrite(Slack slack, std::size_t grow = 0, std::int64_t needed = 0,
                                   const Line* replaced = nullptr,
                                   std::string_view replacement = {});
    std::string_view Bytes(const Line& line) const {
        return std::string_view(image_).substr(static_cast<std::size_t>(line.offset),
                                               static_cast<std::size_t>(line.size));
    }
    // Tells the trace what a writer did to a record: "<done> [section] record", or
    // "<failed> [section] record: <error>".
    void Tell(std::string_view done, std::string_view failed, const platform::Result<void>& status,
              std::string_view section, const std::string& record) const {
        if (trace_ != nullptr) {
            trace_->Line(std::string(status ? done : failed) + " [" + Clean(section) + "] " +
                         record + (status ? "" : ": " + ErrorText(status)));
        }
    }
    std::optional<std::size_t> FindSection(std::string_view name) const {
        const auto found = by_name_.find(platform::ToLower(Clean(name)));
        return found == by_name_.end() ? std::nullopt : std::optional(found->second);
    }

    platform::FileSystem& files_;
    const platform::TextCodec& codec_;
    std::string path_;
    std::unique_ptr<platform::OpenFile> file_;
    std::string image_;  // the file's bytes, as they are on disk
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> by_name_;  // folded -> first section of it
    platform::Trace* trace_;                                // may be null
};

void FileInstallLog::Load(std::string image) {
    image_ = std::move(image);
    sections_.assign(1, Section{});
    by_name_.clear();
    const std::string_view text = image_;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        } else {
            end += text.compare(end, 2, kLineBreak) == 0 ? 2 : 1;
        }
        const std::string_view bytes = text.substr(start, end - start);
        Line line{static_cast<std::int64_t>(start), static_cast<std::int64_t>(bytes.size())};
        std::optional<platform::Profile::LineName> name =
            platform::Profile::NameOfLine(codec_.AnsiToUtf8(bytes));
        start = end;
        if (name && name->header) {
            sections_.push_back({line.offset, line.offset + line.size});
            by_name_.try_emplace(std::move(name->folded), sections_.size() - 1);
            continue;
        }
        Section& section = sections_.back();
        if (name) {
            line.name = std::move(name->name);
            line.folded = std::move(name->folded);
            line.has_value = name->has_value;
            section.first.try_emplace(line.folded, section.lines.size());
        }
        line.blank = !name && AllBlank(bytes);
        section.lines.push_back(std::move(line));
    }
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        Section& section = sections_[i];
        section.end = i + 1 < sections_.size() ? sections_[i + 1].begin
                                               : static_cast<std::int64_t>(image_.size());
        section.slack_begin = section.end;
        // The trailing blank lines are the slack, kept as its bounds only.
        while (!section.lines.empty() && section.lines.back().blank) {
            section.slack_begin = section.lines.back().offset;
            section.lines.pop_back();
        }
    }
}

platform::Result<void> FileInstallLog::Set(std::string_view section, std::string_view key,
                                           std::string_view value) {
    const std::string name = Clean(key);
    if (name.empty()) {
        return platform::Success();  // an entry needs a name
    }
    const std::string text = Clean(value);
    std::string record = name + "=" + text;
    platform::Result<void> status;
    const std::optional<std::size_t> index = FindSection(section);
    if (!platform::InCodePage(codec_, record) || !platform::InCodePage(codec_, section)) {
        // Written, it would name another file than the one made.
        status = platform::Failure(platform::kErrorNoUnicodeTranslation);
    } else if (!index) {
        status = AddSection(Clean(section), name, codec_.Utf8ToAnsi(record) + "\r\n");
    } else if (const auto entry = sections_[*index].first.find(platform::ToLower(name));
               entry == sections_[*index].first.end()) {
        status = AddRecord(*index, name, codec_.Utf8ToAnsi(record) + "\r\n");
    } else {
        // A key written again keeps the name its line has.
        Line& line = sections_[*index].lines[entry->second];
        record = line.name + "=" + text;
        status = Replace(*index, line, codec_.Utf8ToAnsi(record));
    }
    Tell("Record", "Record failed", status, section, record);
    return status;
}

platform::Result<void> FileInstallLog::AddSection(const std::string& section_name,
                                                  const std::string& name,
                                                  const std::string& record) {
    const auto offset = static_cast<std::int64_t>(image_.size());
    const std::string header = codec_.Utf8ToAnsi("[" + section_name + "]") + "\r\n";
    // With some slack of its own, so that the next sections do not force a rewrite for the
    // few records this one gets later (the program group's folder, say).
    if (platform::Result<void> error = WriteAt(offset, header + record + Padding(kMinimumSlack));
        !error) {
        return error;
    }
    Section section{offset, offset + static_cast<std::int64_t>(header.size())};
    const std::string folded = platform::ToLower(name);
    section.lines.push_back(
        {section.header_end, static_cast<std::int64_t>(record.size()), name, folded, true});
    section.first.emplace(folded, 0);
    section.slack_begin = section.header_end + static_cast<std::int64_t>(record.size());
    section.end = static_cast<std::int64_t>(image_.size());
    sections_.back().end = offset;
    sections_.push_back(std::move(section));
    by_name_.emplace(platform::ToLower(section_name), sections_.size() - 1);
    return platform::Success();
}

platform::Result<void> FileInstallLog::AddRecord(std::size_t index, const std::string& name,
                                                 const std::string& record) {
    const auto size = static_cast<std::int64_t>(record.size());
    const bool last = index + 1 == sections_.size();
    if (!last && sections_[index].end - sections_[index].slack_begin < size) {
        if (platform::Result<void> error = Rewrite(Slack::Kept, index, size); !error) {
            return error;
        }
    }
    Section& section = sections_[index];
    const std::int64_t offset = section.slack_begin;
    if (platform::Result<void> error = WriteAt(offset, record); !error) {
        return error;
    }
    const std::string folded = platform::ToLower(name);
    section.first.emplace(folded, section.lines.size());
    section.lines.push_back({offset, size, name, folded, true});
    section.slack_begin += size;
    section.end = std::max(section.end, section.slack_begin);
    return platform::Success();
}

platform::Result<void> FileInstallLog::Replace(std::size_t index, Line& line,
                                               const std::string& record) {
    const std::string_view old = Bytes(line);
    const std::size_t content = old.find_last_not_of("\r\n") + 1;
    const std::string_view line_break = old.substr(content);
    if (record.size() + line_break.size() > old.size()) {
        std::string replacement = record + std::string(kLineBreak);
        return Rewrite(Slack::Kept, index, 0, &line, replacement);
    }
    // A shorter value is padded with blanks, which a reader drops; only the bytes that differ
    // are written, so a flag changes in a single byte.
    std::string bytes = record;
    bytes.append(content - std::min(content, record.size()), ' ');
    bytes += line_break;
    std::size_t first = 0;
    while (first < bytes.size() && bytes[first] == old[first]) {
        ++first;
    }
    if (first == bytes.size()) {
        return platform::Success();
    }
    std::size_t last = bytes.size();
    while (bytes[last - 1] == old[last - 1]) {
        --last;
    }
    platform::Result<void> error = WriteAt(line.offset + static_cast<std::int64_t>(first),
                                           std::string_view(bytes).substr(first, last - first));
    if (error) {
        line.has_value = true;
    }
    return error;
}

platform::Result<void> FileInstallLog::UnlogItem(std::string_view section, std::string_view key) {
    const std::optional<std::size_t> index = FindSection(section);
    if (!index) {
        return platform::Success();
    }
    Section& found = sections_[*index];
    const std::string folded = platform::ToLower(Clean(key));
    const auto entry = found.first.find(folded);
    if (entry == found.first.end()) {
        return platform::Success();
    }
    const std::size_t at = entry->second;
    Line& line = found.lines[at];
    const std::string_view old = Bytes(line);
    const std::size_t content = old.find_last_not_of("\r\n") + 1;
    platform::Result<void> error = WriteAt(line.offset, std::string(content, ' '));
    Tell("Record removed", "Record removal failed", error, section, line.name);
    if (!error) {
        return error;
    }
    line = Line{line.offset, line.size};
    line.blank = true;
    found.first.erase(entry);
    // A later line of the same key, if the file has one, is what a reader finds now.
    for (std::size_t i = at + 1; i < found.lines.size(); ++i) {
        if (found.lines[i].folded == folded) {
            found.first.emplace(folded, i);
            break;
        }
    }
    return platform::Success();
}

std::vector<std::string> FileInstallLog::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const std::optional<std::size_t> index = FindSection(section);
    if (!index) {
        return keys;
    }
    const Section& found = sections_[*index];
    std::unordered_set<std::string_view> seen;
    for (const Line& line : found.lines) {
        if (line.has_value && seen.insert(line.folded).second) {
            keys.push_back(line.name);
        }
    }
    return keys;
}

platform::Result<void> FileInstallLog::WriteAt(std::int64_t offset, std::string_view bytes) {
    if (!file_) {
        // A rewrite replaced the file but could not open the new one: once more, or no record
        // goes anywhere.
        auto reopened = files_.Open(path_, platform::OpenMode::ReadWrite);
        if (!reopened) {
            return reopened.error();
        }
        file_ = std::move(*reopened);
    }
    const auto old_size = static_cast<std::int64_t>(image_.size());
    platform::Result<void> error = file_->Seek(offset);
    if (error) {
        error = file_->Write(bytes);
    }
    const auto at = static_cast<std::size_t>(offset);
    if (!error) {
        // Undo what may have got through, so no half record is left.
        const std::string_view before = std::string_view(image_).substr(at, bytes.size());
        if (file_->Seek(offset)) {
            platform::IgnoreFailure(file_->Write(before),
                                    "an undo that fails leaves no more than the failed write");
            if (file_->Seek(old_size)) {
                platform::IgnoreFailure(file_->Truncate(),
                                        "an undo that fails leaves no more than the failed write");
            }
        }
        return error;
    }
    if (at + bytes.size() > image_.size()) {
        image_.resize(at + bytes.size());
    }
    image_.replace(at, bytes.size(), bytes);
    return error;
}

platform::Result<void> FileInstallLog::Finish() {
    platform::Result<void> status = Rewrite(Slack::None);
    if (trace_ != nullptr) {
        trace_->Line(status ? "Log written without its slack: " + path_
                            : "Log not written without its slack: " + path_ + ": " +
                                  ErrorText(status));
    }
    return status;
}

platform::Result<void> FileInstallLog::Rewrite(Slack slack, std::size_t grow, std::int64_t needed,
                                               const Line* replaced, std::string_view replacement) {
    std::string image;
    image.reserve(image_.size() * 2);
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        image.append(image_, static_cast<std::size_t>(section.begin),
                     static_cast<std::size_t>(section.header_end - section.begin));
        std::int64_t body = 0;
        for (const Line& line : section.lines) {
            if (!line.blank) {
                // Without the blanks that padded a shorter value.
                const std::string_view bytes = &line == replaced ? replacement : Bytes(line);
                const std::size_t line_break = bytes.find_last_not_of("\r\n") + 1;
                const std::size_t end = bytes.find_last_not_of(" \t", line_break - 1) + 1;
                image.append(bytes.substr(0, end)).append(bytes.substr(line_break));
                body += static_cast<std::int64_t>(end + bytes.size() - line_break);
            }
        }
        if (i > 0 && slack == Slack::Kept) {  // nothing is ever added before the first section
            image += Padding(RoundUp(std::max(kMinimumSlack, body) + (i == grow ? needed : 0)));
        }
    }
    platform::Result<void> error;
    auto pending = files_.CreatePending(path_);
    std::unique_ptr<platform::PendingFile> out;
    if (pending) {
        out = std::move(*pending);
        error = out->Write(image);
    } else {
        error = pending.error();
    }
    bool moved = false;
    if (error) {
        file_.reset();  // the platform replaces no file that is open
        error = out->Commit();
        moved = error.Ok();
    }
    out.reset();
    if (!file_) {
        auto reopened = files_.Open(path_, platform::OpenMode::ReadWrite);
        if (reopened) {
            file_ = std::move(*reopened);
        } else if (error) {
            error = reopened.error();
        }
    }
    if (moved) {
        Load(std::move(image));
    }
    return error;
}

}  // namespace

std::unique_ptr<InstallLog> OpenInstallLog(platform::FileSystem& files,
                                           const platform::TextCodec& codec,
                                           const std::string& path, platform::Result<void>& error,
                                           platform::Trace* trace) {
    auto opened = files.Open(path, platform::OpenMode::ReadWrite);
    if (!opened) {
        error = opened.error();
        return nullptr;
    }
    std::unique_ptr<platform::OpenFile> file = std::move(*opened);
    const platform::Result<std::string> bytes = file->Read(static_cast<std::size_t>(file->Size()));
    if (!bytes) {
        error = bytes.error();
        return nullptr;
    }
    std::string image = *bytes;
    // A last line without its line break would join the first record added after it.
    if (!image.empty() && image.back() != '\n' && image.back() != '\r') {
        if (error = file->Write(kLineBreak); !error) {
            return nullptr;
        }
        image += kLineBreak;
    }
    error = platform::Success();
    return std::make_unique<FileInstallLog>(files, codec, path, std::move(file), std::move(image),
                                            trace);
}

}  // namespace script
