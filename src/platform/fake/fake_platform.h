#pragma once
// All fakes together, handing out the platform bundle the program takes.
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_libraries.h"
#include "platform/fake/fake_system.h"
#include "platform/platform.h"

namespace platform {

struct FakePlatform {
    FakeFileSystem files;
    FakeLibraries libraries;
    Cp1251Codec codec;
    FakeRegistry registry;
    FakeShell shell{files};
    FakeSystem system;
    FakeClock clock;
    RecordingTrace trace;
    Platform Get() {
        return Platform{files, libraries, codec, registry, shell, system, clock, trace};
    }
};

}  // namespace platform
