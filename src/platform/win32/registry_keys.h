#pragma once
// The platform's registry keys behind the layer's names, and the key-tree delete of systems that
// lack the platform's own.
#include "platform/system.h"
#include "platform/win32/handles.h"

namespace platform {

inline HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
    }
    return HKEY_LOCAL_MACHINE;
}

// Deletes a subkey of parent with all its subkeys, deepest first (the platform deletes only
// empty keys); the platform's error code.
LONG DeleteKeyTreeByHand(HKEY parent, const std::wstring& name);

}  // namespace platform
