// The schedule conversion on any old schedule.
#include <cstdint>
#include <string>

#include "convert_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ConvertFuzzContext fuzz;
    const std::string old(reinterpret_cast<const char*>(data), size);
    fuzz.files.AddFile("C:\\New\\service\\zinkol1.zks", old);
    convert::ConvertSchedule(fuzz.context, "C:\\New");
    const auto converted = fuzz.files.Bytes("C:\\New\\service\\zinkol3.zks");
    ConvertFuzzContext::Expect(!fuzz.Failed() && converted &&
                               converted->size() == 60 * (size / 44));
    for (std::size_t record = 0; record < size / 44; ++record)
        ConvertFuzzContext::Expect(converted->compare(60 * record, 44, old, 44 * record, 44) == 0);
    fuzz.ExpectOnly("C:\\New\\service", 1);
    return 0;
}
