#pragma once
// What the driver knows of the setup program's windows: their classes and the wizard's
// control identifiers, taken from the program's own control table.
#include <stdexcept>
#include <string_view>

#include "wizard/wizard_controls.h"

namespace e2e {

using namespace wizard::controls;

inline constexpr std::string_view kWizardClass = "TWizardDlg";
inline constexpr std::string_view kBackgroundClass = "TMainForm";

// The identifier of a wizard control by its name.
constexpr int WizardId(ui::ControlName name) {
    for (const ui::ControlLayout& layout : wizard::kWizardControls) {
        if (name == layout.name) {
            return layout.id;
        }
    }
    throw std::invalid_argument("no such wizard control");
}

}  // namespace e2e
