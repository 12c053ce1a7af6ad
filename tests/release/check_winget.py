#!/usr/bin/env python3
"""Checks the winget manifest set the build wrote: YAML of manifest schema 1.6.0 with what that
schema requires, the built setup's SHA-256, and switches, exit codes and uninstall entry as
the setup itself and the README's tables give them.
Usage: check_winget.py MANIFEST_DIR SETUP SETUP_TEXTS_PROGRAM README"""
import hashlib
import os
import re
import subprocess
import sys
import unittest

import yaml

MANIFESTS, SETUP, TEXTS_PROGRAM, README = sys.argv[1:5] if len(sys.argv) >= 5 else [""] * 4
NAME = r"[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}"
# What schema 1.6.0 requires of each manifest type, and the values it allows where it lists them.
REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName",
                      "License", "ShortDescription", "ManifestType", "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"],
}
ALLOWED = {
    "InstallerType": "msix msi appx exe zip inno nullsoft wix burn pwa portable",
    "Scope": "user machine",
    "UpgradeBehavior": "install uninstallPrevious",
    "ElevationRequirement": "elevationRequired elevationProhibited elevatesSelf",
    "Architecture": "x86 x64 arm arm64 neutral",
    "InstallModes": "interactive silent silentWithProgress",
    "InstallerSwitches": "Silent SilentWithProgress Interactive InstallLocation Log Upgrade Custom",
    "ReturnResponse": "packageInUse packageInUseByApplication installInProgress fileInUse missingDependency "
                      "diskFull insufficientMemory invalidParameter noNetwork contactSupport rebootRequiredToFinish "
                      "rebootRequiredForInstall rebootInitiated cancelledByUser alreadyInstalled downgrade "
                      "blockedByPolicy systemNotSupported custom",
}


def switch_name(text):
    """The switch a value or a usage line starts with: "/DIR=" of '/DIR="<INSTALLPATH>"'."""
    match = re.match(r'"?(/[A-Za-z?]+=?)', text.strip())
    return match.group(1).upper() if match else None


def setup_texts():
    """The uninstall entry's values, the usage text's switches and its exit codes."""
    lines = subprocess.run([TEXTS_PROGRAM], capture_output=True, text=True, check=True).stdout.splitlines()
    entry = dict(line.split(": ", 1) for line in lines[:3])
    switches = {switch_name(part) for line in lines if line.startswith("/")
                for part in line.split(":")[0].split(" or ")}
    listed = next(line for line in lines if line.startswith("Exit codes:"))[len("Exit codes:"):]
    codes = {int(item.split()[0]) for item in listed.rstrip(".").split(";")}
    return entry, switches, codes


def readme_tables():
    """The switches of the unattended-install table, the codes of its exit-code table and the
    packagers' table of code and winget response."""
    with open(README, encoding="utf-8") as f:
        rows = [[cell.strip() for cell in line.strip().strip("|").split("|")] for line in f if line.startswith("| ")]
    switches = {switch_name(name) for row in rows for name in re.findall(r"`(/[^`]+)`", row[0])}
    codes = {int(row[0]) for row in rows if len(row) == 2 and row[0].isdigit()}
    responses = {int(row[0]): row[2].strip("`") for row in rows if len(row) == 3 and row[0].isdigit()}
    return switches, codes, responses


class WingetManifestTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.manifests = {}
        for leaf in sorted(os.listdir(MANIFESTS)):
            with open(os.path.join(MANIFESTS, leaf), encoding="utf-8") as f:
                document = yaml.safe_load(f)
            cls.manifests[document["ManifestType"]] = document
        cls.installer = cls.manifests["installer"]
        cls.entry, cls.usage_switches, cls.usage_codes = setup_texts()
        cls.readme_switches, cls.readme_codes, cls.readme_responses = readme_tables()

    def test_the_three_manifests_have_what_the_schema_requires(self):
        self.assertEqual(set(REQUIRED), set(self.manifests))
        for kind, manifest in self.manifests.items():
            with self.subTest(kind=kind):
                self.assertEqual([], [key for key in REQUIRED[kind] if manifest.get(key) in (None, "")])
                self.assertEqual("1.6.0", manifest["ManifestVersion"])
                self.assertRegex(manifest["PackageIdentifier"], r"^%s(\.%s){1,7}$" % (NAME, NAME))
        self.assertEqual(1, len({(m["PackageIdentifier"], str(m["PackageVersion"])) for m in self.manifests.values()}))
        self.assertEqual(self.manifests["version"]["DefaultLocale"], self.manifests["defaultLocale"]["PackageLocale"])
        for key, shortest in {"Publisher": 2, "PackageName": 2, "License": 3, "ShortDescription": 3}.items():
            self.assertLessEqual(shortest, len(self.manifests["defaultLocale"][key]), key)

    def test_installer_values_are_the_schemas_and_the_built_setups(self):
        values = [(key, self.installer[key]) for key in ALLOWED if key in self.installer]
        values += [(key, item[key]) for item in self.installer["Installers"] for key in ALLOWED if key in item]
        values += [("ReturnResponse", e["ReturnResponse"]) for e in self.installer["ExpectedReturnCodes"]]
        for key, value in values:
            for item in value if isinstance(value, (list, dict)) else [value]:
                self.assertIn(item, ALLOWED[key].split(), key)
        with open(SETUP, "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest().upper()
        self.assertEqual([digest], [item["InstallerSha256"].upper() for item in self.installer["Installers"]])
        for item in self.installer["Installers"]:
            self.assertRegex(item["InstallerUrl"], r"^[Hh][Tt][Tt][Pp][Ss]?://.+$")

    def test_switches_and_uninstall_entry_are_the_setups(self):
        switches = self.installer["InstallerSwitches"]
        self.assertEqual(('/DIR="<INSTALLPATH>"', '/LOG="<LOGPATH>"'), (switches["InstallLocation"], switches["Log"]))
        for key, value in switches.items():
            with self.subTest(switch=key):
                self.assertIn(switch_name(value), self.usage_switches, "the usage text names it")
                self.assertIn(switch_name(value), self.readme_switches, "the README's switch table names it")
        # The setup names its uninstall key after the product: that name is the product code.
        expected = dict(self.entry, ProductCode=self.entry["DisplayName"])
        self.assertEqual([expected], self.installer["AppsAndFeaturesEntries"])

    def test_every_failure_code_is_mapped_as_the_readme_says(self):
        mapped = {e["InstallerReturnCode"]: e["ReturnResponse"] for e in self.installer["ExpectedReturnCodes"]}
        self.assertEqual(self.usage_codes - {0}, set(mapped), "every failure code of the usage text, and no other")
        self.assertEqual(self.usage_codes, self.readme_codes, "the README's exit-code table")
        self.assertEqual(mapped, self.readme_responses, "the README's table for packagers")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[5:], verbosity=2)
