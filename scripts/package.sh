#!/usr/bin/env bash
# Builds what a Windows user downloads, from the Windows build:
#   build/package/TaviMenu2-<version>-win64.zip         the portable program, to unzip anywhere
#   build/package/TaviMenu2-<version>-win64-setup.exe   a per-user installer (res/package/TaviMenu2.nsi)
# and, when TAVI_RELEASE_URL is set, the package managers' manifests beside them
# (scripts/manifests.py): build/package/winget/ and build/package/scoop/.
#
#   TAVI_RELEASE_URL   where the packages of a version are published, "{version}"
#                      standing for the version, for instance
#                      https://example.org/TaviMenu2/releases/download/v{version}
#
# <version>, the publisher and the copyright are read from the program's own
# version resource, which CMake writes from CMakeLists.txt. The program is
# built incrementally in build/windows. Two runs on one commit make the same
# bytes: every time stamp is the last commit's (SOURCE_DATE_EPOCH when set),
# the zip's entries are sorted with fixed attributes, and the program is
# linked without a time stamp.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh           # nsis among the rest; idempotent
cmake --preset windows >/dev/null
cmake --build --preset windows --target TaviMenu2

exe=build/windows/TaviMenu2.exe
identity=$(python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
if at < 0:
    sys.exit(f"{sys.argv[1]} has no version resource")
ms, ls = struct.unpack_from("<II", data, at + 8)
print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}")
for key in ("CompanyName", "LegalCopyright"):
    # A String block: its key, NUL, padding to 4 bytes, then its value, NUL-ended.
    name = (key + "\0").encode("utf-16-le")
    start = data.find(name, at)
    if start < 0:
        sys.exit(f"{sys.argv[1]} has no {key}")
    start += len(name)
    start += (4 - start % 4) % 4
    end = start
    while data[end:end + 2] != b"\0\0":
        end += 2
    print(data[start:end].decode("utf-16-le"))
PY
)
{ read -r version; read -r publisher; read -r copyright; } <<<"$identity"
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}

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
# The setup keeps each file's time and sets it on the user's disk.
find "$out/stage" -exec touch -h -d "@$epoch" {} +

zip_file="$out/TaviMenu2-$version-win64.zip"
setup_file="$out/TaviMenu2-$version-win64-setup.exe"
rm -f "$out"/TaviMenu2-*.zip "$out"/TaviMenu2-*-setup.exe "$out/languages.nsh"
rm -rf "$out/winget" "$out/scoop"
# Python's zipfile marks the Japanese file name as UTF-8 (bit 11), which
# Windows' own zip folders read; Info-ZIP's zip here leaves it unmarked,
# and Windows would read it in code page 932. Each entry has the commit's
# time (as UTC) and fixed attributes, whoever builds it where.
python3 - "$out/stage" "$zip_file" "$epoch" <<'PY'
import pathlib, sys, time, zipfile
stage, target, epoch = pathlib.Path(sys.argv[1]), sys.argv[2], int(sys.argv[3])
stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip's times begin in 1980
with zipfile.ZipFile(target, "w") as archive:
    for path in sorted(stage.rglob("*")):
        name = path.relative_to(stage).as_posix() + ("/" if path.is_dir() else "")
        info = zipfile.ZipInfo(name, stamp)
        info.create_system = 0
        info.external_attr = 0x10 if path.is_dir() else 0x20  # MS-DOS directory / archive
        if path.is_dir():
            archive.writestr(info, b"")
        else:
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, path.read_bytes(), compresslevel=9)
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
  -DPUBLISHER="$publisher" -DCOPYRIGHT="$copyright" -DICON="$(realpath build/windows/generated/TaviMenu2.ico)" \
  -DLANGUAGES="$(realpath "$languages")" res/package/TaviMenu2.nsi

for file in "$zip_file" "$setup_file"; do
  echo "package: $file ($(stat -c %s "$file") bytes, sha256 $(sha256sum "$file" | cut -d' ' -f1))"
done
if [ -n "${TAVI_RELEASE_URL:-}" ]; then
  python3 scripts/manifests.py "$version" "$publisher" "$TAVI_RELEASE_URL" "$zip_file" "$setup_file" "$out"
else
  echo "package: no manifests (set TAVI_RELEASE_URL to the address the packages are published under)"
fi
