#pragma once
// The machine after an installation, read from outside the setup program with readers of its
// own: profile files parsed by the tests, the registry through the system's reg.exe, shell links
// through lnkinfo.
#include "link_reader.h"
#include "profile_records.h"
#include "program_runner.h"
#include "registry_export.h"
