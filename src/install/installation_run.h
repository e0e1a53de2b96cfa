#pragma once
// The installation run, entered from the summary page: for now it goes straight to the finish
// page; the run's steps are built on this entry point.
#include "wizard/wizard.h"

namespace install {

void RunInstallation(wizard::Wizard& wizard);

}  // namespace install
