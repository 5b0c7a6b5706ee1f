#!/usr/bin/python3
"""Writes winget's multi-file manifest set for the installer as built.

Usage: winget_manifests.py INSTALLER.msi FOLDER INSTALLER-URL

Four manifests of ManifestVersion 1.10.0 go into FOLDER, named as winget
names them: the version manifest, the installer manifest, the default locale
ja-JP and the locale en-US. Everything winget compares with the installed
product comes from the MSI itself: its SHA-256, product code, upgrade code,
name, publisher, version, language, architecture and scope. INSTALLER-URL is
where the release publishes the MSI, an https address.
"""
import hashlib
import json
import os
import subprocess
import sys

PACKAGE_IDENTIFIER = "Quendral.Binarok"  # winget's name for it: never changes
MANIFEST_VERSION = "1.10.0"
DEFAULT_LOCALE = "ja-JP"
LICENSE = "MIT"
SHORT_DESCRIPTIONS = {
    "ja-JP": "10進数の整数を2進数に変換する小さなユーティリティ",
    "en-US": "A small utility that turns decimal integers into binary digits",
}
# Windows language ids of the installer, as winget's locales.
LOCALES = {1041: "ja-JP", 1033: "en-US"}
# The summary's platform, as winget's architectures.
ARCHITECTURES = {"x64": "x64", "Intel": "x86", "Arm64": "arm64"}


class ManifestError(Exception):
    pass


def msi_table(msi, table):
    text = subprocess.run(["msiinfo", "export", msi, table], check=True, capture_output=True).stdout
    rows = [line.split("\t") for line in text.decode("utf-8").replace("\r", "").split("\n")[3:] if line]
    return {row[0]: row[1] for row in rows}


def msi_template(msi):
    text = subprocess.run(["msiinfo", "suminfo", msi], check=True, capture_output=True).stdout.decode("utf-8")
    for line in text.splitlines():
        if line.startswith("Template: "):
            return line[len("Template: "):]
    raise ManifestError(f"{msi} has no platform and language in its summary")


def read_installer(msi):
    """What winget needs to know of the MSI, as read from it."""
    properties = msi_table(msi, "Property")
    platform = msi_template(msi).split(";")[0]
    if platform not in ARCHITECTURES:
        raise ManifestError(f"{msi} is for the platform {platform!r}, which winget does not name")
    language = int(properties.get("ProductLanguage", "0"))
    if language not in LOCALES:
        raise ManifestError(f"{msi} has the language {language}, which has no locale here")
    # Without ALLUSERS a package installs for the current user; 2 would let
    # the user choose, and 1 is per machine.
    allusers = properties.get("ALLUSERS", "")
    if allusers not in ("", "1"):
        raise ManifestError(f"{msi} sets ALLUSERS to {allusers}: neither per user nor per machine")
    with open(msi, "rb") as file:
        sha256 = hashlib.sha256(file.read()).hexdigest().upper()
    return {
        "sha256": sha256,
        "product_code": properties["ProductCode"],
        "upgrade_code": properties["UpgradeCode"],
        "name": properties["ProductName"],
        "publisher": properties["Manufacturer"],
        "version": properties["ProductVersion"],
        "locale": LOCALES[language],
        "architecture": ARCHITECTURES[platform],
        "scope": "machine" if allusers == "1" else "user",
    }


def manifests(installer, url):
    """The manifest set as {file name: (manifest type, fields)}."""
    if not url.startswith("https://"):
        raise ManifestError(f"the installer's address must be an https one, not {url!r}")
    common = {"PackageIdentifier": PACKAGE_IDENTIFIER, "PackageVersion": installer["version"]}
    tail = {"ManifestVersion": MANIFEST_VERSION}
    sets = {
        f"{PACKAGE_IDENTIFIER}.yaml": ("version", {**common, "DefaultLocale": DEFAULT_LOCALE,
                                                   "ManifestType": "version", **tail}),
        f"{PACKAGE_IDENTIFIER}.installer.yaml": ("installer", {**common, "Installers": [{
            "Architecture": installer["architecture"],
            "InstallerType": "msi",
            "Scope": installer["scope"],
            "InstallerLocale": installer["locale"],
            "InstallerUrl": url,
            "InstallerSha256": installer["sha256"],
            "ProductCode": installer["product_code"],
            "AppsAndFeaturesEntries": [{
                "DisplayName": installer["name"],
                "Publisher": installer["publisher"],
                "DisplayVersion": installer["version"],
                "ProductCode": installer["product_code"],
                "UpgradeCode": installer["upgrade_code"],
                "InstallerType": "msi",
            }],
        }], "ManifestType": "installer", **tail}),
    }
    for locale, description in SHORT_DESCRIPTIONS.items():
        kind = "defaultLocale" if locale == DEFAULT_LOCALE else "locale"
        sets[f"{PACKAGE_IDENTIFIER}.locale.{locale}.yaml"] = (kind, {
            **common, "PackageLocale": locale, "Publisher": installer["publisher"],
            "PackageName": installer["name"], "License": LICENSE, "ShortDescription": description,
            "ManifestType": kind, **tail})
    return sets


def yaml_lines(value, indent=""):
    """Block YAML with every string double-quoted, as JSON quotes it: no
    text can then be read as a number, a boolean or a flow mapping."""
    lines = []
    for key, item in value.items():
        if isinstance(item, list) and item:
            lines.append(f"{indent}{key}:")
            for element in item:
                inner = yaml_lines(element, indent + "  ")
                lines.append(f"{indent}- {inner[0].lstrip()}")
                lines.extend(inner[1:])
        else:
            lines.append(f"{indent}{key}: {json.dumps(item, ensure_ascii=False)}")
    return lines


def manifest_text(kind, fields):
    schema = f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
    return "\n".join([f"# yaml-language-server: $schema={schema}", *yaml_lines(fields), ""])


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: winget_manifests.py INSTALLER.msi FOLDER INSTALLER-URL")
    msi, folder, url = sys.argv[1:]
    try:
        texts = {name: manifest_text(*manifest) for name, manifest in manifests(read_installer(msi), url).items()}
    except (ManifestError, subprocess.CalledProcessError, KeyError) as error:
        sys.exit(f"winget_manifests: {error}")
    os.makedirs(folder, exist_ok=True)
    for name, text in texts.items():
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as file:
            file.write(text)


if __name__ == "__main__":
    main()
