// The phone-book conversion on any old phone book.
#include <cstdint>
#include <string>

#include "convert_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ConvertFuzzContext fuzz;
    fuzz.files.AddFile("C:\\Old\\spr\\book.zkb",
                       std::string(reinterpret_cast<const char*>(data), size));
    convert::ConvertPhoneBooks(fuzz.context, "C:\\Old", "4.10", "C:\\New");
    const auto converted = fuzz.files.Bytes("C:\\New\\PhoneBooks\\book.bzk");
    ConvertFuzzContext::Expect(!fuzz.Failed() && converted &&
                               converted->size() == 1121 * (1 + size / 698));
    fuzz.ExpectOnly("C:\\New\\PhoneBooks", 1);
    return 0;
}
