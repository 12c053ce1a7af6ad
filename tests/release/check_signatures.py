#!/usr/bin/env python3
"""Checks the build's Authenticode signatures: the setup and the orv.exe its archive carries
verify against the build's test certificate, a changed byte anywhere they cover is caught,
and signing left the rest of each file, the archive resource above all, as it was.
Usage: check_signatures.py SETUP PACKED_ARCHIVE UNSIGNED_DIR TEST_CERT"""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "release"))
import setup_image  # noqa: E402

SETUP, ARCHIVE, UNSIGNED, CERT = sys.argv[1:5] if len(sys.argv) >= 5 else [""] * 4


def read(path):
    with open(path, "rb") as f:
        return f.read()


def verifies(data, scratch):
    """True when osslsigncode finds a good signature on data, chained to the test certificate."""
    path = os.path.join(scratch, "checked.exe")
    with open(path, "wb") as f:
        f.write(data)
    return subprocess.run(["osslsigncode", "verify", "-CAfile", CERT, "-in", path], capture_output=True).returncode == 0


def without_signature(data, scratch):
    signed, stripped = os.path.join(scratch, "signed.exe"), os.path.join(scratch, "stripped.exe")
    with open(signed, "wb") as f:
        f.write(data)
    if os.path.exists(stripped):
        os.remove(stripped)  # osslsigncode writes no file over an existing one
    subprocess.run(["osslsigncode", "remove-signature", "-in", signed, "-out", stripped], check=True,
                   capture_output=True)
    return read(stripped)


def changed(data, at):
    data = bytearray(data)
    data[at] ^= 0x01
    return bytes(data)


def code_offset(data):
    return setup_image.Image(data).sections[0][3] + 100


class SignatureTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.exists(CERT):
            raise unittest.SkipTest("signed with the publisher's certificate: verify against its chain instead")
        cls.setup = read(SETUP)
        cls.archive = setup_image.resource(setup_image.Image(cls.setup), "FILES", "FILES")
        cls.orv = dict(setup_image.records(cls.archive))["orv.exe"]
        cls.files = {"OrvanelSetup.exe": cls.setup, "orv.exe": cls.orv}

    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="orv-signatures-")
        self.addCleanup(self.scratch.cleanup)

    def test_both_signatures_verify_and_a_changed_byte_is_caught(self):
        archive_at = self.setup.find(self.archive)
        places = {
            "setup, in its code": ("OrvanelSetup.exe", code_offset(self.setup)),
            "setup, in the middle of its archive": ("OrvanelSetup.exe", archive_at + len(self.archive) // 2),
            "setup, at the end of its archive": ("OrvanelSetup.exe", archive_at + len(self.archive) - 1),
            "orv.exe, in its code": ("orv.exe", code_offset(self.orv)),
        }
        for name, data in self.files.items():
            with self.subTest(file=name):
                self.assertNotEqual(0, setup_image.Image(data).directory(setup_image.CERTIFICATE_DIRECTORY)[1])
                self.assertTrue(verifies(data, self.scratch.name))
        for where, (name, at) in places.items():
            with self.subTest(changed=where):
                self.assertFalse(verifies(changed(self.files[name], at), self.scratch.name))

    def test_signing_only_appends_the_signature(self):
        self.assertEqual(read(ARCHIVE), self.archive, "the archive resource is the packed archive")
        for name, data in self.files.items():
            with self.subTest(file=name):
                self.assertEqual(read(os.path.join(UNSIGNED, name)), without_signature(data, self.scratch.name))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[5:], verbosity=2)
