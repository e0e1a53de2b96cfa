// The schedule. Version 4 left "service\zinkol1.zks" of 44-byte records in the installation
// folder; the current version reads "service\zinkol3.zks" of 60-byte records: the old 44 bytes,
// then -1 (32-bit) and 12 zero bytes.
#include <string>

#include "convert/convert.h"
#include "convert/record_files.h"
#include "convert/steps.h"

namespace convert {
namespace {

constexpr std::size_t kOldScheduleRecordSize = 44;
constexpr char kScheduleTail[16] = {'\xFF', '\xFF', '\xFF', '\xFF'};

}  // namespace

void ConvertSchedule(const Context& context, const std::string& new_folder) {
    const std::string old_path = new_folder + "\\service\\zinkol1.zks";
    if (!context.files.FileExists(old_path))
        return;
    try {
        {
            const auto old_file = OpenForReading(context.files, old_path);
            NewFile file(context.files, new_folder + "\\service\\zinkol3.zks",
                         context.keep_replaced);
            RecordReader records(old_file.get(), kOldScheduleRecordSize);
            while (const auto record = records.Next()) {
                file.Append(*record);
                file.Append(std::string_view(kScheduleTail, sizeof kScheduleTail));
            }
            file.Commit();
        }
        if (const platform::Result<void> deleted = context.files.DeleteFile(old_path); !deleted)
            throw ConversionFailed{deleted};
    } catch (const ConversionFailed&) {
        ShowError(context, language::keys::cErrorConvertLogBook);
    }
}

}  // namespace convert
