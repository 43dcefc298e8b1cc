"""Turns the languages under res/lang/ into what the build compiles.

  make_texts.py OUT_DIR LANG_DIR...

Each LANG_DIR holds texts.txt (the language's texts; its format is described
at the top of res/lang/ja/texts.txt) and the dialog templates of that
language (*.rc). Written to OUT_DIR:

  platform/texts_generated.h    text::kName for every key of the Japanese table
  texts_generated.cpp           every language's table, in the order of the keys
  dialogs_generated.rc          every language's templates under its LANGUAGE

Japanese is the source: its keys are the texts there are. A key another
language lacks is left empty in its table (the program then shows the
English, or else the Japanese, text) and one it has beyond them is listed, so
that the test of the tables names both; neither stops the build. A line the
format does not allow does.
"""

from __future__ import annotations

import re
import sys
from pathlib import Path

SOURCE_LANGUAGE = "ja"
KEY = re.compile(r"^([A-Za-z][A-Za-z0-9]*)(?:\[(\d+)\])?$")


class TableError(Exception):
    pass


def unquote(value: str) -> str:
    """The text a value stands for: quotes around it keep its outer blanks;
    \\n is a line break and \\\\ a backslash."""
    if len(value) >= 2 and value[0] == '"' and value[-1] == '"':
        value = value[1:-1]
    out = []
    i = 0
    while i < len(value):
        c = value[i]
        if c == "\\" and i + 1 < len(value) and value[i + 1] in "n\\":
            out.append("\n" if value[i + 1] == "n" else "\\")
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def read_table(path: Path) -> tuple[dict, dict]:
    """The [Language] values and the [Texts] in file order."""
    header: dict = {}
    texts: dict = {}
    section = None
    for number, raw in enumerate(path.read_text(encoding="utf-8-sig").splitlines(), 1):
        where = f"{path}:{number}"
        line = raw.strip(" \t")
        if not line or line[0] in ";#":
            continue
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
            if section not in ("Language", "Texts"):
                raise TableError(f"{where}: unknown section [{section}]")
            continue
        if "=" not in line:
            raise TableError(f"{where}: expected Key = text")
        key, value = (part.strip(" \t") for part in line.split("=", 1))
        target = header if section == "Language" else texts if section == "Texts" else None
        if target is None:
            raise TableError(f"{where}: a line before [Language] or [Texts]")
        if section == "Texts" and not KEY.match(key):
            raise TableError(f"{where}: '{key}' is not a key (letters and digits, then an optional [n])")
        if key in target:
            raise TableError(f"{where}: '{key}' is given twice")
        target[key] = unquote(value)
    for needed in ("Code", "Name", "Windows"):
        if needed not in header:
            raise TableError(f"{path}: [Language] lacks {needed}")
    try:
        header["Windows"] = int(header["Windows"], 0)
    except ValueError:
        raise TableError(f"{path}: Windows = {header['Windows']} is not a number such as 0x0409")
    return header, texts


def cpp_literal(text: str) -> str:
    escaped = text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n")
    return '"' + escaped + '"'


def main(argv: list) -> int:
    out = Path(argv[1])
    languages = []
    for folder in map(Path, argv[2:]):
        header, texts = read_table(folder / "texts.txt")
        languages.append((header, texts, sorted(folder.glob("*.rc"))))
    codes = [header["Code"] for header, _, _ in languages]
    if SOURCE_LANGUAGE not in codes:
        raise TableError(f"no language with Code = {SOURCE_LANGUAGE}")
    if len(set(codes)) != len(codes):
        raise TableError(f"two languages share a code: {codes}")
    # Japanese first: it is the source and the last fallback.
    languages.sort(key=lambda entry: (entry[0]["Code"] != SOURCE_LANGUAGE, entry[0]["Code"]))
    keys = list(languages[0][1])

    arrays: dict = {}
    for key in keys:
        name, index = KEY.match(key).groups()
        if index is not None:
            arrays.setdefault(name, []).append(int(index))
    for name, indexes in arrays.items():
        if indexes != list(range(len(indexes))):
            raise TableError(f"{name}[n] of the Japanese table must run 0, 1, 2, ... in order")
        if name in keys:
            raise TableError(f"{name} is both a text and a list")

    header_lines = ["// Made by cmake/make_texts.py from res/lang/*/texts.txt: edit those.",
                    "#pragma once", '#include "platform/ui_text.h"', "", "namespace tavi::text {", ""]
    done = set()
    for position, key in enumerate(keys):
        name, index = KEY.match(key).groups()
        if index is None:
            header_lines.append(f"inline constexpr UiText k{name}{{{position}}};")
        elif name not in done:
            done.add(name)
            members = ", ".join(f"UiText{{{keys.index(f'{name}[{i}]')}}}" for i in range(len(arrays[name])))
            header_lines.append(f"inline constexpr UiText k{name}[] = {{{members}}};")
    header_lines += ["", "}  // namespace tavi::text", ""]

    source = ["// Made by cmake/make_texts.py from res/lang/*/texts.txt: edit those.",
              '#include "platform/ui_text.h"', "", "namespace tavi {", "namespace {", ""]
    source.append("constexpr std::string_view kNames[] = {")
    source += [f"    {cpp_literal(key)}," for key in keys]
    source.append("};")
    for header, texts, _ in languages:
        code = header["Code"]
        source.append(f"constexpr std::string_view kTexts_{code}[] = {{")
        source += [f"    {cpp_literal(texts[key]) if key in texts else 'std::string_view{}'}," for key in keys]
        source.append("};")
        extra = [key for key in texts if key not in keys]
        source.append(f"constexpr std::string_view kBeyond_{code}[] = {{")
        source += [f"    {cpp_literal(key)}," for key in extra]
        source.append("    {},")  # never empty; the last is no key
        source.append("};")
    source.append("constexpr LanguageTable kTables[] = {")
    for header, texts, _ in languages:
        code = header["Code"]
        source.append(f"    {{{cpp_literal(code)}, {cpp_literal(header['Name'])}, {header['Windows']:#06x}, "
                      f"kTexts_{code}, {{kBeyond_{code}, std::size(kBeyond_{code}) - 1}}}},")
    source.append("};")
    source += ["", "}  // namespace", "",
               "std::span<const LanguageTable> LanguageTables() { return kTables; }",
               "std::span<const std::string_view> TextNames() { return kNames; }", "",
               "}  // namespace tavi", ""]

    rc = ["// Made by cmake/make_texts.py: each language's dialog templates under its LANGUAGE.", ""]
    for header, _, templates in languages:
        windows = header["Windows"]
        rc.append(f"LANGUAGE {windows & 0x3FF:#04x}, {windows >> 10:#04x}")
        rc += [f'#include "{path.resolve().as_posix()}"' for path in templates]
        rc.append("")

    write(out / "platform" / "texts_generated.h", header_lines)
    write(out / "texts_generated.cpp", source)
    write(out / "dialogs_generated.rc", rc)
    return 0


def write(path: Path, lines: list) -> None:
    """Writes only a changed file, so that an unchanged table rebuilds nothing."""
    text = "\n".join(lines)
    path.parent.mkdir(parents=True, exist_ok=True)
    if not path.exists() or path.read_text(encoding="utf-8") != text:
        path.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except TableError as error:
        print(f"make_texts.py: {error}", file=sys.stderr)
        sys.exit(1)
