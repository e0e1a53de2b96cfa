// The product's libraries through the program's own loading and calling path, against the
// stand-ins built in product/ and copied beside this test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

#include "install/product_libraries.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace install {
namespace {

std::string OwnExecutableName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string full = platform::Narrow(path);
    return full.substr(full.find_last_of('\\') + 1);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

class ProductLibraries : public ::testing::Test {
  protected:
    std::unique_ptr<platform::Libraries> libraries_ = platform::MakeWin32Libraries();
};

TEST_F(ProductLibraries, GetVerReportsWindows2000OrLaterUnderWine) {
    const platform::Result<int> code = QueryPlatformCode(*libraries_);
    ASSERT_TRUE(code) << code.error().text;
    EXPECT_EQ(*code, 3);  // Wine reports Windows 7
}

TEST_F(ProductLibraries, FailuresNameTheMissingLibraryOrFunction) {
    struct Case {
        const char* what;
        std::function<platform::Error(platform::Libraries&)> fail;
        platform::Error expected;
    };
    const Case cases[] = {
        {"absent library",
         [](platform::Libraries& libraries) {
             return ProductLibrary::Load(libraries, "zk_absent.dll").error();
         },
         {platform::kErrorModNotFound, "zk_absent.dll"}},
        {"function of the other library",
         [](platform::Libraries& libraries) {
             auto library = ProductLibrary::Load(libraries, kPrinterLibrary);
             return library->Find<GetVerFunction>(kGetVer).error();
         },
         {platform::kErrorProcNotFound, "GetVer"}},
        {"decorated name",
         [](platform::Libraries& libraries) {
             auto library = ProductLibrary::Load(libraries, kServiceLibrary);
             return library->Find<GetVerFunction>("GetVer@0").error();
         },
         {platform::kErrorProcNotFound, "GetVer@0"}},
    };
    for (const Case& c : cases) {
        const platform::Error failure = c.fail(*libraries_);
        EXPECT_EQ(std::tie(failure.code, failure.text), std::tie(c.expected.code, c.expected.text))
            << c.what;
    }
}

TEST_F(ProductLibraries, ProcessTestMatchesWholeExecutableNamesIgnoringCase) {
    auto test = ProcessTest::Load(*libraries_);
    ASSERT_TRUE(test) << test.error().text;
    const std::string own = OwnExecutableName();
    const struct {
        std::string executable;
        bool running;
    } cases[] = {
        {own, true},
        {Upper(own), true},
        {own.substr(0, own.size() - 4), false},  // without ".exe"
        {own.substr(1), false},
        {"zk_not_running_4711.exe", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test->IsRunning(c.executable), c.running) << c.executable;
    }
}

// A service of the product's name, installed but never started, or none at all.
TEST_F(ProductLibraries, RemoveServiceLeavesNoProductService) {
    for (const bool installed : {false, true}) {
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        ASSERT_NE(manager, nullptr);
        if (installed) {
            SC_HANDLE service = CreateServiceA(
                manager, kProductService, kProductService, SERVICE_ALL_ACCESS,
                SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                "C:\\windows\\system32\\zkdrv32.exe", nullptr, nullptr, nullptr, nullptr, nullptr);
            ASSERT_NE(service, nullptr) << GetLastError();
            CloseServiceHandle(service);
        }

        EXPECT_TRUE(DeleteProductService(*libraries_)) << "installed " << installed;

        SetLastError(0);
        SC_HANDLE service = OpenServiceA(manager, kProductService, SERVICE_QUERY_STATUS);
        EXPECT_EQ(service, nullptr) << "installed " << installed;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
        if (service != nullptr) {
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
}

TEST_F(ProductLibraries, PrinterSetupRemovesAndInstallsThePrinter) {
    auto printer = PrinterSetup::Load(*libraries_);
    ASSERT_TRUE(printer) << printer.error().text;
    EXPECT_TRUE(printer->DeletePrinter(3));
    int application = 0;  // any host reference; the language file is absent
    const platform::Result<bool> installed = printer->InstallPrinter(&application, 3, nullptr);
    ASSERT_TRUE(installed) << installed.error().text;
    EXPECT_TRUE(*installed);
}

}  // namespace
}  // namespace install
