#!/usr/bin/env python3
"""Writes the winget manifest set of this version for a built setup: the committed manifests
as they are, and the installer manifest from its template with the setup's SHA-256 and address.

  winget_manifest.py --source packaging/winget --setup OrvanelSetup.exe --url URL --out DIR
"""
import argparse
import hashlib
import os
import shutil
import sys


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="the folder of the committed manifests")
    parser.add_argument("--setup", required=True, help="the setup as it is published (signed)")
    parser.add_argument("--url", required=True, help="where the setup will be downloaded from")
    parser.add_argument("--out", required=True, help="the folder to write the manifest set into")
    args = parser.parse_args()
    with open(args.setup, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest().upper()
    os.makedirs(args.out, exist_ok=True)
    for leaf in sorted(os.listdir(args.source)):
        source = os.path.join(args.source, leaf)
        if leaf.endswith(".yaml"):
            shutil.copyfile(source, os.path.join(args.out, leaf))
        elif leaf.endswith(".yaml.in"):
            with open(source, encoding="utf-8") as f:
                text = f.read().replace("@ORV_SETUP_SHA256@", digest).replace("@ORV_INSTALLER_URL@", args.url)
            with open(os.path.join(args.out, leaf[:-3]), "w", encoding="utf-8", newline="\n") as f:
                f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
