#include "install/installation_plan.h"

namespace install {

std::string InstallationPlan::GroupDir() const {
    std::string dir = folders.programs_dir + "\\" + program_group;
    if (dir.ends_with('\\'))
        dir.pop_back();
    return dir;
}

}  // namespace install
