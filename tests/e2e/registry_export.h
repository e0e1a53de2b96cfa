#pragma once
// The registry as the system's reg.exe exports it, read without the program's own code.
#include <map>
#include <string>

namespace e2e {

// The string values of one registry key (not its subkeys) by name, the default value under "",
// as the system's reg.exe exports them; empty when the key is not there.
std::map<std::string, std::string> RegistryValues(const std::string& key);

}  // namespace e2e
