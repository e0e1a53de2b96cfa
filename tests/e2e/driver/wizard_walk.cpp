#include "wizard_walk.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "image.h"
#include "platform/win32/handles.h"
#include "strings.h"
#include "wizard.h"

namespace e2e {

WizardWalk::WizardWalk(const std::wstring& distribution, std::string shots,
                       std::wstring_view arguments)
    : setup_(distribution, L"setup.exe", arguments),
      wizard_(setup_.WaitWindow(kWizardClass)),
      shots_(std::move(shots)) {}

std::string WizardWalk::Title() const {
    return Text(WizardId(kTitle));
}

void WizardWalk::Press(int id, std::string_view title, Timeout timeout) const {
    // A click before (an accepted licence) is handled when the program gets to it: the button
    // it enables may not be enabled yet.
    WaitUntil(
        [&] {
            const RemoteWindow button = Control(id);
            return button.Visible() && button.Enabled();
        },
        timeout, "control " + std::to_string(id) + " shown and enabled");
    Control(id).Click();
    WaitPage(title, timeout);
}

MessageDialog WizardWalk::PressForDialog(int id) const {
    Control(id).Click();
    return setup_.WaitDialog();
}

void WizardWalk::WaitPage(std::string_view title, Timeout timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const std::string wanted = "the page \"" + std::string(title) + "\"";
    for (;;) {
        if (!setup_.Running()) {
            throw std::runtime_error("setup.exe ended while waiting for " + wanted);
        }
        if (const auto dialog = setup_.FindDialog()) {
            throw std::runtime_error("the message \"" + dialog->Title() + ": " + dialog->Text() +
                                     "\" came instead of " + wanted);
        }
        const std::string shown = Title();
        if (wizard_.Visible() && shown == title) {
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            std::string message = wanted;
            message += " did not show within " + std::to_string(timeout.count());
            message += " ms; the wizard shows \"" + shown + "\"";
            throw std::runtime_error(message);
        }
        Sleep(static_cast<DWORD>(kPollInterval.count()));
    }
}

void WizardWalk::Answer(const MessageDialog& dialog, std::string_view button) {
    dialog.Press(button);
    WaitUntil([&] { return !dialog.Window().Exists(); }, kPageTimeout, "the dialog to close");
}

void WizardWalk::AnswerWhenLabelled(const MessageDialog& dialog, std::string_view button) {
    WaitUntil(
        [&] {
            const std::vector<std::string> buttons = dialog.Buttons();
            return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
        },
        kPageTimeout, "the button \"" + std::string(button) + "\"");
    Answer(dialog, button);
}

void WizardWalk::Shoot(std::string_view step) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d-", ++shot_count_);
    Image::CaptureSettledScreen().SavePng(
        HostPath(shots_ + "/" + number + std::string(step) + ".png"));
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines{std::string()};
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::string ReadBytes(const std::wstring& path) {
    const platform::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw std::runtime_error("cannot open " + Utf8(path));
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    const bool done =
        bytes.empty() ||
        ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) != 0;
    if (!done || read != bytes.size()) {
        throw std::runtime_error("cannot read " + Utf8(path));
    }
    return bytes;
}

std::string ReadAnsiFile(const std::wstring& path) {
    const std::string bytes = ReadBytes(path);
    if (bytes.empty()) {
        return {};
    }
    constexpr UINT kCyrillic = 1251;
    const int length = static_cast<int>(bytes.size());
    std::wstring text(MultiByteToWideChar(kCyrillic, 0, bytes.data(), length, nullptr, 0), L'\0');
    MultiByteToWideChar(kCyrillic, 0, bytes.data(), length, text.data(),
                        static_cast<int>(text.size()));
    return Utf8(text);
}

std::string ProposedDestination(const std::wstring& folder) {
    wchar_t program_files[MAX_PATH] = {};
    DWORD size = sizeof program_files;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                     L"ProgramFilesDir", RRF_RT_REG_SZ, nullptr, program_files,
                     &size) != ERROR_SUCCESS ||
        program_files[0] == L'\0') {
        lstrcpyW(program_files, L"C:\\");
    }
    std::wstring destination = program_files;
    if (destination.back() != L'\\') {
        destination += L'\\';
    }
    wchar_t install_path[MAX_PATH] = {};
    GetPrivateProfileStringW(L"main", L"InstallPath", L"", install_path, MAX_PATH,
                             (folder + L"\\setup.ini").c_str());
    return Utf8(destination + install_path);
}

}  // namespace e2e
