#pragma once
// Re-labelling the wizard in the current language: every control whose caption is fixed, the
// dialog caption and the application title, and the language's licence and instructions files.
#include <string>

#include "language/language.h"
#include "ui/form.h"

namespace wizard {

struct ProductInfo {
    std::string product_name;
    std::string version_number;
    int platform_code = 0;
};

struct LanguageDocuments {
    std::string license_file;
    std::string instructions_file;  // unchanged for a platform code outside 1 to 3
};

// Makes the entry selected in SelectLangCmb current, re-labels the form and reads the
// language's documents from its section of setup.ini.
void ApplyLanguage(ui::Form& wizard, language::Language& language, ui::Application& application,
                   const ProductInfo& product, const platform::Profile& setup_ini,
                   LanguageDocuments& documents);

// "Установка Zinkolar 5.0": the wizard's caption and the application title.
std::string WizardCaption(const language::Language& language, const ProductInfo& product);

}  // namespace wizard
