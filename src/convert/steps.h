#pragma once
// What every conversion does around its files: the test for an old installation, the
// question, the progress text and the error message.
#include <string>

#include "convert/convert.h"
#include "language/text_keys.h"

namespace convert {

// An earlier installation of version 4: a folder, and a version string beginning with "4".
bool IsVersion4Installation(const std::string& old_folder, const std::string& old_version);
// Asks a Yes/No confirmation in the toolkit's plain dialog; true for Yes.
bool Ask(const Context& context, const language::TextKey& question);
// The step text followed by "..." in the progress window.
void ShowProgress(const Context& context, const language::TextKey& step);
// The error in the toolkit's plain dialog, with OK.
void ShowError(const Context& context, const language::TextKey& message);

}  // namespace convert
