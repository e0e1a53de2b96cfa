#pragma once
// Everything the program asks of the platform, handed around as one bundle.
#include "platform/files.h"
#include "platform/libraries.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace platform {

struct Platform {
    FileSystem& files;
    Libraries& libraries;
    TextCodec& codec;
    Registry& registry;
    Shell& shell;
    System& system;
    Clock& clock;
    Trace& trace;
};

}  // namespace platform
