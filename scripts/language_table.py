#!/usr/bin/env python3
"""The table of text keys in the distribution guide, made from the program's own text table.

    language_table.py [--write] [TEXT_KEYS_H] [GUIDE_MD]

reads every `inline constexpr TextKey name{"key", TextSection::X, "text"};` of text_keys.h, with
the "Format text:" comment above it (what each "%s" receives), and compares the table between the
guide's language-table markers with it: exit 0 when equal, 1 (with a diff) when not. --write puts
the table into the guide instead.
"""
import difflib
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
BEGIN = "<!-- language-table:begin -->"
END = "<!-- language-table:end -->"
SECTIONS = {"Common": "COMMON", "Zinkolar": "ZINKOLAR", "Manager": "MANAGER",
            "Logbook": "LOGBOOK", "Setup": "SETUP", "Uninstall": "Uninstall", "Server": "SERVER"}
ENTRY = re.compile(r'inline constexpr TextKey \w+\{\s*"(\w+)",\s*TextSection::(\w+),\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\};')
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')


def unescape(literal):
    return re.sub(r'\\(.)', r'\1', literal)


def entries(header_text):
    """(section name, key, Russian text, what the placeholders receive) in file order."""
    found = []
    for match in ENTRY.finditer(header_text):
        text = "".join(unescape(part) for part in LITERAL.findall(match.group(3)))
        # The comment lines right above the entry.
        before = header_text[:match.start()].rstrip("\n").split("\n")
        arguments = ""
        for line in reversed(before):
            line = line.strip()
            if not line.startswith("//"):
                break
            if line.startswith("// Format text:"):
                arguments = line[len("// Format text:"):].strip().rstrip(".")
        found.append((SECTIONS[match.group(2)], match.group(1), text, arguments))
    return found


def cell(text):
    return text.replace("|", "\\|") if text else ""


def table(header_text):
    lines = []
    rows = entries(header_text)
    for section in SECTIONS.values():
        own = [row for row in rows if row[0] == section]
        if not own:
            continue
        lines += ["", f"**[{section}]**", "", "| Key | Built-in Russian text | %s receives |",
                  "|---|---|---|"]
        for _, key, text, arguments in own:
            count = text.count("%s")
            receives = arguments if arguments else ("" if count == 0 else f"{count} values")
            lines.append(f"| `{key}` | {cell(text) or '(empty)'} | {cell(receives)} |")
    return "\n".join(lines + [""])


def main(argv):
    write = "--write" in argv
    paths = [arg for arg in argv if arg != "--write"]
    header = pathlib.Path(paths[0]) if paths else ROOT / "src/language/text_keys.h"
    guide = pathlib.Path(paths[1]) if len(paths) > 1 else ROOT / "docs/distribution.md"
    made = table(header.read_text(encoding="utf-8"))
    text = guide.read_text(encoding="utf-8")
    start, end = text.index(BEGIN) + len(BEGIN), text.index(END)
    if write:
        guide.write_text(text[:start] + "\n" + made + text[end:], encoding="utf-8")
        return 0
    have = text[start:end].strip("\n")
    if have == made.strip("\n"):
        print(f"language table: {len(entries(header.read_text(encoding='utf-8')))} keys, "
              "as in the program")
        return 0
    sys.stdout.writelines(difflib.unified_diff(have.splitlines(True), made.strip("\n").splitlines(True),
                                               "guide", "program"))
    print("\nlanguage table: the guide differs from the program; run scripts/language_table.py --write")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
