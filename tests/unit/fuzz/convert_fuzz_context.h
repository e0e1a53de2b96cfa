#pragma once
// What the conversion fuzzers share: an old and a new installation folder on the fake file
// system, the built-in texts, and dialogs that answer Yes to every question.
#include <cstdlib>
#include <string>

#include "convert/convert.h"
#include "platform/fake/fake_files.h"
#include "ui/fake/scripted_dialogs.h"

struct ConvertFuzzContext {
    platform::FakeFileSystem files;
    platform::Cp1251Codec codec;
    language::Language language{files, codec, "D:\\dist"};
    ui::ScriptedDialogs dialogs;  // the first button, Yes, unless told otherwise
    convert::Context context{files, codec, language, dialogs, nullptr};

    ConvertFuzzContext() {
        files.AddDirectory("C:\\New\\service");
        files.AddDirectory("C:\\New\\PhoneBooks");
    }

    // An error was shown (the last dialog is the error, after the question).
    bool Failed() const {
        return !dialogs.Shown().empty() && dialogs.Shown().back().kind == ui::DialogKind::Error;
    }

    // Only these files in the folder: nothing half-written or temporary stays behind.
    void ExpectOnly(const std::string& folder, std::size_t count) const {
        std::size_t found = 0;
        for (const platform::FileEntry& entry : files.FindFiles(folder + "\\*").value_or({}))
            found += entry.directory ? 0 : 1;
        Expect(found == count);
    }

    static void Expect(bool condition) {
        if (!condition)
            std::abort();
    }
};
