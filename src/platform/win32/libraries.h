#pragma once
// Where the program's libraries come from. setup.exe is often started from a folder that others
// can write to (a copied distribution, a download folder), so a library is never looked for by
// bare name there: the platform's own come from the system folder only, the product's own from
// the program's folder by full path.
#include "platform/win32/handles.h"

namespace platform {

// Takes the program's folder and the current folder out of the library search for the rest of
// the process, also for what the platform's libraries load on their own. First thing at start.
void RestrictLibrarySearch();

// A library of the platform (a file name, no folder) from the system folder; null when it is not
// there.
UniqueModule LoadSystemLibrary(const wchar_t* file_name);

}  // namespace platform
