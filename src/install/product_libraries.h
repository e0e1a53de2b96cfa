#pragma once
// Typed calls into the product's service library and printer-setup library over
// platform::Libraries; their binary interface is product_abi.h. A call that cannot be made fails
// with the platform's code and, as its text, the name the load-error message shows: the
// library's file name when it did not load (the load's code), the function's name when the
// library lacks it (kErrorProcNotFound).
#include <memory>
#include <string>
#include <utility>

#include "install/product_abi.h"
#include "platform/libraries.h"
#include "platform/result.h"

namespace install {

// One product library, loaded by bare file name through the platform's search order (the setup
// program's own folder first) and released when destroyed.
class ProductLibrary {
  public:
    static platform::Result<ProductLibrary> Load(platform::Libraries& libraries,
                                                 const std::string& file_name);

    // The export `name` as a pointer of type F (one of the ...Function types above).
    template <class F>
    platform::Result<F> Find(const char* name) const {
        void* address = library_->Function(name);
        if (address == nullptr) {
            return platform::Failure(platform::kErrorProcNotFound, name);
        }
        return reinterpret_cast<F>(address);
    }

  private:
    explicit ProductLibrary(std::unique_ptr<platform::Library> library)
        : library_(std::move(library)) {}
    std::unique_ptr<platform::Library> library_;
};

// GetVer of the service library, which is loaded and released around the call. A code outside
// 1 to 3 is a failed query, reported as GetVer's failure.
platform::Result<int> QueryPlatformCode(platform::Libraries& libraries);

// RemoveService("ZkDrv32") of the service library, which is loaded and released around the call.
platform::Result<void> DeleteProductService(platform::Libraries& libraries);

// The service library's process test, kept loaded while the caller polls.
class ProcessTest {
  public:
    static platform::Result<ProcessTest> Load(platform::Libraries& libraries);
    // Whether a process runs whose executable file name (no folder, ANSI) is `executable`.
    bool IsRunning(const std::string& executable) const;

  private:
    ProcessTest(ProductLibrary library, TestProcessExecFunction test)
        : library_(std::move(library)), test_(test) {}
    ProductLibrary library_;
    TestProcessExecFunction test_;
};

// The printer-setup library, kept loaded from removing the old virtual printer to installing
// the new one. Each function is looked up when it is called, so a library without
// PrinterInstall still removes the old printer first.
class PrinterSetup {
  public:
    static platform::Result<PrinterSetup> Load(platform::Libraries& libraries);
    platform::Result<void> DeletePrinter(int platform_code) const;
    // True lets the installation finish. `language_file` is null while the built-in language is
    // current.
    platform::Result<bool> InstallPrinter(void* application, int platform_code,
                                          void* language_file) const;

  private:
    explicit PrinterSetup(ProductLibrary library) : library_(std::move(library)) {}
    ProductLibrary library_;
};

}  // namespace install
