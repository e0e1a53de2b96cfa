// Libraries planted beside setup.exe, in a distribution folder that others could write to: the
// wizard still works and none of them is ever loaded. Each planted file is a marker library that
// leaves "<its path>.loaded" beside itself when anything loads it. And a system without the
// rich-text libraries still gets a wizard, with the licence as plain text.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "driver/distribution.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "wizard_pages.h"

namespace {

using namespace e2e;

// Every platform library that the program loads at run time, under the names it asks for.
const char* const kPlantedNames[] = {"msftedit.dll", "riched20.dll", "SHFOLDER.DLL",
                                     "winspool.drv"};

bool Loaded(const Distribution& distribution, const std::string& name) {
    return std::filesystem::exists(distribution.Folder() + L"\\" + Wide(name) + L".loaded");
}

void Plant(const Distribution& distribution, const std::string& name) {
    distribution.Write(name, ReadBytes(HostPath(E2E_MARKER_LIBRARY)));
}

TEST(PlantedLibraryTest, NoneIsLoadedThroughAWalkToTheFinishPage) {
    const Distribution distribution(kDistributions + "single");
    for (const char* name : kPlantedNames) {
        Plant(distribution, name);
    }
    // The marker works: a library loaded by its path leaves its mark.
    Plant(distribution, "probe.dll");
    FreeLibrary(LoadLibraryW((distribution.Folder() + L"\\probe.dll").c_str()));
    ASSERT_TRUE(Loaded(distribution, "probe.dll"));

    WizardWalk walk(distribution.Folder(), ShotsFolder());
    AcceptLicence(walk, kRussian);
    EXPECT_EQ(Lines(walk.Text(WizardId(kTextViewer))),
              Lines(ReadAnsiFile(distribution.Folder() + L"\\license.txt")))
        << "the licence viewer shows the licence";
    walk.Press(WizardId(kNextButton), kRussian.destination);
    for (const char* title :
         {kRussian.shortcuts, kRussian.group, kRussian.file_types, kRussian.summary}) {
        walk.Press(WizardId(kNextButton), title);
    }
    walk.Press(WizardId(kNextButton), kRussian.finish, kRunTimeout);
    EXPECT_EQ(LeaveFinishPage(walk), 0u);

    for (const char* name : kPlantedNames) {
        EXPECT_FALSE(Loaded(distribution, name)) << name << " beside setup.exe was loaded";
    }
}

// Libraries that Wine refuses to load while the object lives (its per-user library overrides,
// read by every program it starts; an empty value disables the library).
class LibrariesDisabled {
  public:
    explicit LibrariesDisabled(std::vector<std::wstring> names) : names_(std::move(names)) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_,
                        nullptr);
        for (const std::wstring& name : names_) {
            RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L""),
                           sizeof(wchar_t));
        }
    }
    ~LibrariesDisabled() {
        for (const std::wstring& name : names_) {
            RegDeleteValueW(key_, name.c_str());
        }
        RegCloseKey(key_);
    }
    LibrariesDisabled(const LibrariesDisabled&) = delete;
    LibrariesDisabled& operator=(const LibrariesDisabled&) = delete;

  private:
    static constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";
    std::vector<std::wstring> names_;
    HKEY key_ = nullptr;
};

TEST(MissingLibraryTest, WithoutRichTextTheLicenceShowsAsPlainText) {
    const Distribution distribution(kDistributions + "single");
    const LibrariesDisabled disabled({L"msftedit", L"riched20"});
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    AcceptLicence(walk, kRussian);
    const RemoteWindow viewer = walk.Control(WizardId(kTextViewer));
    EXPECT_EQ(viewer.ClassName(), "Edit");
    EXPECT_TRUE(viewer.Visible());
    EXPECT_EQ(Lines(viewer.Text()), Lines(ReadAnsiFile(distribution.Folder() + L"\\license.txt")));
    walk.Shoot("licence");
    walk.Press(WizardId(kNextButton), kRussian.destination);
}

}  // namespace
