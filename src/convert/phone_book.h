#pragma once
// The phone books. Version 4 kept each as "spr\<name>.zkb" of 698-byte records; the current
// version keeps "PhoneBooks\<name>.bzk" of 1121-byte records behind a header record of display
// settings and the installation folder.
//
// Old record: short strings 0 A[63], 64 B[24], 89 C[24], 114 D[24], 139 E[63], 203 F[63],
// 267 G[5]; bytes 273 H, 274 I; 275 picture path short string[79]; 355 J Text[258]; short
// strings 613 K[10], 624 L[5], 630 M[63]; 694 N, 696 O (16-bit).
//
// New record: short strings 0 A[63], 64 B[63], 128 C[63], 192 D[63], 256 E[127], 384 F[127],
// 512 G[5]; bytes 518 H, 519 I, 520 and 521 zero; 522 picture short string[255]; 778 J
// Text[258]; short strings 1036 K[10], 1047 L[5], 1053 M[63]; 1117 N, 1119 O.
//
// Header: zero but 64 the font name short string "MS Sans Serif", 129 8, 512 32, 518 16777215
// (32-bit each), 522 the installation folder with "\" (short string[255]), 1036 eleven bytes
// 100, 1053 the bytes 0 to 9, 1117 -3 (16-bit).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "convert/convert.h"

namespace convert {

inline constexpr std::size_t kOldPhoneBookRecordSize = 698;
inline constexpr std::size_t kPhoneBookRecordSize = 1121;

using PhoneBookRecord = std::array<char, kPhoneBookRecordSize>;

PhoneBookRecord ConvertPhoneBookRecord(std::string_view old_record);
// folder_ansi: the new installation folder in the ANSI code page.
PhoneBookRecord PhoneBookHeader(std::string_view folder_ansi);

// The names of the phone books in old_folder\spr: its files whose long name ends in ".zkb"
// (the platform's search also matches short names: "phones.zkbak" is found as "PHONES~1.ZKB").
std::vector<std::string> OldPhoneBooks(const platform::FileSystem& files,
                                       const std::string& old_folder);

// The new file's name: the old one without its final extension, then ".bzk".
std::string NewPhoneBookName(std::string_view old_name);

// Converts old_folder\spr\<name> into new_folder\PhoneBooks; throws ConversionFailed, leaving
// the new folder as it was.
void ConvertPhoneBookFile(const Context& context, const std::string& old_folder,
                          const std::string& name, const std::string& new_folder);

}  // namespace convert
