#!/usr/bin/python3
"""Checks the winget manifests that scripts/package writes beside the MSI.

Usage: winget_check.py FOLDER INSTALLER.msi

Each manifest must hold the fields, types, lengths and patterns that winget's
published schema of ManifestVersion 1.10.0 requires of it (the subset below,
for every field the manifests here may hold; a field it does not know is a
problem too, so that a new field gets its rule here). The set must be one
multi-file manifest as winget reads it, and say of the MSI beside it what the
MSI says of itself: its SHA-256, product code, upgrade code, version, scope
and architecture. It prints each problem and ends with 1, or says in one line
that the manifests hold.
"""
import hashlib
import os
import re
import subprocess
import sys

import yaml

# Patterns of the schema, as it writes them.
IDENTIFIER = r'^[^\.\s\\/:\*\?"<>\|\x01-\x1f]{1,32}(\.[^\.\s\\/:\*\?"<>\|\x01-\x1f]{1,32}){1,7}$'
VERSION = r'^[^\\/:\*\?"<>\|\x01-\x1f]+$'
LOCALE = r'^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$'
NUMBER = r'(0|[1-9][0-9]{0,3}|[1-5][0-9]{4}|6[0-4][0-9]{3}|65[0-4][0-9]{2}|655[0-2][0-9]|6553[0-5])'
MANIFEST_VERSION = rf'^{NUMBER}(\.{NUMBER}){{2}}$'
URL = r'^([Hh][Tt][Tt][Pp][Ss]?)://.+$'
SHA256 = r'^[A-Fa-f0-9]{64}$'
INSTALLER_TYPES = ["msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa", "portable",
                   "advinstExe", "advinstMsi"]


def text(minimum=None, maximum=None, pattern=None, enum=None, nullable=False):
    return {"type": "string", "min": minimum, "max": maximum, "pattern": pattern, "enum": enum, "nullable": nullable}


def fields(members, required=()):
    return {"type": "object", "members": members, "required": list(required)}


def array(items, minimum=None, maximum=None, nullable=False):
    return {"type": "array", "items": items, "min": minimum, "max": maximum, "nullable": nullable}


def common():
    return {
        "PackageIdentifier": text(maximum=128, pattern=IDENTIFIER),
        "PackageVersion": text(maximum=128, pattern=VERSION),
        # The kind of a manifest is its ManifestType, which check_set holds
        # against the file's name and the kinds winget knows.
        "ManifestType": text(),
        "ManifestVersion": text(pattern=MANIFEST_VERSION),
    }


COMMON_REQUIRED = ["PackageIdentifier", "PackageVersion", "ManifestType", "ManifestVersion"]
PRODUCT_CODE = text(1, 255, nullable=True)
APPS_AND_FEATURES_ENTRY = fields({
    "DisplayName": text(1, 256, nullable=True),
    "Publisher": text(1, 256, nullable=True),
    "DisplayVersion": text(1, 128, nullable=True),
    "ProductCode": PRODUCT_CODE,
    "UpgradeCode": PRODUCT_CODE,
    "InstallerType": text(enum=INSTALLER_TYPES, nullable=True),
})
INSTALLER = fields({
    "InstallerLocale": text(maximum=20, pattern=LOCALE, nullable=True),
    "Architecture": text(enum=["x86", "x64", "arm", "arm64", "neutral"]),
    "InstallerType": text(enum=INSTALLER_TYPES, nullable=True),
    "Scope": text(enum=["user", "machine"], nullable=True),
    "InstallerUrl": text(maximum=2048, pattern=URL),
    "InstallerSha256": text(pattern=SHA256),
    "ProductCode": PRODUCT_CODE,
    "AppsAndFeaturesEntries": array(APPS_AND_FEATURES_ENTRY, maximum=128, nullable=True),
}, ["Architecture", "InstallerUrl", "InstallerSha256"])


def locale_manifest(kind, required):
    nullable = kind == "locale"
    return fields({
        **common(),
        "PackageLocale": text(maximum=20, pattern=LOCALE),
        "Publisher": text(2, 256, nullable=nullable),
        "PackageName": text(2, 256, nullable=nullable),
        "License": text(3, 512, nullable=nullable),
        "ShortDescription": text(3, 256, nullable=nullable),
    }, COMMON_REQUIRED + ["PackageLocale"] + required)


MANIFESTS = {
    "version": fields({**common(), "DefaultLocale": text(maximum=20, pattern=LOCALE)},
                      COMMON_REQUIRED + ["DefaultLocale"]),
    "installer": fields({**common(), "Installers": array(INSTALLER, 1, 1024)},
                        COMMON_REQUIRED + ["Installers"]),
    "defaultLocale": locale_manifest("defaultLocale", ["Publisher", "PackageName", "License", "ShortDescription"]),
    "locale": locale_manifest("locale", []),
}

# What the release's manifests are.
RELEASE = {"PackageIdentifier": "Quendral.Binarok", "ManifestVersion": "1.10.0", "DefaultLocale": "ja-JP",
           "Locales": {"ja-JP", "en-US"}}


def matches(pattern, value):
    # The schema's $ ends the text, where Python's would also allow a line end.
    return re.search(pattern[:-1] + r"\Z" if pattern.endswith("$") else pattern, value) is not None


def check_value(rule, value, where, problems):
    if value is None:
        if not rule.get("nullable"):
            problems.append(f"{where} is empty")
        return
    if rule["type"] == "string":
        if not isinstance(value, str):
            problems.append(f"{where} is not a string: {value!r}")
            return
        if rule["enum"] is not None and value not in rule["enum"]:
            problems.append(f"{where} is not one of winget's values: {value!r}")
        if rule["min"] is not None and len(value) < rule["min"]:
            problems.append(f"{where} is shorter than {rule['min']} characters: {value!r}")
        if rule["max"] is not None and len(value) > rule["max"]:
            problems.append(f"{where} is longer than {rule['max']} characters")
        if rule["pattern"] is not None and not matches(rule["pattern"], value):
            problems.append(f"{where} does not match winget's pattern: {value!r}")
    elif rule["type"] == "array":
        if not isinstance(value, list):
            problems.append(f"{where} is not a list")
            return
        if rule["min"] is not None and len(value) < rule["min"]:
            problems.append(f"{where} has fewer than {rule['min']} items")
        if rule["max"] is not None and len(value) > rule["max"]:
            problems.append(f"{where} has more than {rule['max']} items")
        for index, item in enumerate(value):
            check_value(rule["items"], item, f"{where}[{index}]", problems)
    else:
        if not isinstance(value, dict):
            problems.append(f"{where} is not a mapping")
            return
        for name in rule["required"]:
            if name not in value:
                problems.append(f"{where} lacks {name}")
        for name, item in value.items():
            if name not in rule["members"]:
                problems.append(f"{where} has {name}, a field this check does not know")
            else:
                check_value(rule["members"][name], item, f"{where}.{name}", problems)


def kind_by_name(name, identifier):
    if name == f"{identifier}.yaml":
        return "version"
    if name == f"{identifier}.installer.yaml":
        return "installer"
    if name.startswith(f"{identifier}.locale.") and name.endswith(".yaml"):
        return "locale"
    return None


def check_set(documents, problems):
    """The files as one multi-file manifest; returns them by kind."""
    identifier = RELEASE["PackageIdentifier"]
    by_kind = {"version": [], "installer": [], "defaultLocale": [], "locale": []}
    for name, document in sorted(documents.items()):
        kind = document.get("ManifestType") if isinstance(document, dict) else None
        expected = kind_by_name(name, identifier)
        if kind not in by_kind:
            problems.append(f"{name}: no manifest type winget knows: {kind!r}")
            continue
        if expected != (kind if kind != "defaultLocale" else "locale"):
            problems.append(f"{name}: a {kind} manifest under a name winget gives to {expected or 'none'}")
        if kind in ("locale", "defaultLocale") and name != f"{identifier}.locale.{document.get('PackageLocale')}.yaml":
            problems.append(f"{name}: the name does not say its locale {document.get('PackageLocale')!r}")
        by_kind[kind].append(document)
    for kind in ("version", "installer", "defaultLocale"):
        if len(by_kind[kind]) != 1:
            problems.append(f"{len(by_kind[kind])} {kind} manifests, not one")
    every_document = [document for documents_of_kind in by_kind.values() for document in documents_of_kind]
    for key in ("PackageIdentifier", "PackageVersion", "ManifestVersion"):
        values = sorted({str(document.get(key)) for document in every_document})
        if len(values) > 1:
            problems.append(f"the manifests disagree on {key}: {values}")
        if key in RELEASE and values and values[0] != RELEASE[key]:
            problems.append(f"{key} is {values[0]!r}, not {RELEASE[key]!r}")
    locales = [document.get("PackageLocale") for kind in ("defaultLocale", "locale") for document in by_kind[kind]]
    if len(set(locales)) != len(locales):
        problems.append(f"a locale has two manifests: {locales}")
    if set(locales) != RELEASE["Locales"]:
        problems.append(f"the locales are {sorted(map(str, locales))}, not {sorted(RELEASE['Locales'])}")
    if by_kind["version"] and by_kind["defaultLocale"]:
        default = by_kind["version"][0].get("DefaultLocale")
        if default != by_kind["defaultLocale"][0].get("PackageLocale") or default != RELEASE["DefaultLocale"]:
            problems.append(f"the default locale {default!r} is not that of the defaultLocale manifest, "
                            f"{RELEASE['DefaultLocale']!r}")
    return by_kind


def check_installer_against(installer_manifest, facts, problems):
    """What the installer manifest says of the MSI, against the MSI."""
    version = installer_manifest.get("PackageVersion")
    if version != facts["ProductVersion"]:
        problems.append(f"PackageVersion {version!r} is not the MSI's version {facts['ProductVersion']!r}")
    installers = installer_manifest.get("Installers") or []
    if len(installers) != 1:
        problems.append(f"{len(installers)} installers, not the one MSI")
    for index, installer in enumerate(installers):
        if not isinstance(installer, dict):
            continue
        where = f"Installers[{index}]"
        if (installer.get("InstallerType") or installer_manifest.get("InstallerType")) != "msi":
            problems.append(f"{where} is not of InstallerType msi")
        if str(installer.get("InstallerSha256", "")).upper() != facts["sha256"]:
            problems.append(f"{where}.InstallerSha256 does not match the MSI, whose SHA-256 is {facts['sha256']}")
        if not str(installer.get("InstallerUrl", "")).startswith("https://"):
            problems.append(f"{where}.InstallerUrl is not an https address")
        if installer.get("ProductCode") != facts["ProductCode"]:
            problems.append(f"{where}.ProductCode is not the MSI's {facts['ProductCode']}")
        if installer.get("Scope") != facts["Scope"]:
            problems.append(f"{where}.Scope is not the MSI's {facts['Scope']}")
        if installer.get("Architecture") != facts["Architecture"]:
            problems.append(f"{where}.Architecture is not the MSI's {facts['Architecture']}")
        entries = installer.get("AppsAndFeaturesEntries") or []
        if len(entries) != 1 or not isinstance(entries[0], dict):
            problems.append(f"{where} has {len(entries)} Apps and features entries, not the MSI's one")
            continue
        for key, fact in (("ProductCode", "ProductCode"), ("UpgradeCode", "UpgradeCode"),
                          ("DisplayVersion", "ProductVersion")):
            if entries[0].get(key) != facts[fact]:
                problems.append(f"{where}.AppsAndFeaturesEntries[0].{key} is not the MSI's {facts[fact]}")


def problems_of(texts, facts):
    """Every problem of the manifest texts {file name: text} beside the MSI of these facts."""
    problems, documents = [], {}
    for name, content in texts.items():
        try:
            documents[name] = yaml.safe_load(content)
        except yaml.YAMLError as error:
            problems.append(f"{name}: not YAML: {error}")
    by_kind = check_set(documents, problems)
    for name, document in sorted(documents.items()):
        kind = document.get("ManifestType") if isinstance(document, dict) else None
        if kind in MANIFESTS:
            check_value(MANIFESTS[kind], document, name, problems)
    if len(by_kind["installer"]) == 1:
        check_installer_against(by_kind["installer"][0], facts, problems)
    return problems


def msi_facts(msi):
    """What the MSI says of itself, read apart from the writer of the manifests."""
    def msiinfo(*arguments):
        return subprocess.run(["msiinfo", *arguments], check=True, capture_output=True).stdout.decode("utf-8")
    rows = msiinfo("export", msi, "Property").replace("\r", "").split("\n")[3:]
    properties = dict(row.split("\t", 1) for row in rows if "\t" in row)
    template = re.search(r"^Template: ([^;\n]*)", msiinfo("suminfo", msi), re.M)
    with open(msi, "rb") as file:
        sha256 = hashlib.sha256(file.read()).hexdigest().upper()
    return {
        "sha256": sha256,
        "ProductCode": properties.get("ProductCode"),
        "UpgradeCode": properties.get("UpgradeCode"),
        "ProductVersion": properties.get("ProductVersion"),
        "Scope": "machine" if properties.get("ALLUSERS") == "1" else "user",
        "Architecture": {"x64": "x64", "Intel": "x86", "Arm64": "arm64"}.get(template.group(1) if template else None),
    }


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: winget_check.py FOLDER INSTALLER.msi")
    folder, msi = sys.argv[1:]
    texts = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as file:
            content = file.read()
        try:
            texts[name] = content.decode("utf-8")
        except UnicodeDecodeError:
            sys.exit(f"winget manifests: {name} is not UTF-8, as winget reads it")
    problems = problems_of(texts, msi_facts(msi))
    for problem in problems:
        print(f"winget manifests: {problem}", file=sys.stderr)
    if problems:
        sys.exit(1)
    print(f"winget manifests: {len(texts)} files in {folder} hold winget's 1.10.0 rules and match {os.path.basename(msi)}")


if __name__ == "__main__":
    main()
