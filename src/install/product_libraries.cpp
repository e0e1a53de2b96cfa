#include "install/product_libraries.h"

namespace install {

platform::Result<ProductLibrary> ProductLibrary::Load(platform::Libraries& libraries,
                                                      const std::string& file_name) {
    platform::Result<std::unique_ptr<platform::Library>> library = libraries.Load(file_name);
    if (!library) {
        return platform::Failure(library.code(), file_name);
    }
    return ProductLibrary(std::move(*library));
}

platform::Result<int> QueryPlatformCode(platform::Libraries& libraries) {
    auto library = ProductLibrary::Load(libraries, kServiceLibrary);
    if (!library) {
        return library.error();
    }
    auto get_ver = library->Find<GetVerFunction>(kGetVer);
    if (!get_ver) {
        return get_ver.error();
    }
    // A code it does not give for any platform is a failed query, not a platform: the platform
    // section's files would all be left out.
    const int code = (*get_ver)();
    if (code < 1 || code > 3) {
        return platform::Failure(platform::kErrorProcNotFound, kGetVer);
    }
    return code;
}

platform::Result<void> DeleteProductService(platform::Libraries& libraries) {
    auto library = ProductLibrary::Load(libraries, kServiceLibrary);
    if (!library) {
        return library.error();
    }
    auto remove_service = library->Find<RemoveServiceFunction>(kRemoveService);
    if (!remove_service) {
        return remove_service.error();
    }
    (*remove_service)(kProductService);
    return platform::Success();
}

platform::Result<ProcessTest> ProcessTest::Load(platform::Libraries& libraries) {
    auto library = ProductLibrary::Load(libraries, kServiceLibrary);
    if (!library) {
        return library.error();
    }
    auto test = library->Find<TestProcessExecFunction>(kTestProcessExec);
    if (!test) {
        return test.error();
    }
    return ProcessTest(std::move(*library), *test);
}

bool ProcessTest::IsRunning(const std::string& executable) const {
    return test_(kByExecutableName, executable.c_str()) != 0;
}

platform::Result<PrinterSetup> PrinterSetup::Load(platform::Libraries& libraries) {
    auto library = ProductLibrary::Load(libraries, kPrinterLibrary);
    if (!library) {
        return library.error();
    }
    return PrinterSetup(std::move(*library));
}

platform::Result<void> PrinterSetup::DeletePrinter(int platform_code) const {
    auto printer_delete = library_.Find<PrinterDeleteFunction>(kPrinterDelete);
    if (!printer_delete) {
        return printer_delete.error();
    }
    (*printer_delete)(platform_code);
    return platform::Success();
}

platform::Result<bool> PrinterSetup::InstallPrinter(void* application, int platform_code,
                                                    void* language_file) const {
    auto printer_install = library_.Find<PrinterInstallFunction>(kPrinterInstall);
    if (!printer_install) {
        return printer_install.error();
    }
    return (*printer_install)(application, platform_code, language_file) != 0;
}

}  // namespace install
