// zkdist on Linux, over the machine's own file system.
#include <iostream>

#include "../zkconvert/posix_files.h"
#include "zkdist.h"

int main(int argc, char** argv) {
    zkconvert::PosixFileSystem files;
    return zkdist::Run({argv + 1, argv + argc}, files, std::cout);
}
