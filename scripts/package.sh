#!/usr/bin/env bash
# Builds what a Windows user downloads, from the Windows build:
#   build/package/TaviMenu2-<version>-win64.zip   the portable program, to unzip anywhere
#   build/package/TaviMenu2-<version>-setup.exe   a per-user installer (res/package/TaviMenu2.nsi)
# <version> is read from the program's own version resource, which CMake
# writes from project(VERSION) in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh           # nsis among the rest; idempotent
scripts/build.sh windows

exe=build/windows/TaviMenu2.exe
version=$(python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
if at < 0:
    sys.exit(f"{sys.argv[1]} has no version resource")
ms, ls = struct.unpack_from("<II", data, at + 8)
print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}")
PY
)

out=build/package
stage="$out/stage/TaviMenu2"
rm -rf "$out/stage"
mkdir -p "$stage"
cp "$exe" "$stage/"
cp res/help/*.html "$stage/"  # the help of each language
# Windows' own editor opens these: CR LF line ends.
crlf() { sed 's/\r\?$/\r/' "$1"; }
crlf LICENSE > "$stage/LICENSE.txt"
crlf res/package/THIRD-PARTY-NOTICES.txt > "$stage/THIRD-PARTY-NOTICES.txt"
crlf "res/package/はじめにお読みください.txt" | sed "s/@VERSION@/$version/g" > "$stage/はじめにお読みください.txt"
crlf res/package/README.txt | sed "s/@VERSION@/$version/g" > "$stage/README.txt"

zip_file="$out/TaviMenu2-$version-win64.zip"
setup_file="$out/TaviMenu2-$version-setup.exe"
rm -f "$zip_file" "$setup_file" "$out/languages.nsh"
# Python's zipfile marks the Japanese file name as UTF-8 (bit 11), which
# Windows' own zip folders read; Info-ZIP's zip here leaves it unmarked,
# and Windows would read it in code page 932.
python3 - "$out/stage" "$zip_file" <<'PY'
import pathlib, sys, zipfile
stage, target = pathlib.Path(sys.argv[1]), sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for path in sorted(stage.rglob("*")):
        archive.write(path, path.relative_to(stage).as_posix())
PY

estimated_kb=$(( ($(du -sb "$stage" | cut -f1) + 1023) / 1024 ))
# The setup's languages, a file each in res/package/lang: English first, as
# the setup falls back to its first language.
languages="$out/languages.nsh"
for nsh in res/package/lang/English.nsh res/package/lang/*.nsh; do
  line="!include \"$(realpath "$nsh")\""
  grep -qxF "$line" "$languages" 2>/dev/null || echo "$line" >> "$languages"
done
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" \
  -DOUTFILE="$(realpath "$out")/$(basename "$setup_file")" -DESTIMATED_KB="$estimated_kb" \
  -DLANGUAGES="$(realpath "$languages")" res/package/TaviMenu2.nsi

for file in "$zip_file" "$setup_file"; do
  echo "package: $file ($(stat -c %s "$file") bytes)"
done
