#include "console_dialogs.h"

#include <istream>
#include <ostream>

namespace zkconvert {

ConsoleDialogs::ConsoleDialogs(const language::Language& language, std::vector<Question> questions,
                               std::istream& in, std::ostream& out)
    : language_(language), questions_(std::move(questions)), in_(in), out_(out) {}

std::string ConsoleDialogs::KeyOf(const std::string& text) const {
    for (const language::TextKey& key : language::keys::kAll) {
        if (language_.Lookup(key) == text)
            return std::string(key.key);
    }
    return text;
}

ui::DialogButton ConsoleDialogs::Show(const ui::DialogRequest& request) {
    const std::string key = KeyOf(request.text);
    if (request.kind != ui::DialogKind::Confirmation) {
        messages_.push_back(key);
        out_ << "Error: " << request.text << '\n';
        return request.buttons.front();
    }
    asked_.push_back(key);
    out_ << request.text << " [y/n] ";
    std::optional<bool> answer;
    for (const Question& question : questions_) {
        if (question.key.key == key)
            answer = question.answer;
    }
    if (answer)
        out_ << (*answer ? "yes" : "no") << " (given on the command line)\n";
    const bool yes = answer ? *answer : ReadAnswer();
    return yes ? ui::DialogButton::Yes : ui::DialogButton::No;
}

// y or n, asked again until one is given; the end of the input answers no.
bool ConsoleDialogs::ReadAnswer() {
    for (std::string line; std::getline(in_, line);) {
        if (line == "y" || line == "Y" || line == "yes")
            return true;
        if (line == "n" || line == "N" || line == "no")
            return false;
        out_ << "Please answer y or n: ";
    }
    out_ << "no (end of input)\n";
    return false;
}

}  // namespace zkconvert
