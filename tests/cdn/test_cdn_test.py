#!/usr/bin/env python3
"""Checks of the test CDN through real HTTP requests."""

import base64
import gzip
import http.client
import json
import os
import socket
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_cdn  # noqa: E402


class TestCdnTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.TemporaryDirectory()
        with open(os.path.join(cls.root.name, "file.bin"), "wb") as f:
            f.write(bytes(range(256)) * 4)
        cls.cdn = test_cdn.TestCdn(root=cls.root.name)

    @classmethod
    def tearDownClass(cls):
        cls.cdn.stop()
        cls.root.cleanup()

    def setUp(self):
        self.cdn.clear()

    def get(self, path, headers=None, method="GET", body=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.cdn.port, timeout=10)
        conn.request(method, path, body=body, headers=headers or {})
        response = conn.getresponse()
        data = response.read()
        conn.close()
        return response, data

    def test_files_and_ranges(self):
        response, data = self.get("/file.bin")
        self.assertEqual((response.status, len(data)), (200, 1024))
        response, data = self.get("/file.bin", {"Range": "bytes=1000-"})
        self.assertEqual(response.status, 206)
        self.assertEqual(response.getheader("Content-Range"), "bytes 1000-1023/1024")
        self.assertEqual(data, bytes(range(232, 256)))
        response, data = self.get("/file.bin", {"Range": "bytes=-4"})
        self.assertEqual(data, bytes([252, 253, 254, 255]))
        response, _ = self.get("/file.bin", {"Range": "bytes=1024-"})
        self.assertEqual(response.status, 416)
        # Nothing outside the root is served.
        self.assertEqual(self.get("/../" + os.path.basename(__file__))[0].status, 404)
        self.assertEqual(self.get("/%2e%2e/etc/passwd")[0].status, 404)

    def test_binary_bodies_and_padding(self):
        picture = b"\x89PNG\r\n\x1a\n\x00\xff"
        self.cdn.set_rule("/many/*", body_base64=base64.b64encode(picture).decode())
        for path in ("/many/01.png", "/many/x2/999.png"):
            response, data = self.get(path)
            self.assertEqual((response.status, data), (200, picture))
        self.cdn.set_rule("/big.png", body_base64=base64.b64encode(picture).decode(),
                          pad_to=100000)
        response, data = self.get("/big.png")
        self.assertEqual(response.getheader("Content-Length"), "100000")
        self.assertEqual(data, picture + bytes(100000 - len(picture)))
        response, data = self.get("/big.png", {"Range": "bytes=5-12"})
        self.assertEqual((response.status, data), (206, picture[5:] + bytes(3)))
        response, data = self.get("/big.png", {"Range": "bytes=99998-"})
        self.assertEqual(data, bytes(2))
        # A body already as long stays as it is.
        self.cdn.set_rule("/small", body="abc", pad_to=2)
        self.assertEqual(self.get("/small")[1], b"abc")

    def test_requests_answered_at_one_time(self):
        def answering():
            _, data = self.get("/__control/answering")
            return json.loads(data)
        self.assertEqual(answering(), {"now": 0, "most": 0})
        self.cdn.set_rule("/slow", delay=1, body="ok")
        socks = []
        for _ in range(2):
            s = socket.create_connection(("127.0.0.1", self.cdn.port), timeout=10)
            s.sendall(b"GET /slow HTTP/1.1\r\nHost: x\r\n\r\n")
            socks.append(s)
        for s in socks:
            with s:
                self.assertIn(b"200", s.recv(100))
        self.assertEqual(self.get("/plain")[0].status, 404)
        deadline = time.monotonic() + 5
        while answering()["now"] != 0 and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertEqual(answering(), {"now": 0, "most": 2})
        self.cdn.clear()
        self.assertEqual(answering(), {"now": 0, "most": 0})

    def test_form_uploads_are_unpacked(self):
        dump = bytes(range(256)) * 3
        body = (b"--B\r\nContent-Disposition: form-data; name=\"prod\"\r\n\r\nTolvar\r\n"
                b"--B\r\nContent-Disposition: form-data; name=\"upload_file_minidump\"; "
                b"filename=\"u.dmp\"\r\nContent-Type: application/octet-stream\r\n\r\n"
                + dump + b"\r\n--B--\r\n")
        packed = gzip.compress(body)
        chunked = b"".join(b"%x\r\n%s\r\n" % (len(packed[i:i + 100]), packed[i:i + 100])
                           for i in range(0, len(packed), 100)) + b"0\r\n\r\n"
        form = {"Content-Type": "multipart/form-data; boundary=B", "Content-Encoding": "gzip"}
        cases = [
            ("chunked", dict(form, **{"Transfer-Encoding": "chunked"}), chunked, 200),
            ("length", form, packed, 200),
            ("not gzip", form, body, 400),
        ]
        for name, headers, data, status in cases:
            with self.subTest(name):
                self.cdn.clear()
                response, _ = self.get("/submit?product=Tolvar", headers, "POST", data)
                self.assertEqual(response.status, status)
                [record] = self.cdn.requests("/submit")
                upload = record["upload"]
                self.assertEqual(upload["chunked"], name == "chunked")
                if status != 200:
                    self.assertIn("error", upload)
                    continue
                self.assertEqual(upload["fields"], {"prod": "Tolvar"})
                part = upload["files"]["upload_file_minidump"]
                self.assertEqual((part["filename"], part["content_type"], part["size"]),
                                 ("u.dmp", "application/octet-stream", len(dump)))
                self.assertEqual(base64.b64decode(part["content_base64"]), dump)
        # A rule still decides the answer.
        self.cdn.set_rule("/submit", status=500)
        self.assertEqual(self.get("/submit", form, "POST", packed)[0].status, 500)

    def test_generated_content_matches_its_formula(self):
        response, data = self.get("/generated/200000/archive.exe",
                                  {"Range": "bytes=131000-"})
        self.assertEqual(response.status, 206)
        self.assertEqual(data, test_cdn.generated_bytes(131000, 69000))
        self.assertEqual(data[:3], bytes(((k * 7 + k // 251) & 0xFF)
                                         for k in range(131000 - 65521,
                                                        131003 - 65521)))

    def test_redirect_chain_status_and_headers(self):
        self.cdn.set_rule("/a", redirect="/b")
        self.cdn.set_rule("/b", redirect=self.cdn.url("/file.bin"), redirect_status=301)
        response, _ = self.get("/a")
        self.assertEqual((response.status, response.getheader("Location")), (302, "/b"))
        response, _ = self.get("/b")
        self.assertEqual(response.status, 301)
        self.cdn.set_rule("/gone*", status=404, headers={"X-Country": "de"})
        response, _ = self.get("/gone/x")
        self.assertEqual((response.status, response.getheader("X-Country")), (404, "de"))

    def test_times_limits_a_rule_and_queues_the_next(self):
        self.cdn.set_rule("/file.bin", status=503, times=1)
        self.cdn.set_rule("/file.bin", status=500, times=1, append=True)
        self.assertEqual([self.get("/file.bin")[0].status for _ in range(3)],
                         [503, 500, 200])

    def test_drop_ignore_range_and_no_content_length(self):
        self.cdn.set_rule("/file.bin", drop_after=100)
        with self.assertRaises(http.client.IncompleteRead):
            self.get("/file.bin")
        self.cdn.set_rule("/file.bin", ignore_range=True)
        response, data = self.get("/file.bin", {"Range": "bytes=10-"})
        self.assertEqual((response.status, len(data)), (200, 1024))
        self.cdn.set_rule("/file.bin", no_content_length=True)
        response, data = self.get("/file.bin")
        self.assertIsNone(response.getheader("Content-Length"))
        self.assertEqual(len(data), 1024)

    def test_slow_and_hanging_answers(self):
        self.cdn.set_rule("/file.bin", rate=2048)
        began = time.monotonic()
        self.assertEqual(len(self.get("/file.bin")[1]), 1024)
        self.assertGreater(time.monotonic() - began, 0.4)
        self.cdn.set_rule("/hang", hang=True)
        sock = socket.create_connection(("127.0.0.1", self.cdn.port))
        sock.sendall(b"GET /hang HTTP/1.1\r\nHost: x\r\n\r\n")
        sock.settimeout(0.5)
        with self.assertRaises(socket.timeout):
            sock.recv(1)
        sock.close()

    def test_requests_are_recorded_in_memory_and_in_the_log(self):
        self.get("/stats/event?a=1", {"X-Test": "yes"}, method="POST", body=b"k=v")
        records = self.cdn.requests(path="/stats/")
        self.assertEqual(len(records), 1)
        record = records[0]
        self.assertEqual((record["method"], record["path"], record["query"], record["body"]),
                         ("POST", "/stats/event", "a=1", "k=v"))
        self.assertEqual(record["headers"]["X-Test"], "yes")
        with open(self.cdn.log_path) as f:
            logged = [json.loads(line) for line in f]
        self.assertIn("/stats/event", [r["path"] for r in logged])

    def test_each_connection_carries_one_request_so_the_record_follows_the_client(self):
        early = http.client.HTTPConnection("127.0.0.1", self.cdn.port, timeout=10)
        early.request("GET", "/order/1")
        response = early.getresponse()
        response.read()
        self.assertEqual(response.getheader("Connection"), "close")
        self.get("/order/2")
        # http.client connects again for a closed connection.
        early.request("GET", "/order/3")
        early.getresponse().read()
        early.close()
        self.assertEqual([r["path"] for r in self.cdn.requests(path="/order/")],
                         ["/order/1", "/order/2", "/order/3"])


if __name__ == "__main__":
    unittest.main()
