#pragma once
// A throwaway copy of a sample distribution, so that a test can break it (remove res.dll,
// change setup.ini) without touching the build's copy. Removed again when the object goes.
#include <string>
#include <string_view>

namespace e2e {

class Distribution {
  public:
    // source: the distribution folder, a Linux or a Windows path.
    explicit Distribution(std::string_view source);
    ~Distribution();
    Distribution(const Distribution&) = delete;
    Distribution& operator=(const Distribution&) = delete;

    const std::wstring& Folder() const { return folder_; }
    // Deletes a file of the copy; throws when it is not there.
    void Remove(std::string_view name) const;
    // Replaces (or adds) a file of the copy with these bytes.
    void Write(std::string_view name, std::string_view bytes) const;

  private:
    std::wstring folder_;
};

}  // namespace e2e
