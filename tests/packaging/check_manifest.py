#!/usr/bin/env python3
"""The winget manifest and SHA256SUMS beside the packages describe the packages there.

    check_manifest.py PACKAGES_DIR VERSION
"""
import glob
import hashlib
import os
import subprocess
import sys

import yaml


def sha256(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest().upper()


def msi_properties(path):
    table = subprocess.run(["msiinfo", "export", path, "Property"], check=True,
                           capture_output=True, text=True).stdout
    return dict(line.split("\t", 1) for line in table.splitlines()[3:] if "\t" in line)


def main(packages, version):
    failures = []

    def check(condition, what):
        if not condition:
            failures.append(what)

    setup = os.path.join(packages, f"Tapster-{version}-setup.exe")
    msi = os.path.join(packages, f"Tapster-{version}.msi")
    zip_file = os.path.join(packages, f"Tapster-{version}-portable.zip")

    with open(os.path.join(packages, "SHA256SUMS")) as file:
        sums = {name: digest.upper() for digest, name in (line.split() for line in file)}
    check(sums == {os.path.basename(p): sha256(p) for p in (setup, msi, zip_file)},
          f"SHA256SUMS does not match the packages: {sums}")

    manifests = {}
    for path in glob.glob(os.path.join(packages, "winget", "*.yaml")):
        with open(path) as file:
            manifest = yaml.safe_load(file)
        manifests[manifest["ManifestType"]] = manifest
    check(sorted(manifests) == ["defaultLocale", "installer", "version"],
          f"the manifest's files are {sorted(manifests)}")
    for kind, manifest in manifests.items():
        check(manifest["PackageVersion"] == version, f"{kind}: version {manifest['PackageVersion']}")
        check(manifest["PackageIdentifier"] == manifests["version"]["PackageIdentifier"],
              f"{kind}: identifier {manifest['PackageIdentifier']}")
        check(tuple(map(int, manifest["ManifestVersion"].split("."))) >= (1, 6, 0),
              f"{kind}: schema {manifest['ManifestVersion']}")

    installers = {i["InstallerType"]: i for i in manifests["installer"]["Installers"]}
    check(sorted(installers) == ["msi", "nullsoft"], f"installers: {sorted(installers)}")
    user, machine = installers["nullsoft"], installers["msi"]
    check(user["Scope"] == "user" and machine["Scope"] == "machine", "the installers' scopes")
    check(user["InstallerSha256"] == sha256(setup), "the installer's SHA-256")
    check(machine["InstallerSha256"] == sha256(msi), "the MSI's SHA-256")
    check(user["InstallerUrl"].endswith("/" + os.path.basename(setup)), user["InstallerUrl"])
    check(machine["InstallerUrl"].endswith("/" + os.path.basename(msi)), machine["InstallerUrl"])
    check(user["InstallerSwitches"]["Silent"] == "/S", "the installer's silent switch")
    check(machine["InstallerSwitches"]["Silent"] == "/qn", "the MSI's silent switch")
    properties = msi_properties(msi)
    check(machine["ProductCode"] == properties["ProductCode"],
          f"ProductCode {machine['ProductCode']}, the MSI's {properties['ProductCode']}")
    check(machine["AppsAndFeaturesEntries"][0]["UpgradeCode"] == properties["UpgradeCode"],
          "the MSI's UpgradeCode")

    for failure in failures:
        print(f"FAILED: {failure}", file=sys.stderr)
    if not failures:
        print(f"the winget manifest and SHA256SUMS match the packages in {packages}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
