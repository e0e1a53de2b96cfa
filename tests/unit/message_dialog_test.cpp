#include <gtest/gtest.h>

#include "language/message_dialogs.h"
#include "platform/fake/fake_files.h"

namespace {

using ui::DialogButton;
using ui::DialogKind;
using Buttons = std::vector<DialogButton>;
using Captions = std::vector<std::string>;

// Records what was asked and answers with the last button offered.
struct RecordingDialogs final : ui::MessageDialogs {
    std::vector<ui::DialogRequest> shown;
    DialogButton Show(const ui::DialogRequest& request) override {
        shown.push_back(request);
        return request.buttons.back();
    }
};

struct DialogCase {
    const char* name;
    DialogKind kind;
    Buttons buttons;
    std::string title;
    Captions captions;
    friend void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }
};

std::string CaseName(const testing::TestParamInfo<DialogCase>& info) {
    return info.param.name;
}

void ExpectShown(const RecordingDialogs& dialogs, const DialogCase& c, DialogButton result) {
    ASSERT_EQ(dialogs.shown.size(), 1U);
    const ui::DialogRequest& request = dialogs.shown[0];
    EXPECT_EQ(request.id, "cKey");
    EXPECT_EQ(request.text, "text");
    EXPECT_EQ(request.kind, c.kind);
    EXPECT_EQ(request.buttons, c.buttons);
    EXPECT_EQ(request.title, c.title);
    EXPECT_EQ(request.captions, c.captions);
    EXPECT_EQ(result, c.buttons.back());
}

// A distribution whose English file translates only a few of the dialog words.
struct Languages {
    platform::FakeFileSystem files;
    platform::Cp1251Codec codec;
    language::Language language{files, codec, "D:\\dist"};
    explicit Languages(std::string_view configured) {
        files.AddFile("D:\\dist\\english.lng", "[COMMON]\ncNo=No\n[ZINKOLAR]\ncSound6=Careful\n");
        language.BuildList(configured);
        language.Select(language.InitialIndex(configured));
    }
};

class MessageDialogBuiltIn : public testing::TestWithParam<DialogCase> {};

TEST_P(MessageDialogBuiltIn, ShowsRussianTitleAndCaptions) {
    Languages languages("Russian");
    RecordingDialogs dialogs;
    const DialogButton result = language::ShowMessageDialog(
        dialogs, languages.language, "cKey", "text", GetParam().kind, GetParam().buttons);
    ExpectShown(dialogs, GetParam(), result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageDialogBuiltIn,
    testing::Values(DialogCase{"ConfirmYesNo",
                               DialogKind::Confirmation,
                               {DialogButton::Yes, DialogButton::No},
                               "Подтверждение",
                               {"&Да", "&Нет"}},
                    DialogCase{
                        "ErrorOkKeepsOk", DialogKind::Error, {DialogButton::Ok}, "Ошибка", {"OK"}},
                    DialogCase{"WarningYesNo",
                               DialogKind::Warning,
                               {DialogButton::Yes, DialogButton::No},
                               "Предупреждение",
                               {"&Да", "&Нет"}},
                    DialogCase{"CancelWithoutAccessKey",
                               DialogKind::Information,
                               {DialogButton::Ok, DialogButton::Cancel},
                               "Информация",
                               {"OK", "Отмена"}},
                    DialogCase{"RetryStaysEnglish",
                               DialogKind::Error,
                               {DialogButton::Yes, DialogButton::No, DialogButton::Retry},
                               "Ошибка",
                               {"&Да", "&Нет", "&Retry"}}),
    CaseName);

class MessageDialogTranslated : public testing::TestWithParam<DialogCase> {};

TEST_P(MessageDialogTranslated, ShowsMissingWordsAsKeys) {
    Languages languages("English");
    RecordingDialogs dialogs;
    const DialogButton result = language::ShowMessageDialog(
        dialogs, languages.language, "cKey", "text", GetParam().kind, GetParam().buttons);
    ExpectShown(dialogs, GetParam(), result);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageDialogTranslated,
                         testing::Values(DialogCase{"ConfirmYesNo",
                                                    DialogKind::Confirmation,
                                                    {DialogButton::Yes, DialogButton::No},
                                                    "?cConfirm",
                                                    {"&?cYes", "&No"}},
                                         DialogCase{"WarningTranslated",
                                                    DialogKind::Warning,
                                                    {DialogButton::Ok},
                                                    "Careful",
                                                    {"?cOk"}},
                                         DialogCase{"ErrorOkCancel",
                                                    DialogKind::Error,
                                                    {DialogButton::Ok, DialogButton::Cancel},
                                                    "?cError",
                                                    {"?cOk", "?cCancel"}},
                                         DialogCase{"Information",
                                                    DialogKind::Information,
                                                    {DialogButton::Retry},
                                                    "?cInformation",
                                                    {"&Retry"}}),
                         CaseName);

class MessageDialogPlain : public testing::TestWithParam<DialogCase> {};

TEST_P(MessageDialogPlain, KeepsTheToolkitsEnglishWords) {
    RecordingDialogs dialogs;
    const DialogButton result =
        language::ShowPlainDialog(dialogs, "cKey", "text", GetParam().kind, GetParam().buttons);
    ExpectShown(dialogs, GetParam(), result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageDialogPlain,
    testing::Values(DialogCase{"ConversionQuestion",
                               DialogKind::Confirmation,
                               {DialogButton::Yes, DialogButton::No},
                               "Confirm",
                               {"&Yes", "&No"}},
                    DialogCase{"LoadError", DialogKind::Error, {DialogButton::Ok}, "Error", {"OK"}},
                    DialogCase{"Warning",
                               DialogKind::Warning,
                               {DialogButton::Ok, DialogButton::Cancel},
                               "Warning",
                               {"OK", "Cancel"}},
                    DialogCase{"Information",
                               DialogKind::Information,
                               {DialogButton::Retry},
                               "Information",
                               {"&Retry"}}),
    CaseName);

}  // namespace
