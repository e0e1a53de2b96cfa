#include "platform/fake/fake_libraries.h"

#include "platform/text.h"

namespace platform {
namespace {

class FakeLibrary final : public Library {
  public:
    FakeLibrary(std::shared_ptr<FakeLibraryContent> content, std::shared_ptr<int> loaded)
        : content_(std::move(content)), loaded_(std::move(loaded)) {
        ++*loaded_;
    }
    ~FakeLibrary() override { --*loaded_; }

    void* Function(const char* name) const override {
        const auto found = content_->functions.find(name);
        return found == content_->functions.end() ? nullptr : found->second;
    }
    std::optional<std::string> String(unsigned id) const override {
        const auto found = content_->strings.find(id);
        if (found == content_->strings.end())
            return std::nullopt;
        return found->second.substr(0, 254);
    }
    std::optional<Bitmap> Picture(const char* name) const override {
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const auto found = content_->pictures.find(upper);
        if (found == content_->pictures.end())
            return std::nullopt;
        return found->second;
    }

  private:
    std::shared_ptr<FakeLibraryContent> content_;
    std::shared_ptr<int> loaded_;
};

}  // namespace

FakeLibraryContent& FakeLibraries::Add(const std::string& name) {
    auto& slot = libraries_[ToLower(name)];
    if (!slot)
        slot = std::make_shared<FakeLibraryContent>();
    return *slot;
}

void FakeLibraries::RemoveLibrary(const std::string& name) {
    libraries_.erase(ToLower(name));
}

Result<std::unique_ptr<Library>> FakeLibraries::Load(const std::string& name) {
    const auto found = libraries_.find(ToLower(name));
    if (found == libraries_.end())
        return Failure(kErrorModNotFound);
    return std::unique_ptr<Library>(std::make_unique<FakeLibrary>(found->second, loaded_));
}

}  // namespace platform
