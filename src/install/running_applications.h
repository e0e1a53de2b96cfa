#pragma once
// Closing the product's running applications before their files are replaced. They are found
// by executable name through the product's service library and asked to close by a broadcast of
// the registered message "ZKCloseAllApplMes", which each of them handles by closing itself.
#include "install/installation_plan.h"
#include "install/step_result.h"
#include "language/language.h"
#include "platform/platform.h"
#include "ui/message_dialog.h"

namespace install {

// Goes on when none of the product's applications runs any more, or when the user chose to go
// on with them running; stops with the cancellation's code when the user chose to abort.
// Asks once, then broadcasts the close request every 100 ms; after 5 seconds the user chooses
// between aborting, going on and waiting another 5 seconds. Without the service library or its
// process test the error is shown, the request broadcast once, and the run goes on. Waiting
// goes through the platform's clock.
[[nodiscard]] StepResult CloseProductApplications(const InstallationPlan& plan,
                                                  const platform::Platform& platform,
                                                  const language::Language& language,
                                                  ui::MessageDialogs& dialogs);

}  // namespace install
