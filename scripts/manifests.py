#!/usr/bin/env python3
"""Writes the package managers' manifests for the packages scripts/package.sh
made: winget's three (version, installer, default locale) and Scoop's one.

    scripts/manifests.py VERSION PUBLISHER RELEASE_URL ZIP SETUP OUT_FOLDER

RELEASE_URL is where the packages of this version are published, "{version}"
standing for VERSION. The manifests name each package by that address and
its SHA-256, so a package manager checks the download against this build.
"""

from __future__ import annotations

import hashlib
import json
import sys
from pathlib import Path

IDENTIFIER = "TaviMenu2.TaviMenu2"
MANIFEST_VERSION = "1.6.0"
LOCALE = "ja-JP"
NAME = "たびめにゅ～２"  # as the installer records it in Apps & features
DESCRIPTION = "画面の端に置くボタンのバーから、プログラム・文書・フォルダーをすぐに開くランチャー"
LICENSE = "MIT"
# Kept beside the program by the user: carried over every update.
USER_FILES = ["Launch.ini", "TaviLaunch.ini", "TaviMenu2.INI"]


def sha256(path: Path) -> str:
    return hashlib.sha256(path.read_bytes()).hexdigest()


def yaml(kind: str, fields: list[tuple[str, object]]) -> str:
    """A winget manifest: plain keys, text in quotes, a tuple as a list of
    words, a list as a list of mappings."""
    def scalar(value: object) -> str:
        if isinstance(value, tuple):
            return "[" + ", ".join(value) + "]"
        return json.dumps(value, ensure_ascii=False) if isinstance(value, str) else str(value)

    lines = [f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json", ""]
    for key, value in fields:
        if isinstance(value, list):
            lines.append(f"{key}:")
            for item in value:
                for i, (inner, inner_value) in enumerate(item):
                    lines.append(f"{'- ' if i == 0 else '  '}{inner}: {scalar(inner_value)}")
        else:
            lines.append(f"{key}: {scalar(value)}")
    return "\n".join(lines) + "\n"


def write(version: str, publisher: str, release_url: str, zip_file: Path, setup: Path, out: Path) -> list[Path]:
    base = release_url.replace("{version}", version).rstrip("/")
    head = [("PackageIdentifier", IDENTIFIER), ("PackageVersion", version)]
    tail = [("ManifestVersion", MANIFEST_VERSION)]
    winget = out / "winget"
    winget.mkdir(parents=True, exist_ok=True)
    files = {
        winget / f"{IDENTIFIER}.yaml": yaml("version", head + [("DefaultLocale", LOCALE), ("ManifestType", "version")] + tail),
        winget / f"{IDENTIFIER}.installer.yaml": yaml("installer", head + [
            ("InstallerType", "nullsoft"),
            ("Scope", "user"),
            ("InstallModes", ("interactive", "silent")),
            ("UpgradeBehavior", "install"),
            ("ProductCode", "TaviMenu2"),
            ("Installers", [[("Architecture", "x64"), ("InstallerUrl", f"{base}/{setup.name}"),
                             ("InstallerSha256", sha256(setup).upper())]]),
            ("ManifestType", "installer")] + tail),
        winget / f"{IDENTIFIER}.locale.{LOCALE}.yaml": yaml("defaultLocale", head + [
            ("PackageLocale", LOCALE),
            ("Publisher", publisher),
            ("PackageName", NAME),
            ("License", LICENSE),
            ("ShortDescription", DESCRIPTION),
            ("ManifestType", "defaultLocale")] + tail),
    }
    scoop = {
        "version": version,
        "description": DESCRIPTION,
        "license": LICENSE,
        "url": f"{base}/{zip_file.name}",
        "hash": sha256(zip_file),
        "extract_dir": "TaviMenu2",
        "bin": "TaviMenu2.exe",
        "shortcuts": [["TaviMenu2.exe", NAME]],
        # Scoop makes a folder for a kept name it finds nowhere: each file is
        # made first, empty, which the program takes for a first run.
        "pre_install": [f"if (!(Test-Path \"$persist_dir\\{name}\")) {{ New-Item \"$dir\\{name}\" -ItemType File | Out-Null }}"
                        for name in USER_FILES],
        "persist": USER_FILES,
    }
    (out / "scoop").mkdir(parents=True, exist_ok=True)
    files[out / "scoop" / "tavimenu2.json"] = json.dumps(scoop, ensure_ascii=False, indent=4) + "\n"
    for path, text in files.items():
        path.write_bytes(text.encode("utf-8"))
    return sorted(files)


def main(argv: list[str]) -> int:
    if len(argv) != 7:
        print(__doc__.strip().splitlines()[3].strip(), file=sys.stderr)
        return 2
    version, publisher, release_url, zip_file, setup, out = argv[1:]
    for path in write(version, publisher, release_url, Path(zip_file), Path(setup), Path(out)):
        print(f"manifest: {path}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
