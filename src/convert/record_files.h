#pragma once
// Streaming the product's data files a record at a time through a buffer of modest size, so
// that memory does not grow with the files, and writing new files so that a failure leaves
// nothing half-written behind.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace convert {

// Any failure to open, read or write a data file, or data that cannot be converted. Thrown
// inside a conversion and caught where it reports its error.
struct ConversionFailed {
    platform::Result<void> status;
};

// Opens an existing file for reading; throws ConversionFailed when it cannot.
std::unique_ptr<platform::OpenFile> OpenForReading(platform::FileSystem& files,
                                                   const std::string& path);

// The whole records of a file in order; a trailing part shorter than a record is ignored.
class RecordReader {
  public:
    // No file: a stream without records.
    RecordReader(platform::OpenFile* file, std::size_t record_size);
    // The next record, valid until the next call; nullopt after the last one.
    std::optional<std::string_view> Next();

  private:
    platform::OpenFile* file_;
    std::size_t record_size_;
    std::string buffer_;
    std::size_t position_ = 0;  // of the next record in buffer_
};

// A file written as a PendingFile beside its final one, and put in its place, replacing any
// file of that name, only when Commit is called. Until then an existing file of the final name
// stays as it was; destroyed without Commit, the pending file is removed.
class NewFile {
  public:
    // Throws ConversionFailed when the file cannot be created (its folder missing, for one).
    // keep_replaced as the conversions' Context has it.
    NewFile(platform::FileSystem& files, std::string path,
            std::function<void(const std::string&)> keep_replaced = {});
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    void Append(std::string_view bytes);
    // Writes bytes again over the start of the file.
    void Overwrite(std::string_view bytes);
    void Commit();

  private:
    void Flush();
    // Copies the file at path_ to a free name beside it, if there is a file.
    void KeepReplaced();

    platform::FileSystem& files_;
    std::string path_;
    std::function<void(const std::string&)> keep_replaced_;
    std::unique_ptr<platform::PendingFile> file_;
    std::string buffer_;
};

}  // namespace convert
