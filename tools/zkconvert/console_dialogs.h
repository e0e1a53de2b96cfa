#pragma once
// The conversions' questions and errors on a console: a question is answered by its command-line
// option when one was given, else typed (y/n); every question and error is recorded by its text
// key for the report.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "language/language.h"
#include "ui/message_dialog.h"

namespace zkconvert {

struct Question {
    const language::TextKey& key;
    std::optional<bool> answer;  // from the command line; none: asked on the console
};

class ConsoleDialogs final : public ui::MessageDialogs {
  public:
    ConsoleDialogs(const language::Language& language, std::vector<Question> questions,
                   std::istream& in, std::ostream& out);

    ui::DialogButton Show(const ui::DialogRequest& request) override;

    // Text keys in the order shown (a text of no known key is recorded as it stands).
    const std::vector<std::string>& Questions() const { return asked_; }
    const std::vector<std::string>& Messages() const { return messages_; }

  private:
    std::string KeyOf(const std::string& text) const;
    bool ReadAnswer();

    const language::Language& language_;
    std::vector<Question> questions_;
    std::istream& in_;
    std::ostream& out_;
    std::vector<std::string> asked_;
    std::vector<std::string> messages_;
};

}  // namespace zkconvert
