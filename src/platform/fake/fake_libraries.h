#pragma once
// In-memory libraries for tests: functions, strings and pictures by name, and a count of the
// libraries currently loaded (to see that each is released).
#include <map>
#include <memory>
#include <string>

#include "platform/libraries.h"

namespace platform {

struct FakeLibraryContent {
    std::map<std::string, void*> functions;
    std::map<unsigned, std::string> strings;
    std::map<std::string, Bitmap> pictures;  // names in upper case
};

class FakeLibraries final : public Libraries {
  public:
    // Makes a library loadable under a name (letter case ignored).
    FakeLibraryContent& Add(const std::string& name);
    void RemoveLibrary(const std::string& name);
    Result<std::unique_ptr<Library>> Load(const std::string& name) override;
    int LoadedCount() const { return *loaded_; }

  private:
    std::map<std::string, std::shared_ptr<FakeLibraryContent>> libraries_;
    std::shared_ptr<int> loaded_ = std::make_shared<int>(0);
};

}  // namespace platform
