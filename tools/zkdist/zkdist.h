#pragma once
// zkdist: the release engineer's tools for a distribution folder.
#include <ostream>
#include <string>
#include <vector>

#include "platform/files.h"

namespace zkdist {

// Exit status: 0 no finding, 1 findings, 2 bad usage.
int Run(const std::vector<std::string>& arguments, const platform::FileSystem& files,
        std::ostream& out);

}  // namespace zkdist
