#!/usr/bin/env python3
"""Checks of the test proxy through real requests, against a test CDN that
serves only the proxy's upstream address."""

import base64
import os
import socket
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_cdn  # noqa: E402
import test_proxy  # noqa: E402

UPSTREAM = "127.0.0.2"


def basic(credentials):
    return "Basic " + base64.b64encode(credentials.encode()).decode()


def read_to_end(sock):
    data = b""
    while True:
        piece = sock.recv(65536)
        if not piece:
            return data
        data += piece


def exchange(port, head, body=b"", read_all=True):
    """Sends one raw request to 127.0.0.1:|port|; (status, headers text,
    body) of the first answer."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as sock:
        sock.sendall(head.encode("latin-1") + body)
        data = b""
        while b"\r\n\r\n" not in data:
            piece = sock.recv(65536)
            if not piece:
                break
            data += piece
        head_text, _, rest = data.partition(b"\r\n\r\n")
        lines = head_text.decode("latin-1").split("\r\n")
        length = None
        for line in lines[1:]:
            name, _, value = line.partition(":")
            if name.lower() == "content-length":
                length = int(value)
        while read_all and (length is None or len(rest) < length):
            piece = sock.recv(1 << 20)
            if not piece:
                break
            rest += piece
        status = int(lines[0].split(" ")[1]) if lines[0] else 0
        return status, "\r\n".join(lines[1:]), rest


class TestProxyTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.cdn = test_cdn.TestCdn(only_from=UPSTREAM)
        cls.open_proxy = test_proxy.TestProxy()
        cls.basic_proxy = test_proxy.TestProxy(credentials="user:s3cret")

    @classmethod
    def tearDownClass(cls):
        cls.open_proxy.stop()
        cls.basic_proxy.stop()
        cls.cdn.stop()

    def setUp(self):
        for server in (self.cdn, self.open_proxy, self.basic_proxy):
            server.clear()

    def get(self, proxy, path, headers=""):
        return exchange(proxy.port, "GET %s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n%s\r\n"
                        % (self.cdn.url(path), self.cdn.port, headers))

    def test_direct_requests_are_refused_by_the_cdn(self):
        status, _, _ = exchange(self.cdn.port, "GET /generated/10/x HTTP/1.1\r\nHost: a\r\n\r\n")
        self.assertEqual(status, 403)
        [record] = self.cdn.requests()
        self.assertEqual(record["refused_peer"], "127.0.0.1")

    def test_forwarding_keeps_bodies_and_ranges_and_names_the_hop(self):
        status, _, body = self.get(self.open_proxy, "/generated/300000/setup.exe")
        self.assertEqual((status, body), (200, test_cdn.generated_bytes(0, 300000)))
        status, headers, body = self.get(self.open_proxy, "/generated/300000/setup.exe",
                                         "Range: bytes=120000-\r\n")
        self.assertEqual(status, 206)
        self.assertIn("Content-Range: bytes 120000-299999/300000", headers)
        self.assertEqual(body, test_cdn.generated_bytes(120000, 180000))
        upload = b"name=value" * 1000
        self.cdn.set_rule("/stats", body="ok")
        status, _, _ = exchange(self.open_proxy.port,
                                "POST %s HTTP/1.1\r\nHost: x\r\nContent-Length: %d\r\n\r\n"
                                % (self.cdn.url("/stats?a=1"), len(upload)), upload)
        self.assertEqual(status, 200)
        origin = self.cdn.requests()
        self.assertEqual([r["path"] for r in origin], ["/generated/300000/setup.exe"] * 2 +
                         ["/stats"])
        self.assertFalse(any("refused_peer" in r for r in origin))
        self.assertEqual(origin[0]["headers"].get("Via"), "1.1 tolvar-test-proxy")
        self.assertEqual(origin[2]["query"], "a=1")
        self.assertEqual(origin[2]["body"], upload.decode())
        records = self.open_proxy.requests()
        self.assertEqual([(r["outcome"], r["status"], r["bytes"]) for r in records],
                         [("forwarded", 200, 300000), ("forwarded", 206, 180000),
                          ("forwarded", 200, 2)])
        self.assertEqual(records[2]["method"], "POST")

    def test_basic_credentials(self):
        cases = [
            ("none", "", 407, "auth_required", None),
            ("wrong", "Proxy-Authorization: %s\r\n" % basic("user:wrong"), 407,
             "auth_required", "user"),
            ("not basic", "Proxy-Authorization: Negotiate abc\r\n", 407, "auth_required", None),
            ("right", "Proxy-Authorization: %s\r\n" % basic("user:s3cret"), 200,
             "forwarded", "user"),
        ]
        for name, header, status, outcome, user in cases:
            with self.subTest(name):
                self.basic_proxy.clear()
                got, headers, _ = self.get(self.basic_proxy, "/generated/10/x", header)
                self.assertEqual(got, status)
                if status == 407:
                    self.assertIn('Proxy-Authenticate: Basic realm="tolvar-test-proxy"', headers)
                [record] = self.basic_proxy.requests()
                self.assertEqual((record["outcome"], record["user"]), (outcome, user))
                self.assertNotIn("s3cret", str(record))
        # The origin never sees the proxy's credentials.
        for record in self.cdn.requests():
            self.assertNotIn("Proxy-Authorization", record["headers"])

    def test_a_407_keeps_the_connection_for_the_retry(self):
        with socket.create_connection(("127.0.0.1", self.basic_proxy.port), timeout=10) as sock:
            request = "GET %s HTTP/1.1\r\nHost: x\r\n%s\r\n"
            sock.sendall((request % (self.cdn.url("/generated/5/x"), "")).encode())
            first = sock.recv(65536)
            self.assertTrue(first.startswith(b"HTTP/1.1 407"))
            sock.sendall((request % (self.cdn.url("/generated/5/x"), "Proxy-Authorization: %s\r\n"
                                     % basic("user:s3cret"))).encode())
            second = read_to_end(sock)
        self.assertTrue(second.startswith(b"HTTP/1.1 200"))
        self.assertTrue(second.endswith(test_cdn.generated_bytes(0, 5)))
        records = self.basic_proxy.requests()
        self.assertEqual([(r["connection"], r["index"]) for r in records],
                         [(records[0]["connection"], 0), (records[0]["connection"], 1)])

    def test_a_407_closes_a_connection_the_client_closes(self):
        with socket.create_connection(("127.0.0.1", self.basic_proxy.port), timeout=5) as sock:
            sock.sendall(("GET %s HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"
                          % self.cdn.url("/generated/5/x")).encode())
            answer = read_to_end(sock)  # times out if the proxy keeps it open
        self.assertTrue(answer.startswith(b"HTTP/1.1 407"))
        self.assertIn(b"Connection: close", answer)

    def test_rules(self):
        self.open_proxy.set_rule("/drop", drop_after=1000, times=1)
        self.open_proxy.set_rule("/refuse", refuse=True)
        self.open_proxy.set_rule("/status", status=503)
        self.open_proxy.set_rule("example.test:443", tunnel_status=502)
        self.cdn.set_rule("/drop", generate=5000)
        _, _, body = self.get(self.open_proxy, "/drop")
        self.assertEqual(body, test_cdn.generated_bytes(0, 1000))
        status, _, body = self.get(self.open_proxy, "/drop")  # the rule was used up
        self.assertEqual((status, len(body)), (200, 5000))
        status, headers, _ = self.get(self.open_proxy, "/refuse")
        self.assertEqual(status, 403)
        self.assertIn("Proxy-Status: tolvar-test-proxy; error=destination_ip_prohibited", headers)
        self.assertEqual(self.get(self.open_proxy, "/status")[0], 503)
        status, _, _ = exchange(self.open_proxy.port,
                                "CONNECT example.test:443 HTTP/1.1\r\nHost: example.test\r\n\r\n")
        self.assertEqual(status, 502)
        outcomes = [(r["path"], r["outcome"]) for r in self.open_proxy.requests()]
        self.assertEqual(outcomes, [("/drop", "dropped"), ("/drop", "forwarded"), ("/refuse", "refused"),
                                    ("/status", "answered"), ("example.test:443", "answered")])
        # Refused and answered requests never reached the origin.
        self.assertEqual([r["path"] for r in self.cdn.requests()], ["/drop"] * 2)

    def test_unreachable_origin_is_a_502(self):
        with socket.socket() as spare:
            spare.bind(("127.0.0.1", 0))  # bound, never listening: refuses
            target = "http://127.0.0.1:%d/x" % spare.getsockname()[1]
            status, headers, _ = exchange(self.open_proxy.port,
                                          "GET %s HTTP/1.1\r\nHost: x\r\n\r\n" % target)
        self.assertEqual(status, 502)
        self.assertIn("error=connection_refused", headers)
        [record] = self.open_proxy.requests()
        self.assertEqual(record["outcome"], "upstream_failed")

    def test_a_stalled_request_ends_when_the_client_goes(self):
        self.open_proxy.set_rule("/stall", stall=True)
        with socket.create_connection(("127.0.0.1", self.open_proxy.port), timeout=0.5) as sock:
            sock.sendall(("GET %s HTTP/1.1\r\nHost: x\r\n\r\n" % self.cdn.url("/stall")).encode())
            with self.assertRaises(socket.timeout):
                sock.recv(1)
        # The record is written when the proxy notices the client went.
        for _ in range(50):
            records = self.open_proxy.requests()
            if records:
                break
            time.sleep(0.1)
        self.assertEqual([r["outcome"] for r in records], ["stalled"])

    def test_tunnel_relays_both_ways(self):
        with socket.create_connection(("127.0.0.1", self.open_proxy.port), timeout=10) as sock:
            sock.sendall(("CONNECT 127.0.0.1:%d HTTP/1.1\r\nHost: x\r\n\r\n"
                          % self.cdn.port).encode())
            answer = sock.recv(65536)
            self.assertTrue(answer.startswith(b"HTTP/1.1 200"), answer)
            sock.sendall(b"GET /generated/100/x HTTP/1.1\r\nHost: x\r\n\r\n")
            data = read_to_end(sock)
        self.assertTrue(data.endswith(test_cdn.generated_bytes(0, 100)))
        self.assertEqual(self.open_proxy.requests()[0]["outcome"], "tunnel")
        self.assertNotIn("refused_peer", self.cdn.requests()[0])


if __name__ == "__main__":
    unittest.main()
