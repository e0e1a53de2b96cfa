#include "language/apply_language.h"

#include "language/format.h"

namespace language {
namespace {

struct Caption {
    const char* control;
    const TextKey& key;
};

// In the order the controls are re-labelled; Label1, Label2 and Label6 are composed texts.
constexpr Caption kFixedCaptions[] = {
    {"BackBtn", keys::cBack},    {"NextBtn", keys::cNext},     {"YesBtn", keys::cAccept},
    {"NoBtn", keys::cNotAccept}, {"CancelBtn", keys::cCancel},
};

constexpr Caption kLaterCaptions[] = {
    {"Label3", keys::cSelectLang},
};

constexpr Caption kPanelCaptions[] = {
    {"Label7", keys::cExt},
    {"Label8", keys::cDescription},
    {"Label9", keys::cCPFile},
    {"Label16", keys::cFaxFile},
    {"Label17", keys::cPhoneBookFile},
    {"Label18", keys::cLogBookFile},
    {"Label19", keys::cMixFile},
    {"Label20", keys::cScheduleFile},
    {"Label21", keys::cScriptFile},
    {"AddLinkToStartCBx", keys::cAddInStart},
    {"AddLinkToDeskTopCBx", keys::cAddDesktop},
    {"AddLinkToQuickLaunchCBx", keys::cAddQuickLaunch},
    {"RunProgCBx", keys::cRunNow},
    {"RunProgGroupCBx", keys::cRunProgGroup},
    {"ServerRb", keys::cServer},
    {"ClientRb", keys::cClient},
    {"AllBtn", keys::cSelectAll},
    {"NoneBtn", keys::cDeselectAll},
};

void SetAll(ui::Form& form, const Language& language, std::span<const Caption> captions) {
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

std::string WizardCaption(const Language& language, const ProductInfo& product) {
    return language.Lookup(keys::cInstallation) + " " + product.product_name + " " +
           product.version_number;
}

void ApplyLanguage(ui::Form& wizard, Language& language, ui::Application& application,
                   const ProductInfo& product, const platform::Profile& setup_ini,
                   LanguageDocuments& documents) {
    language.Select(wizard["SelectLangCmb"].ItemIndex());
    SetAll(wizard, language, kFixedCaptions);
    wizard["Label1"].SetText(FormatText(language.Lookup(keys::cWelcome),
                                        {product.product_name, product.version_number}));
    wizard["Label2"].SetText(language.Lookup(keys::cWarning1) + " " +
                             language.Lookup(keys::cWarning2));
    SetAll(wizard, language, kLaterCaptions);
    wizard["Label6"].SetText(
        FormatText(language.Lookup(keys::cTitle1), {product.product_name, product.version_number}));
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

}  // namespace language
