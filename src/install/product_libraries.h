#pragma once
// The product's service library (znklrf32.dll) and printer-setup library (zkprtstp.dll): the
// binary interface both sides build against, and typed calls over platform::Libraries.
//
// The interface is 32-bit __stdcall with undecorated export names, 32-bit integers,
// zero-terminated ANSI strings and an 8-bit boolean. The stand-in libraries in product/ include
// this header too, so a change of a signature breaks both builds at once. It never includes
// <windows.h>: the native build compiles it with the calling convention left empty.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "platform/libraries.h"

#if defined(_WIN32)
#define PRODUCT_STDCALL __stdcall
#else
#define PRODUCT_STDCALL
#endif

namespace install {

using ProductInt = std::int32_t;
using ProductBool = std::uint8_t;  // 0 false, any other value true

inline constexpr char kServiceLibrary[] = "znklrf32.dll";
inline constexpr char kPrinterLibrary[] = "zkprtstp.dll";
inline constexpr char kProductService[] = "ZkDrv32";
// TestProcessExec's first argument: look the process up by its executable file name.
inline constexpr ProductInt kByExecutableName = 1;

// Export names and their signatures.
inline constexpr char kGetVer[] = "GetVer";
inline constexpr char kTestProcessExec[] = "TestProcessExec";
inline constexpr char kRemoveService[] = "RemoveService";
inline constexpr char kPrinterDelete[] = "PrinterDelete";
inline constexpr char kPrinterInstall[] = "PrinterInstall";

// () -> platform code: 1 Windows 95/98/Me, 2 Windows NT 4, 3 Windows 2000 or later.
using GetVerFunction = ProductInt(PRODUCT_STDCALL*)();
// (kByExecutableName, executable file name without folder) -> non-zero while it runs.
using TestProcessExecFunction = ProductInt(PRODUCT_STDCALL*)(ProductInt, const char*);
// (service name): stops and deletes that service; quiet when there is none.
using RemoveServiceFunction = void(PRODUCT_STDCALL*)(const char*);
// (platform code): removes the product's virtual printer.
using PrinterDeleteFunction = void(PRODUCT_STDCALL*)(ProductInt);
// (host application, platform code, open language file or null) -> false ends the installer.
using PrinterInstallFunction = ProductBool(PRODUCT_STDCALL*)(void*, ProductInt, void*);

// Why a product library could not be called. The load-error message names `name`: the library's
// file name when it did not load, the function's name when the library lacks it.
struct LibraryFailure {
    enum class Kind { LibraryMissing, FunctionMissing };
    Kind kind;
    std::string name;
    bool operator==(const LibraryFailure&) const = default;
};

// A value or the failure that kept the call from being made; shaped like C++23's
// std::expected (implicit from either side) so that it can be replaced by it.
template <class T>
class LibraryResult {
  public:
    LibraryResult(T value) : state_(std::move(value)) {}
    LibraryResult(LibraryFailure failure) : state_(std::move(failure)) {}
    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const LibraryFailure& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, LibraryFailure> state_;
};

template <>
class LibraryResult<void> {
  public:
    LibraryResult() = default;
    LibraryResult(LibraryFailure failure) : failure_(std::move(failure)) {}
    bool has_value() const { return !failure_; }
    explicit operator bool() const { return has_value(); }
    const LibraryFailure& error() const { return failure_.value(); }

  private:
    std::optional<LibraryFailure> failure_;
};

// One product library, loaded by bare file name through the platform's search order (the setup
// program's own folder first) and released when destroyed.
class ProductLibrary {
  public:
    static LibraryResult<ProductLibrary> Load(platform::Libraries& libraries,
                                              const std::string& file_name);

    // The export `name` as a pointer of type F (one of the ...Function types above).
    template <class F>
    LibraryResult<F> Find(const char* name) const {
        void* address = library_->Function(name);
        if (address == nullptr) {
            return LibraryFailure{LibraryFailure::Kind::FunctionMissing, name};
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
LibraryResult<int> QueryPlatformCode(platform::Libraries& libraries);

// RemoveService("ZkDrv32") of the service library, which is loaded and released around the call.
LibraryResult<void> DeleteProductService(platform::Libraries& libraries);

// The service library's process test, kept loaded while the caller polls.
class ProcessTest {
  public:
    static LibraryResult<ProcessTest> Load(platform::Libraries& libraries);
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
    static LibraryResult<PrinterSetup> Load(platform::Libraries& libraries);
    LibraryResult<void> DeletePrinter(int platform_code) const;
    // True lets the installation finish. `language_file` is null while the built-in language is
    // current.
    LibraryResult<bool> InstallPrinter(void* application, int platform_code,
                                       void* language_file) const;

  private:
    explicit PrinterSetup(ProductLibrary library) : library_(std::move(library)) {}
    ProductLibrary library_;
};

}  // namespace install
