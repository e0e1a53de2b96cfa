#include "app/argument_split.h"

#include <cstddef>

namespace app {
namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t';
}

// Past the program's name and the blanks after it.
std::size_t AfterName(const std::string& line) {
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        i = line.find('"', 1);
        i = i == std::string::npos ? line.size() : i + 1;
    }
    while (i < line.size() && !Blank(line[i]))
        ++i;
    while (i < line.size() && Blank(line[i]))
        ++i;
    return i;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    std::size_t i = AfterName(line);
    while (i < line.size()) {
        std::string argument;
        bool quoted = false;
        for (; i < line.size() && (quoted || !Blank(line[i])); ++i) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i == line.size() || line[i] != '"') {
                argument.append(backslashes, '\\');
                if (i == line.size() || (!quoted && Blank(line[i])))
                    break;
                argument += line[i];
                continue;
            }
            argument.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument += '"';
            } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                argument += '"';  // "" in a quoted part
                ++i;
            } else {
                quoted = !quoted;
            }
        }
        arguments.push_back(std::move(argument));
        while (i < line.size() && Blank(line[i]))
            ++i;
    }
    return arguments;
}

}  // namespace app
