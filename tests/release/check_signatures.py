#!/usr/bin/env python3
"""Checks the build's Authenticode signatures: the setup and the orv.exe its archive carries
verify against the build's test certificate, a changed byte anywhere they cover is caught,
and signing left the rest of each file, the archive resource above all, as it was."""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "release"))
import setup_image  # noqa: E402

ARGS = None


def verify(path):
    """True when osslsigncode finds a good signature chained to the test certificate."""
    result = subprocess.run(["osslsigncode", "verify", "-CAfile", ARGS.cert, "-in", path],
                            capture_output=True, text=True)
    return result.returncode == 0


def without_signature(path, out):
    subprocess.run(["osslsigncode", "remove-signature", "-in", path, "-out", out], check=True, capture_output=True)
    with open(out, "rb") as f:
        return f.read()


def read(path):
    with open(path, "rb") as f:
        return f.read()


class SignatureTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.exists(ARGS.cert):
            raise unittest.SkipTest("signed with the publisher's certificate: verify against its chain instead")
        cls.scratch = tempfile.mkdtemp(prefix="orv-signatures-")
        cls.setup = ARGS.setup
        cls.setup_bytes = read(cls.setup)
        cls.archive = setup_image.resource(setup_image.Image(cls.setup_bytes), "FILES", "FILES")
        packed = dict(setup_image.records(cls.archive))
        cls.packed_orv = os.path.join(cls.scratch, "orv.exe")
        with open(cls.packed_orv, "wb") as f:
            f.write(packed["orv.exe"])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def scratch_copy(self, source, name, change_at=None):
        data = bytearray(read(source))
        if change_at is not None:
            data[change_at] ^= 0x01
        path = os.path.join(self.scratch, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_both_signatures_verify(self):
        for path in (self.setup, self.packed_orv):
            with self.subTest(file=os.path.basename(path)):
                image = setup_image.Image(read(path))
                self.assertNotEqual(0, image.directory(setup_image.CERTIFICATE_DIRECTORY)[1], "carries a signature")
                self.assertTrue(verify(path))

    def test_a_changed_byte_is_caught(self):
        image = setup_image.Image(self.setup_bytes)
        archive_at = self.setup_bytes.find(self.archive)
        code_at = image.sections[0][3] + 100
        places = {
            "setup, in its archive": (self.setup, archive_at + len(self.archive) // 2),
            "setup, in its code": (self.setup, code_at),
            "setup, in the archive's last byte": (self.setup, archive_at + len(self.archive) - 1),
            "orv.exe, in its code": (self.packed_orv, setup_image.Image(read(self.packed_orv)).sections[0][3] + 100),
        }
        for where, (source, at) in places.items():
            with self.subTest(where=where):
                self.assertFalse(verify(self.scratch_copy(source, "changed.exe", at)))

    def test_signing_only_appends_the_signature(self):
        self.assertEqual(read(ARGS.archive), self.archive, "the archive resource is the packed archive")
        pairs = {
            "setup": (self.setup, os.path.join(ARGS.unsigned, "OrvanelSetup.exe")),
            "orv.exe": (self.packed_orv, os.path.join(ARGS.unsigned, "orv.exe")),
        }
        for name, (signed, unsigned) in pairs.items():
            with self.subTest(file=name):
                out = os.path.join(self.scratch, "stripped-" + os.path.basename(unsigned))
                self.assertEqual(read(unsigned), without_signature(signed, out))


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--setup", required=True, help="the built, signed setup")
    parser.add_argument("--archive", required=True, help="the packed archive the build embedded")
    parser.add_argument("--unsigned", required=True, help="the folder of the unsigned executables")
    parser.add_argument("--cert", required=True, help="the test certificate")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
