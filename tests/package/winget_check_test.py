#!/usr/bin/python3
"""The winget manifest check against the writer's manifests and against
broken ones: each row breaks one rule of winget's or one fact of the MSI,
and the check must name it."""
import copy
import os
import sys
import unittest

here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "..", "packaging")]
import winget_check  # noqa: E402
import winget_manifests  # noqa: E402

INSTALLER = {
    "sha256": "0C79D770BF83E85B07D658239923EECC5C39FB655B4FFBAB466E4C739C5E6FA1",
    "product_code": "{DC8FDA84-3CF8-592D-83F4-126CA035D710}",
    "upgrade_code": "{FC4EB203-5A94-457D-9C2E-DE150CE9F743}",
    "name": "Binarok", "publisher": "Quendral", "version": "1.2.12.12",
    "locale": "ja-JP", "architecture": "x64", "scope": "user",
}
FACTS = {"sha256": INSTALLER["sha256"], "ProductCode": INSTALLER["product_code"],
         "UpgradeCode": INSTALLER["upgrade_code"], "ProductVersion": INSTALLER["version"],
         "Scope": "user", "Architecture": "x64"}
ID = "Quendral.Binarok"
VERSION, INSTALLER_FILE = f"{ID}.yaml", f"{ID}.installer.yaml"
JA, EN = f"{ID}.locale.ja-JP.yaml", f"{ID}.locale.en-US.yaml"


def fields(sets, name):
    return sets[name][1]


def installer(sets):
    return fields(sets, INSTALLER_FILE)["Installers"][0]


def entry(sets):
    return installer(sets)["AppsAndFeaturesEntries"][0]


def change(get, key, value):
    def apply(sets):
        get(sets)[key] = value
    return apply


def drop(get, key):
    def apply(sets):
        del get(sets)[key]
    return apply


def rename(old, new):
    def apply(sets):
        sets[new] = sets.pop(old)
    return apply


def every(key, value):
    def apply(sets):
        for _, manifest in sets.values():
            manifest[key] = value
    return apply


def version_manifest(sets):
    return fields(sets, VERSION)


def default_locale(sets):
    return fields(sets, JA)


def en_locale(sets):
    return fields(sets, EN)


def installer_manifest(sets):
    return fields(sets, INSTALLER_FILE)


# (what is broken, how, a part of what the check must say)
BROKEN = [
    ("an identifier of one part", every("PackageIdentifier", "Binarok"), "PackageIdentifier does not match"),
    ("a version with a slash", every("PackageVersion", "1.2/12"), "PackageVersion does not match"),
    ("a version with a line break after it", every("PackageVersion", "1.2.12.12\n"), "PackageVersion does not match"),
    ("a manifest version winget cannot have", every("ManifestVersion", "1.10"), "ManifestVersion does not match"),
    ("an earlier manifest version", every("ManifestVersion", "1.9.0"), "not '1.10.0'"),
    ("a locale of digits", change(version_manifest, "DefaultLocale", "12-34"), "DefaultLocale does not match"),
    ("a short sha256", change(installer, "InstallerSha256", "0C79D770"), "InstallerSha256 does not match winget"),
    ("another file's sha256", change(installer, "InstallerSha256", "AB" * 32), "does not match the MSI"),
    ("an address that is not http", change(installer, "InstallerUrl", "ftp://example.com/a.msi"),
     "InstallerUrl does not match"),
    ("a plain http address", change(installer, "InstallerUrl", "http://example.com/a.msi"), "not an https address"),
    ("an address of 2049 characters", change(installer, "InstallerUrl", "https://" + "a" * 2041),
     "longer than 2048"),
    ("an architecture winget does not know", change(installer, "Architecture", "amd64"),
     "Architecture is not one of winget's"),
    ("another architecture than the MSI's", change(installer, "Architecture", "x86"), "not the MSI's x64"),
    ("an installer type winget does not know", change(installer, "InstallerType", "msi2"),
     "InstallerType is not one of winget's"),
    ("an installer type other than msi", change(installer, "InstallerType", "exe"), "not of InstallerType msi"),
    ("no installer type anywhere", drop(installer, "InstallerType"), "not of InstallerType msi"),
    ("the machine scope of a per-user MSI", change(installer, "Scope", "machine"), "Scope is not the MSI's user"),
    ("another product code", change(installer, "ProductCode", "{00000000-0000-0000-0000-000000000000}"),
     "ProductCode is not the MSI's"),
    ("an entry with another upgrade code", change(entry, "UpgradeCode", "{00000000-0000-0000-0000-000000000000}"),
     "UpgradeCode is not the MSI's"),
    ("an entry without its upgrade code", drop(entry, "UpgradeCode"), "UpgradeCode is not the MSI's"),
    ("an entry of another version", change(entry, "DisplayVersion", "1.2.12.13"), "DisplayVersion is not the MSI's"),
    ("a package version not the MSI's", every("PackageVersion", "1.2.12.13"), "not the MSI's version"),
    ("no installers", change(installer_manifest, "Installers", []), "fewer than 1 items"),
    ("an installer without its address", drop(installer, "InstallerUrl"), "lacks InstallerUrl"),
    ("a default locale without a licence", drop(default_locale, "License"), "lacks License"),
    ("a misspelt field", change(default_locale, "Licence", "MIT"), "a field this check does not know"),
    ("a licence of two characters", change(default_locale, "License", "MI"), "shorter than 3"),
    ("a short description of 257 characters", change(en_locale, "ShortDescription", "x" * 257), "longer than 256"),
    ("a number where a string belongs", change(default_locale, "PackageName", 12), "not a string"),
    ("an empty required field", change(default_locale, "Publisher", None), "Publisher is empty"),
    ("manifests of two versions", change(en_locale, "PackageVersion", "1.2.12.11"), "disagree on PackageVersion"),
    ("a default locale with no manifest", change(version_manifest, "DefaultLocale", "en-GB"),
     "not that of the defaultLocale manifest"),
    ("a locale under another locale's name", change(en_locale, "PackageLocale", "en-GB"), "does not say its locale"),
    ("no en-US locale", lambda sets: sets.pop(EN), "not ['en-US', 'ja-JP']"),
    ("no version manifest", lambda sets: sets.pop(VERSION), "0 version manifests"),
    ("the version manifest under another name", rename(VERSION, f"{ID}.version.yaml"),
     "under a name winget gives to none"),
    ("a manifest type winget does not know", change(version_manifest, "ManifestType", "singleton"),
     "no manifest type winget knows"),
]


def texts_of(sets):
    return {name: winget_manifests.manifest_text(kind, manifest) for name, (kind, manifest) in sets.items()}


class WingetCheck(unittest.TestCase):
    def setUp(self):
        self.sets = winget_manifests.manifests(INSTALLER, "https://example.com/Binarok-1.2.12.12-win64.msi")

    def test_the_writers_manifests_hold(self):
        self.assertEqual(winget_check.problems_of(texts_of(self.sets), FACTS), [])

    def test_each_broken_manifest_is_named(self):
        for broken, breaking, said in BROKEN:
            with self.subTest(broken):
                sets = copy.deepcopy(self.sets)
                breaking(sets)
                problems = winget_check.problems_of(texts_of(sets), FACTS)
                self.assertTrue(any(said in problem for problem in problems), problems)

    def test_text_that_yaml_reads_as_a_number_is_named(self):
        texts = texts_of(self.sets)
        texts[VERSION] = texts[VERSION].replace('PackageVersion: "1.2.12.12"', "PackageVersion: 1.2")
        self.assertIn(f"{VERSION}.PackageVersion is not a string: 1.2", winget_check.problems_of(texts, FACTS))

    def test_the_writer_refuses_an_address_that_is_not_https(self):
        with self.assertRaisesRegex(winget_manifests.ManifestError, "must be an https one"):
            winget_manifests.manifests(INSTALLER, "http://example.com/a.msi")


if __name__ == "__main__":
    unittest.main()
