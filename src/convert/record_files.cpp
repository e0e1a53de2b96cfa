#include "convert/record_files.h"

#include <algorithm>
#include <utility>

namespace convert {
namespace {

// Reads and writes move this much at a time: large enough that the system calls cost little
// beside the copying, small enough to be the same for a file of any size.
constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

void Check(const platform::Result<void>& status) {
    if (!status)
        throw ConversionFailed{status};
}

}  // namespace

std::unique_ptr<platform::OpenFile> OpenForReading(platform::FileSystem& files,
                                                   const std::string& path) {
    auto file = files.Open(path, platform::OpenMode::Read);
    if (!file)
        throw ConversionFailed{file.error()};
    return std::move(*file);
}

RecordReader::RecordReader(platform::OpenFile* file, std::size_t record_size)
    : file_(file), record_size_(record_size) {}

std::optional<std::string_view> RecordReader::Next() {
    while (buffer_.size() - position_ < record_size_) {
        if (file_ == nullptr)
            return std::nullopt;
        auto bytes = file_->Read(std::max(record_size_, kBufferSize / record_size_ * record_size_));
        if (!bytes)
            throw ConversionFailed{bytes.error()};
        if (bytes->empty()) {
            file_ = nullptr;  // the end: what is left is less than a record
            continue;
        }
        if (position_ == buffer_.size()) {
            buffer_ = std::move(*bytes);
        } else {
            buffer_.erase(0, position_);
            buffer_ += *bytes;
        }
        position_ = 0;
    }
    const std::string_view record(buffer_.data() + position_, record_size_);
    position_ += record_size_;
    return record;
}

NewFile::NewFile(platform::FileSystem& files, std::string path,
                 std::function<void(const std::string&)> keep_replaced)
    : files_(files), path_(std::move(path)), keep_replaced_(std::move(keep_replaced)) {
    auto file = files_.CreatePending(path_);
    if (!file)
        throw ConversionFailed{file.error()};
    file_ = std::move(*file);
}

void NewFile::Append(std::string_view bytes) {
    buffer_ += bytes;
    if (buffer_.size() >= kBufferSize)
        Flush();
}

void NewFile::Flush() {
    Check(file_->Write(buffer_));
    buffer_.clear();
}

void NewFile::Overwrite(std::string_view bytes) {
    Flush();
    Check(file_->Seek(0));
    Check(file_->Write(bytes));
}

void NewFile::Commit() {
    Flush();
    if (keep_replaced_)
        KeepReplaced();
    Check(file_->Commit());
}

void NewFile::KeepReplaced() {
    if (!files_.FileExists(path_))
        return;
    // The copy is made where no file is: an earlier copy is never replaced.
    std::string kept = path_ + ".bak";
    platform::Result<std::int64_t> copied = files_.CopyNewFile(path_, kept, {});
    for (int number = 2; copied.code() == platform::kErrorFileExists; ++number) {
        kept = path_ + "." + std::to_string(number) + ".bak";
        copied = files_.CopyNewFile(path_, kept, {});
    }
    if (!copied)
        throw ConversionFailed{copied.error()};
    keep_replaced_(kept);
}

}  // namespace convert
