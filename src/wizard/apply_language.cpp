#include "wizard/apply_language.h"

#include "language/format.h"
#include "wizard/wizard_controls.h"

namespace wizard {
namespace {

namespace keys = language::keys;

struct Caption {
    ui::ControlName control;
    const language::TextKey& key;
};

// In the order the controls are re-labelled; Label1, Label2 and Label6 are composed texts.
constexpr Caption kFixedCaptions[] = {
    {kBackButton, keys::cBack},     {kNextButton, keys::cNext},
    {kAcceptButton, keys::cAccept}, {kDeclineButton, keys::cNotAccept},
    {kCancelButton, keys::cCancel},
};

constexpr Caption kLaterCaptions[] = {
    {kLanguagePrompt, keys::cSelectLang},
};

constexpr Caption kPanelCaptions[] = {
    {kExtensionHeading, keys::cExt},
    {kDescriptionHeading, keys::cDescription},
    {kCoverPageText, keys::cCPFile},
    {kFaxText, keys::cFaxFile},
    {kPhoneBookText, keys::cPhoneBookFile},
    {kLogBookText, keys::cLogBookFile},
    {kMixText, keys::cMixFile},
    {kScheduleText, keys::cScheduleFile},
    {kScriptText, keys::cScriptFile},
    {kStartMenuBox, keys::cAddInStart},
    {kDesktopBox, keys::cAddDesktop},
    {kQuickLaunchBox, keys::cAddQuickLaunch},
    {kRunProgramBox, keys::cRunNow},
    {kOpenGroupBox, keys::cRunProgGroup},
    {kServerRadio, keys::cServer},
    {kClientRadio, keys::cClient},
    {kAllButton, keys::cSelectAll},
    {kNoneButton, keys::cDeselectAll},
};

void SetAll(ui::Form& form, const language::Language& language, std::span<const Caption> captions) {
    for (const auto& c : captions)
        form[c.control].SetText(language.Lookup(c.key));
}

struct InstructionsKey {
    int platform_code;
    const char* key;
    const char* fallback;
};

constexpr InstructionsKey kInstructions[] = {
    {1, "instructions9x", "read_9x.txt"},
    {2, "instructionsNT", "read_nt.txt"},
    {3, "instructions2K", "read_2k.txt"},
};

std::string ReadOr(const platform::Profile& ini, const std::string& section, const char* key,
                   const char* fallback) {
    std::string value = ini.Read(section, key);
    return value.empty() ? fallback : value;
}

}  // namespace

std::string WizardCaption(const language::Language& language, const ProductInfo& product) {
    return language.Lookup(keys::cInstallation) + " " + product.product_name + " " +
           product.version_number;
}

void ApplyLanguage(ui::Form& wizard, language::Language& language, ui::Application& application,
                   const ProductInfo& product, const platform::Profile& setup_ini,
                   LanguageDocuments& documents) {
    language.Select(wizard[kLanguageList].ItemIndex());
    SetAll(wizard, language, kFixedCaptions);
    wizard[kTitle].SetText(language::FormatText(language.Lookup(keys::cWelcome),
                                                {product.product_name, product.version_number}));
    wizard[kNote].SetText(language.Lookup(keys::cWarning1) + " " +
                          language.Lookup(keys::cWarning2));
    SetAll(wizard, language, kLaterCaptions);
    wizard[kPrompt].SetText(language::FormatText(language.Lookup(keys::cTitle1),
                                                 {product.product_name, product.version_number}));
    SetAll(wizard, language, kPanelCaptions);
    const std::string caption = WizardCaption(language, product);
    wizard.SetCaption(caption);
    application.SetTitle(caption);

    const std::string section = language.CurrentName();
    documents.license_file = ReadOr(setup_ini, section, "license", "license.txt");
    for (const auto& k : kInstructions) {
        if (k.platform_code == product.platform_code) {
            documents.instructions_file = ReadOr(setup_ini, section, k.key, k.fallback);
        }
    }
}

}  // namespace wizard
