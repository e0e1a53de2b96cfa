#include "install/installation_run.h"

namespace install {

void RunInstallation(wizard::Wizard& wizard) {
    wizard.ShowFinishPage();
}

}  // namespace install
