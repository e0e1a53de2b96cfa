// The program's forms and the names their controls are found by.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/main_form.h"
#include "platform/fake/fake_libraries.h"
#include "script/copy_files_form.h"
#include "ui/form.h"
#include "wizard/wizard_controls.h"

namespace {

struct FormCase {
    const char* what;
    std::function<void(const std::function<void(const ui::Form&)>&)> with_form;
};

const FormCase kForms[] = {
    {"wizard",
     [](const auto& check) {
         ui::Form form{{.class_name = "TWizardDlg"}};
         form.AddAll(wizard::kWizardControls);
         check(form);
     }},
    {"copy progress window", [](const auto& check) { check(script::CopyFilesForm().GetForm()); }},
    {"background",
     [](const auto& check) {
         platform::FakeLibraries libraries;
         app::MainForm main(libraries, {1024, 768});
         check(main.GetForm());
     }},
};

// Each name finds its own control: two rows of one name would leave the second unreachable.
TEST(ControlNamesTest, EachNameFindsItsOwnControl) {
    for (const FormCase& c : kForms) {
        c.with_form([&](const ui::Form& form) {
            for (const auto& control : form.Controls()) {
                EXPECT_EQ(&form[ui::ControlName(control->Name().c_str())], control.get())
                    << c.what << ": " << control->Name();
            }
        });
    }
}

}  // namespace
