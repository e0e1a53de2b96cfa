// The unattended installation on the headless wizard: the switches reach the plan through the
// wizard's own controls, the wizard's refusals end it before the run, and its ends are reported
// in the deployment tools' codes.
#include <optional>
#include <variant>

#include "app/answering_dialogs.h"
#include "app/unattended.h"
#include "language/message_dialogs.h"
#include "ui/exit_codes.h"
#include "wizard_fixture.h"

namespace {

using install::FileType;
using install::InstallationPlan;
using wizard_test::WizardTest;

class UnattendedTest : public WizardTest {
  protected:
    // The wizard started on the unattended application and answering dialogs; the run is a
    // stand-in that takes the plan and does what run_does says.
    app::UnattendedOutcome Install(const std::vector<std::string>& arguments) {
        const auto parsed = app::ParseCommandLine(arguments);
        EXPECT_TRUE(std::holds_alternative<app::Options>(parsed));
        const app::Options options = std::get<app::Options>(parsed);
        answering.emplace(dialogs, trace, options.suppress_message_boxes);
        Start();
        wizard = std::make_unique<wizard::Wizard>(platform, unattended, *answering);
        wizard->SetRunInstallation([this] {
            plan = wizard->Plan();
            if (run_does)
                run_does();
        });
        wizard->Create();
        try {
            return app::RunUnattended(*wizard, options, unattended, *answering, trace);
        } catch (const ui::Halted& halted) {
            return {halted.exit_code};
        }
    }

    platform::RecordingTrace trace;
    platform::Platform platform = fake.Get();
    app::UnattendedApplication unattended{app};
    std::optional<app::AnsweringDialogs> answering;
    std::optional<InstallationPlan> plan;
    std::function<void()> run_does;
};

struct PlanCase {
    const char* name;
    std::vector<std::string> arguments;
    bool (*expect)(const InstallationPlan&);
};

class UnattendedPlan : public UnattendedTest, public testing::WithParamInterface<PlanCase> {};

TEST_P(UnattendedPlan, TakesTheSwitchesThroughTheWizard) {
    AddLanguageFile("English", "[SETUP]\r\ncBack=Back\r\n");
    const app::UnattendedOutcome outcome = Install(GetParam().arguments);
    EXPECT_EQ(outcome.exit_code, ui::kExitSuccess) << outcome.usage_error;
    ASSERT_TRUE(plan) << "the run was not reached";
    EXPECT_TRUE(GetParam().expect(*plan));
    EXPECT_TRUE(dialogs.Shown().empty());
}

bool Has(const InstallationPlan& plan, FileType type) {
    return plan.file_types[static_cast<std::size_t>(type)];
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnattendedPlan,
    testing::Values(
        PlanCase{"WizardProposals",
                 {"/VERYSILENT"},
                 [](const InstallationPlan& p) {
                     return p.destination == "C:\\Program Files\\Zinkolar" &&
                            p.program_group == "Zinkolar 5.0" && p.start_menu_shortcuts &&
                            p.desktop_shortcut && p.quick_launch_shortcut &&
                            Has(p, FileType::Fax) && Has(p, FileType::Script) &&
                            p.language == "Russian";
                 }},
        PlanCase{"Folder",
                 {"/SILENT", "/DIR=D:\\Apps\\Fax Mail"},
                 [](const InstallationPlan& p) { return p.destination == "D:\\Apps\\Fax Mail"; }},
        PlanCase{"Group",
                 {"/SILENT", "/GROUP=Office\\Fax"},
                 [](const InstallationPlan& p) { return p.program_group == "Office\\Fax"; }},
        PlanCase{"NoIcons",
                 {"/SILENT", "/NOICONS"},
                 [](const InstallationPlan& p) {
                     return !p.start_menu_shortcuts && p.desktop_shortcut;
                 }},
        PlanCase{"NoTasks",
                 {"/SILENT", "/TASKS="},
                 [](const InstallationPlan& p) {
                     return p.start_menu_shortcuts && !p.desktop_shortcut &&
                            !p.quick_launch_shortcut;
                 }},
        PlanCase{"QuickLaunchOnly",
                 {"/SILENT", "/TASKS=quicklaunch"},
                 [](const InstallationPlan& p) {
                     return !p.desktop_shortcut && p.quick_launch_shortcut;
                 }},
        PlanCase{"FileTypes",
                 {"/SILENT", "/FILETYPES=zkx,bzk"},
                 [](const InstallationPlan& p) {
                     return Has(p, FileType::Fax) && Has(p, FileType::PhoneBook) &&
                            !Has(p, FileType::CoverPage) && !Has(p, FileType::Mix) &&
                            !Has(p, FileType::Script);
                 }},
        PlanCase{"Language",
                 {"/SILENT", "/LANG=english"},
                 [](const InstallationPlan& p) { return p.language == "English"; }}),
    [](const testing::TestParamInfo<PlanCase>& info) { return info.param.name; });

TEST_F(UnattendedTest, ClientTypeOfAClientServerDistribution) {
    MakeClientServer();
    AddProfile("client.ini", "[main]\r\n");
    EXPECT_EQ(Install({"/SILENT", "/TYPE=client"}).exit_code, ui::kExitSuccess);
    ASSERT_TRUE(plan);
    EXPECT_FALSE(plan->server);
}

class UnattendedStop;

struct StopCase {
    const char* name;
    std::vector<std::string> arguments;
    void (*prepare)(UnattendedStop&);  // the machine and the run's stand-in
    int exit_code;
    bool run_reached;
};

class UnattendedStop : public UnattendedTest, public testing::WithParamInterface<StopCase> {
  public:
    using UnattendedTest::answering;
    using UnattendedTest::fake;
    using UnattendedTest::run_does;
    using UnattendedTest::unattended;
    using UnattendedTest::wizard;
};

TEST_P(UnattendedStop, EndsWithTheCode) {
    GetParam().prepare(*this);
    const app::UnattendedOutcome outcome = Install(GetParam().arguments);
    EXPECT_EQ(outcome.exit_code, GetParam().exit_code) << outcome.usage_error;
    EXPECT_EQ(plan.has_value(), GetParam().run_reached);
}

void Nothing(UnattendedStop&) {}

INSTANTIATE_TEST_SUITE_P(
    Table, UnattendedStop,
    testing::Values(
        StopCase{"RefusedFolder",
                 {"/VERYSILENT", "/SUPPRESSMSGBOXES", "/DIR=C:\\Fax=Mail"},
                 Nothing,
                 ui::kExitBadUsage,
                 false},
        StopCase{"RelativeFolder",
                 {"/VERYSILENT", "/SUPPRESSMSGBOXES", "/DIR=Fax"},
                 Nothing,
                 ui::kExitBadUsage,
                 false},
        StopCase{"RefusedGroup",
                 {"/VERYSILENT", "/SUPPRESSMSGBOXES", "/GROUP=Fax|Mail"},
                 Nothing,
                 ui::kExitBadUsage,
                 false},
        StopCase{"TypeOfASingleDistribution",
                 {"/SILENT", "/TYPE=server"},
                 Nothing,
                 ui::kExitBadUsage,
                 false},
        StopCase{
            "UnknownLanguage", {"/SILENT", "/LANG=Klingon"}, Nothing, ui::kExitBadUsage, false},
        StopCase{"DiskSpaceDeclined",
                 {"/VERYSILENT", "/SUPPRESSMSGBOXES"},
                 [](UnattendedStop& t) {
                     t.fake.system.free_space = {{"c:\\", 1}, {"d:\\", 1}};
                 },
                 ui::kExitCancelled,
                 false},
        StopCase{"FailedCopy",
                 {"/VERYSILENT", "/SUPPRESSMSGBOXES"},
                 [](UnattendedStop& t) {
                     t.run_does = [&t] {
                         language::ShowErrorBox(*t.answering, t.wizard->GetLanguage(), "copy",
                                                language::keys::cErrorCopyFile.key);
                     };
                 },
                 ui::kExitFatal,
                 true},
        StopCase{"ConversionError",
                 {"/VERYSILENT", "/SUPPRESSMSGBOXES"},
                 [](UnattendedStop& t) {
                     t.run_does = [&t] {
                         language::ShowPlainDialog(*t.answering, "cErrorConvertPhoneBook",
                                                   "no PhoneBooks", ui::DialogKind::Error,
                                                   {ui::DialogButton::Ok});
                     };
                 },
                 ui::kExitFatal,
                 true},
        StopCase{"ErrorShownToAPerson",
                 {"/SILENT"},
                 [](UnattendedStop& t) {
                     t.run_does = [&t] {
                         language::ShowErrorBox(*t.answering, t.wizard->GetLanguage(), "win.ini");
                     };
                 },
                 ui::kExitFatal,
                 true},
        StopCase{"QuestionOfTheErrorKind",
                 {"/SILENT"},
                 [](UnattendedStop& t) {
                     t.run_does = [&t] {
                         language::ShowPlainDialog(*t.answering, "cErrCloseApp", "abort?",
                                                   ui::DialogKind::Error,
                                                   {ui::DialogButton::Yes, ui::DialogButton::No});
                     };
                 },
                 ui::kExitSuccess,
                 true},
        StopCase{"RunFailed",
                 {"/VERYSILENT"},
                 [](UnattendedStop& t) { t.run_does = [&t] { t.unattended.Terminate(1); }; },
                 ui::kExitFatal,
                 true},
        StopCase{"ApplicationsLeftRunning",
                 {"/VERYSILENT"},
                 [](UnattendedStop& t) { t.run_does = [&t] { t.unattended.Halt(0); }; },
                 ui::kExitCancelled,
                 true}),
    [](const testing::TestParamInfo<StopCase>& info) { return info.param.name; });

TEST_F(UnattendedTest, AccountHoldsTheQuestionsAndTheirAnswers) {
    fake.system.free_space = {{"c:\\", 1}, {"d:\\", 1}};
    Install({"/VERYSILENT", "/SUPPRESSMSGBOXES"});
    std::vector<std::string> dialogs_said;
    for (const std::string& line : trace.lines) {
        if (line.starts_with("Dialog") || line.starts_with("Answered"))
            dialogs_said.push_back(line.substr(0, line.find(':')));
    }
    EXPECT_EQ(dialogs_said,
              (std::vector<std::string>{"Dialog cSizeError [Yes/No]", "Answered by the table",
                                        "Dialog cRealyAbort [Yes/No]", "Answered by the table"}));
    EXPECT_TRUE(dialogs.Shown().empty()) << "nothing is shown with preset answers";
}

TEST_F(UnattendedTest, AccountListsTheErrorMessagesAtTheEnd) {
    run_does = [this] {
        for (const char* text : {"first", "second"})
            language::ShowErrorBox(*answering, wizard->GetLanguage(), text);
    };
    EXPECT_EQ(Install({"/VERYSILENT", "/SUPPRESSMSGBOXES"}).exit_code, ui::kExitFatal);
    const std::vector<std::string> tail(trace.lines.end() - 3, trace.lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Error messages: 2", "  first", "  second"}));
}

struct AnswerCase {
    const char* id;
    std::vector<ui::DialogButton> buttons;
    ui::DialogButton answer;
};

TEST(UnattendedAnswers, FollowTheTable) {
    using ui::DialogButton;
    const std::vector<DialogButton> yes_no = {DialogButton::Yes, DialogButton::No};
    const AnswerCase cases[] = {
        {"cSizeError", yes_no, DialogButton::No},
        {"cAnyAppRun", yes_no, DialogButton::Yes},
        {"cRealyAbort", yes_no, DialogButton::Yes},
        {"cErrCloseApp",
         {DialogButton::Yes, DialogButton::No, DialogButton::Retry},
         DialogButton::Yes},
        {"cConvertPhoneBook", yes_no, DialogButton::Yes},
        {"cConverLogBook", yes_no, DialogButton::Yes},
        {"cErrorCopyFile", {DialogButton::Ok}, DialogButton::Ok},
        {"cSomethingNew", yes_no, DialogButton::No},
        {"", {DialogButton::Ok, DialogButton::Cancel}, DialogButton::Ok},
        {"cSomethingNew", {DialogButton::Yes, DialogButton::Retry}, DialogButton::Yes},
    };
    for (const AnswerCase& c : cases)
        EXPECT_EQ(app::PresetAnswer(c.id, c.buttons), c.answer) << c.id;
}

TEST(UnattendedExitCodes, MapTheProgramsEnds) {
    EXPECT_EQ(ui::UnattendedExitCode(0), ui::kExitCancelled);
    EXPECT_EQ(ui::UnattendedExitCode(1), ui::kExitFatal);
}

}  // namespace
