// Stand-in for the product's printer-setup library: there is no virtual printer to remove, and
// installing it always succeeds, which lets the installation finish.
#include <type_traits>

#include "install/product_abi.h"

using install::ProductBool;
using install::ProductInt;

extern "C" {

__declspec(dllexport) void PRODUCT_STDCALL PrinterDelete(ProductInt /*platform_code*/) {}

__declspec(dllexport) ProductBool PRODUCT_STDCALL
    PrinterInstall(void* /*application*/, ProductInt /*platform_code*/, void* /*language_file*/) {
    return 1;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&PrinterDelete), install::PrinterDeleteFunction>);
static_assert(std::is_same_v<decltype(&PrinterInstall), install::PrinterInstallFunction>);
