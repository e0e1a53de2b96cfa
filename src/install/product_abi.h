#pragma once
// The binary interface of the product's service library (znklrf32.dll) and printer-setup
// library (zkprtstp.dll), which both sides build against.
//
// The interface is 32-bit __stdcall with undecorated export names, 32-bit integers,
// zero-terminated ANSI strings and an 8-bit boolean. The stand-in libraries in product/ include
// this header too, so a change of a signature breaks both builds at once. It never includes
// <windows.h>: the native build compiles it with the calling convention left empty.
#include <cstdint>

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

}  // namespace install
