#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into tests/fuzz/<target>/.

The seeds are small real inputs of each reader: signed and tagged PE files
(a 1,024-byte image signed with the development certificate by osslsigncode
and stamped by tag_tool), trust documents made by trust_tool from the test
certificates, the brand and data JSON files of the resources, installer
tags, command lines and Content-Range headers.

  tests/fuzz/make_corpus.py --tools DIR    (DIR holds tag_tool and trust_tool,
                                            e.g. build/host/release_tools)
"""

import argparse
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
KEYS = os.path.join(ROOT, "tests", "keys")


def tiny_pe(plus):
    """A minimal 1,024-byte executable whose one section returns 0."""
    image = bytearray(0x400)
    image[0:2] = b"MZ"
    pe = 0x40
    struct.pack_into("<I", image, 60, pe)
    image[pe:pe + 4] = b"PE\0\0"
    optional_size = 240 if plus else 224
    struct.pack_into("<HHIIIHH", image, pe + 4, 0x8664 if plus else 0x14C, 1, 0, 0, 0,
                     optional_size, 0x22 if plus else 0x102)
    opt = pe + 24
    struct.pack_into("<HBB", image, opt, 0x20B if plus else 0x10B, 14, 0)
    struct.pack_into("<III", image, opt + 4, 0x200, 0, 0)
    struct.pack_into("<II", image, opt + 16, 0x1000, 0x1000)
    if plus:
        struct.pack_into("<Q", image, opt + 24, 0x140000000)
    else:
        struct.pack_into("<II", image, opt + 24, 0x1000, 0x400000)
    struct.pack_into("<II", image, opt + 32, 0x1000, 0x200)
    struct.pack_into("<H", image, opt + 40, 6)
    struct.pack_into("<H", image, opt + 48, 6)
    struct.pack_into("<II", image, opt + 56, 0x2000, 0x200)
    struct.pack_into("<H", image, opt + 68, 3)
    for i, value in enumerate((0x100000, 0x1000, 0x100000, 0x1000)):
        if plus:
            struct.pack_into("<Q", image, opt + 72 + 8 * i, value)
        else:
            struct.pack_into("<I", image, opt + 72 + 4 * i, value)
    struct.pack_into("<I", image, opt + (108 if plus else 92), 16)
    section = opt + optional_size
    image[section:section + 5] = b".text"
    struct.pack_into("<IIII", image, section + 8, 0x10, 0x1000, 0x200, 0x200)
    struct.pack_into("<I", image, section + 36, 0x60000020)
    image[0x200:0x203] = b"\x31\xC0\xC3"  # xor eax, eax; ret
    return bytes(image)


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def sign(image, work, name):
    unsigned = os.path.join(work, name + ".unsigned")
    signed = os.path.join(work, name)
    with open(unsigned, "wb") as f:
        f.write(image)
    run("osslsigncode", "sign", "-certs", os.path.join(KEYS, "test_signing.pem"),
        "-key", os.path.join(KEYS, "test_signing.key"),
        "-ac", os.path.join(KEYS, "test_root_ca.pem"), "-h", "sha256",
        "-in", unsigned, "-out", signed)
    return signed


def read(path):
    with open(path, "rb") as f:
        return f.read()


def certificate_table(image):
    """The attribute certificate table of a PE image (directory entry 4)."""
    pe = struct.unpack_from("<I", image, 60)[0]
    magic = struct.unpack_from("<H", image, pe + 24)[0]
    directories = pe + 24 + (112 if magic == 0x20B else 96)
    offset, size = struct.unpack_from("<II", image, directories + 4 * 8)
    return image[offset:offset + size]


def utf16_words(words):
    return b"\0\0".join(w.encode("utf-16-le") for w in words)


def crash_dump(annotations, first=b"MDMP", absolute=False):
    """A minidump whose one stream is the crash-annotation stream, with its
    dictionary offsets relative to the stream (as written) or fixed up to file
    offsets (as uploaded)."""
    strings, pairs = b"", b""
    for key, value in annotations:
        for text in (key, value):
            pairs += struct.pack("<I", len(strings))
            strings += struct.pack("<I", len(text)) + text + b"\0"
    header_size, stream_at = 52, 44
    dictionary = stream_at + header_size
    if absolute:
        base = dictionary + 4 + len(pairs)
        pairs = b"".join(struct.pack("<I", base + struct.unpack_from("<I", pairs, i)[0])
                         for i in range(0, len(pairs), 4))
    body = struct.pack("<I", len(annotations)) + pairs + strings
    stream = (struct.pack("<I", 1) + bytes(range(16)) + bytes(range(16, 32)) +
              struct.pack("<IIII", len(body), dictionary if absolute else header_size, 0, 0) +
              body)
    # Signature, version, stream count, directory offset, checksum, time, flags.
    head = first + struct.pack("<IIIIIQ", 0xA793, 1, 32, 0, 0, 0)[:28]
    return head + struct.pack("<III", 0x43500001, len(stream), stream_at) + stream


class Corpus:
    def __init__(self, out_root):
        self.out_root = out_root
        self.written = {}

    def add(self, target, data):
        directory = os.path.join(self.out_root, target)
        os.makedirs(directory, exist_ok=True)
        # Named by content, as libFuzzer names what it finds.
        with open(os.path.join(directory, hashlib.sha1(data).hexdigest()), "wb") as f:
            f.write(data)
        self.written[target] = self.written.get(target, 0) + 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tools", required=True, help="directory of tag_tool and trust_tool")
    parser.add_argument("--out", default=HERE, help="corpus root (tests/fuzz)")
    args = parser.parse_args()
    tag_tool = os.path.join(args.tools, "tag_tool")
    trust_tool = os.path.join(args.tools, "trust_tool")
    corpus = Corpus(args.out)

    with tempfile.TemporaryDirectory(prefix="corpus_") as work:
        # Signed and tagged executables, both image formats.
        for plus in (False, True):
            kind = "pe32plus" if plus else "pe32"
            signed = sign(tiny_pe(plus), work, kind + ".exe")
            tagged = os.path.join(work, kind + "_tagged.exe")
            run(tag_tool, "stamp", "--output=" + tagged, signed, "lang=tr&x=1")
            for path in (signed, tagged):
                image = read(path)
                corpus.add("certificate_tag_fuzzer", b"\0" + image)
                corpus.add("certificate_tag_fuzzer", b"\1" + certificate_table(image))
            # The certificates of the signature, for the SignedData wrapper:
            # the DER of each certificate of the test chain.
            for pem in ("test_signing.pem", "test_root_ca.pem"):
                der = subprocess.run(["openssl", "x509", "-in", os.path.join(KEYS, pem),
                                      "-outform", "DER"], check=True,
                                     stdout=subprocess.PIPE).stdout
                corpus.add("certificate_tag_fuzzer", b"\2" + der)
            corpus.add("legacy_tag_fuzzer", b"\0" + read(signed))
            if not plus:  # the legacy block exists in 32-bit images only
                legacy = os.path.join(work, kind + "_legacy.exe")
                run(tag_tool, "stamp", "--legacy", "--output=" + legacy, signed,
                    "brand=ua&banerid=7&tolvaruid=abc")
                legacy_image = read(legacy)
                corpus.add("legacy_tag_fuzzer", b"\0" + legacy_image)
                corpus.add("legacy_tag_fuzzer", b"\1" + certificate_table(legacy_image))

        # Trust documents: with and without the key digest, two entries.
        signer = os.path.join(KEYS, "test_signing.pem")
        issuer = os.path.join(KEYS, "test_root_ca.pem")
        listed = os.path.join(work, "trusted.json")
        run(trust_tool, "json", "--signer", signer, "--issuer", issuer, "--out", listed)
        no_key = os.path.join(work, "trusted_no_key.json")
        run(trust_tool, "json", "--signer", signer, "--issuer", issuer, "--out", no_key,
            "--no-pub-key")
        two = os.path.join(work, "trusted_two.json")
        run(trust_tool, "json", "--signer", os.path.join(KEYS, "untrusted_signing.pem"),
            "--issuer", os.path.join(KEYS, "untrusted_root_ca.pem"), "--out", two,
            "--append", listed)
        documents = [read(p) for p in (listed, no_key, two)]
        documents.append(read(os.path.join(ROOT, "trust", "testdata",
                                           "wrong_key_digest_first.json")))
        documents.append(b'// listed\n{"trusted_info": {"certificates": [\n'
                         b'  {"id": "EAEgAQ==", /* short */ "pub_key": "00ff"},\n'
                         b'  {"id": "not base64!"}, 7, {"id": "EAEgAQ=="}]}}')
        for document in documents:
            corpus.add("trusted_files_fuzzer", document)
            corpus.add("json_reader_fuzzer", document)

    # JSON: the brand configurations and data files the installer carries,
    # and the reader's extensions.
    for folder in ("resources/packages", "resources/data"):
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if name.endswith(".json"):
                corpus.add("json_reader_fuzzer", read(os.path.join(ROOT, folder, name)))
    corpus.add("json_reader_fuzzer",
               b'{"a": [1, -2.5e3, true, false, null], /* block */ "b": "\\v\\x41\\u00e9\t",\n'
               b' // line\n "c": {"d": {"e": []}}}')
    corpus.add("json_reader_fuzzer", b"[" * 199 + b"]" * 199)

    # Installer tags and distribution parameters.
    for text in (b"lang=tr&x=1", b"brand=ua&banerid=7&distr_tolvaruid=u1&tolvaruid=abc",
                 b"setup_arc_permanent_lock=1&code=lite_install_failed&lang=de&uts2=1",
                 b"a==b&&c=&=d&e", b"partner=%D0%B0&x=\xd0\xb0"):
        corpus.add("distrib_params_fuzzer", text)

    # Content-Range headers, each after the little-endian offset it answers.
    for offset, header in ((4096, b"bytes 4096-8191/8192"), (0, b"bytes 0-99/*"),
                           (100, b"bytes */8192"), (209715000, b"bytes 209715000-209715199/209715200"),
                           (5, b"bytes 6-9/10"), (1, b"bytes 1-1/2")):
        corpus.add("content_range_fuzzer", struct.pack("<I", offset) + header)

    # Crash dumps: the fuzzer takes the annotation count from the first two
    # bytes, so some seeds put the real count there instead of the signature.
    annotations = [(b"prod", b"tolvar_lite"), (b"ptype", b"installer"), (b"ver", b"1.0.0.1")]
    for absolute in (False, True):
        corpus.add("crashpad_info_fuzzer", crash_dump(annotations, absolute=absolute))
        corpus.add("crashpad_info_fuzzer",
                   crash_dump(annotations, first=b"\3\0DM", absolute=absolute))
    corpus.add("crashpad_info_fuzzer", crash_dump([], first=b"\0\0DM"))

    # Command lines as the installer gets and builds them.
    program = "C:\\Users\\user\\Downloads\\lite_installer.exe"
    for words in ([program, "--silent"],
                  [program, "--semi-silent", "--distr-info-params=lang=de&uts2=1",
                   "--brand-name=ua_ru"],
                  ["C:\\Program Files\\x\\setup.exe", "--install-archive=C:\\a b\\c.arc",
                   "--progress-window=1234", "--make-browser-default-after-import"],
                  [program, "--run-as-admin", "--quoted=\"x\\\"y\\\\\"", "loose word",
                   "--EMPTY=", "--trailing-backslash=C:\\dir\\\\"]):
        corpus.add("command_line_fuzzer", utf16_words(words))

    for target, count in sorted(corpus.written.items()):
        print("%s: %d seeds" % (target, count))
    return 0


if __name__ == "__main__":
    sys.exit(main())
