// zkconvert on Linux, over the machine's own file system.
#include <iostream>

#include "posix_files.h"
#include "zkconvert.h"

int main(int argc, char** argv) {
    zkconvert::PosixFileSystem files;
    const platform::Cp1251Codec codec;
    return zkconvert::Run({argv + 1, argv + argc}, files, codec, std::cin, std::cout);
}
