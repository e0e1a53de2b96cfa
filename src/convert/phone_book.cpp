#include "convert/phone_book.h"

#include "convert/fields.h"
#include "convert/record_files.h"
#include "convert/steps.h"
#include "platform/text.h"

namespace convert {
namespace {

constexpr FieldCopy<ShortStringField> kShortStrings[] = {
    {{0, 63}, {0, 63}},       // A
    {{64, 24}, {64, 63}},     // B, widened
    {{89, 24}, {128, 63}},    // C, widened
    {{114, 24}, {192, 63}},   // D, widened
    {{139, 63}, {256, 127}},  // E, widened
    {{203, 63}, {384, 127}},  // F, widened
    {{267, 5}, {512, 5}},     // G
    {{613, 10}, {1036, 10}},  // K
    {{624, 5}, {1047, 5}},    // L
    {{630, 63}, {1053, 63}},  // M
};
constexpr FieldCopy<RawField> kNumbers[] = {
    {{273, 2}, {518, 2}},   // H, I
    {{694, 4}, {1117, 4}},  // N, O
};
constexpr FieldCopy<TextField> kTexts[] = {{{355, 258}, {778, 258}}};  // J
constexpr ShortStringField kOldPicture{275, 79};
constexpr ShortStringField kPicture{522, 255};

// The product's own default picture is not carried over: the new version finds its own.
bool IsDefaultPicture(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\:");
    const std::string_view name =
        separator == std::string_view::npos ? path : path.substr(separator + 1);
    return platform::EqualsIgnoreCase(name, "zznak.bmp");
}

}  // namespace

PhoneBookRecord ConvertPhoneBookRecord(std::string_view old_record) {
    PhoneBookRecord record{};
    CopyAll(old_record, kShortStrings, record);
    CopyAll(old_record, kNumbers, record);
    CopyAll(old_record, kTexts, record);
    if (!IsDefaultPicture(ShortString(old_record, kOldPicture)))
        Copy(old_record, kOldPicture, record, kPicture);
    return record;
}

PhoneBookRecord PhoneBookHeader(std::string_view folder_ansi) {
    PhoneBookRecord header{};
    PutShortString(header, {64, 13}, "MS Sans Serif");
    Put32(header, 129, 8);
    Put32(header, 512, 32);
    Put32(header, 518, 16777215);
    PutShortString(header, kPicture, std::string(folder_ansi) + "\\");
    for (std::size_t i = 0; i < 11; ++i)
        header[1036 + i] = 100;
    for (std::size_t i = 0; i < 10; ++i)
        header[1053 + i] = static_cast<char>(i);
    Put16(header, 1117, static_cast<std::uint16_t>(-3));
    return header;
}

std::vector<std::string> OldPhoneBooks(const platform::FileSystem& files,
                                       const std::string& old_folder) {
    std::vector<std::string> names;
    for (const platform::FileEntry& entry :
         files.FindFiles(old_folder + "\\spr\\*.zkb").value_or({})) {
        // A folder that happens to match is no phone book.
        const std::size_t dot = entry.name.rfind('.');
        if (!entry.directory && dot != std::string::npos &&
            platform::EqualsIgnoreCase(std::string_view(entry.name).substr(dot), ".zkb"))
            names.push_back(entry.name);
    }
    return names;
}

std::string NewPhoneBookName(std::string_view old_name) {
    return std::string(old_name.substr(0, old_name.rfind('.'))) + ".bzk";
}

void ConvertPhoneBookFile(const Context& context, const std::string& old_folder,
                          const std::string& name, const std::string& new_folder) {
    const auto old_file = OpenForReading(context.files, old_folder + "\\spr\\" + name);
    NewFile file(context.files, new_folder + "\\PhoneBooks\\" + NewPhoneBookName(name),
                 context.keep_replaced);
    const PhoneBookRecord header = PhoneBookHeader(context.codec.Utf8ToAnsi(new_folder));
    file.Append(std::string_view(header.data(), header.size()));
    RecordReader records(old_file.get(), kOldPhoneBookRecordSize);
    while (const auto old_record = records.Next()) {
        const PhoneBookRecord record = ConvertPhoneBookRecord(*old_record);
        file.Append(std::string_view(record.data(), record.size()));
    }
    file.Commit();
}

void ConvertPhoneBooks(const Context& context, const std::string& old_folder,
                       const std::string& old_version, const std::string& new_folder) {
    if (!IsVersion4Installation(old_folder, old_version))
        return;
    const std::vector<std::string> found = OldPhoneBooks(context.files, old_folder);
    if (found.empty())
        return;
    if (!Ask(context, language::keys::cConvertPhoneBook))
        return;
    ShowProgress(context, language::keys::cConvertingPhoneBook);
    try {
        for (const std::string& name : found)
            ConvertPhoneBookFile(context, old_folder, name, new_folder);
    } catch (const ConversionFailed&) {
        ShowError(context, language::keys::cErrorConvertPhoneBook);
    }
}

}  // namespace convert
