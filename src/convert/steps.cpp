#include "convert/steps.h"

#include "convert/log_book.h"
#include "convert/phone_book.h"
#include "language/message_dialogs.h"

namespace convert {

bool IsVersion4Installation(const std::string& old_folder, const std::string& old_version) {
    // Without a folder the paths below it would name the root of the current drive.
    return !old_folder.empty() && old_version.starts_with('4');
}

bool HasOldData(const platform::FileSystem& files, const std::string& old_folder) {
    return !old_folder.empty() &&
           (!OldPhoneBooks(files, old_folder).empty() ||
            files.FileExists(old_folder + kReceiveLog) || files.FileExists(old_folder + kSendLog));
}

bool Ask(const Context& context, const language::TextKey& question) {
    return language::ShowPlainDialog(
               context.dialogs, question.key, context.language.Lookup(question),
               ui::DialogKind::Confirmation,
               {ui::DialogButton::Yes, ui::DialogButton::No}) == ui::DialogButton::Yes;
}

void ShowProgress(const Context& context, const language::TextKey& step) {
    if (context.show_progress)
        context.show_progress(context.language.Lookup(step) + "...");
}

void ShowError(const Context& context, const language::TextKey& message) {
    language::ShowPlainDialog(context.dialogs, message.key, context.language.Lookup(message),
                              ui::DialogKind::Error, {ui::DialogButton::Ok});
}

}  // namespace convert
