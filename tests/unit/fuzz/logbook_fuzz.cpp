// The log-book conversion on any two old logs: the first two bytes of the input say where the
// receive log ends and the send log begins.
#include <cstdint>
#include <string>

#include "convert_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t split = (data[0] | data[1] << 8) % (input.size() + 1);
    ConvertFuzzContext fuzz;
    fuzz.files.AddFile("C:\\Old\\service\\receive.zlg", input.substr(0, split));
    fuzz.files.AddFile("C:\\Old\\service\\send.zlg", input.substr(split));
    const std::uint32_t count = convert::ConvertLogBook(fuzz.context, "C:\\Old", "4", "C:\\New");

    const auto log_book = fuzz.files.Bytes("C:\\New\\service\\logbook.zlg");
    if (fuzz.Failed()) {
        ConvertFuzzContext::Expect(count == 0 && !log_book);
        fuzz.ExpectOnly("C:\\New\\service", 0);
        return 0;
    }
    // Every old record once, some twice; the header counts what follows it.
    const std::size_t old_records = split / 919 + (input.size() - split) / 919;
    ConvertFuzzContext::Expect(log_book && log_book->size() == 812 * (count + 1));
    ConvertFuzzContext::Expect(count >= old_records && count <= 2 * old_records);
    ConvertFuzzContext::Expect(std::uint8_t(log_book->at(708)) == (count & 0xFF));
    fuzz.ExpectOnly("C:\\New\\service", 1);
    return 0;
}
