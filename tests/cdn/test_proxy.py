#!/usr/bin/env python3
"""A loopback HTTP proxy for network tests.

Forwards absolute-form requests and opens CONNECT tunnels, optionally asks
for Basic credentials first, misbehaves per path on request, and records
every request it gets as one JSON line. See README.md beside this file.

Command line:
  test_proxy.py [--port 0] [--port-file FILE] [--log FILE]
                [--credentials USER:PASSWORD] [--upstream-source ADDRESS]
                [--idle-exit SECONDS]

Python use:
  with TestProxy(credentials="u:p") as proxy:
      proxy.set_rule("/setup.exe", drop_after=1000, times=1)
      ... requests through proxy.host_port() ...
      proxy.requests(path="/setup.exe")
"""

import argparse
import base64
import json
import os
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_cdn  # noqa: E402

CONTROL_PREFIX = test_cdn.CONTROL_PREFIX
REALM = "tolvar-test-proxy"
# Big relay buffers: the throughput through the proxy is measured against
# the direct download, and a small buffer would make the proxy the limit.
RELAY_BUFFER_SIZE = 1 << 20
HEAD_LIMIT = 64 * 1024
# Hop-by-hop headers of the client's leg; the origin's leg gets its own.
HOP_HEADERS = {"proxy-authorization", "proxy-connection", "connection", "keep-alive"}


class Rule(test_cdn.Rule):
    """How the proxy answers one path ("host:port" for CONNECT). Fields:

    refuse: answer 403 with a Proxy-Status naming the refusal
    status: answer with this status code itself
    drop_after: cut the relayed response after this many body bytes
    stall: read the request and never answer
    tunnel_status: the answer to a CONNECT
    times: the rule applies to this many requests, then is forgotten
    """

    FIELDS = {"refuse", "status", "drop_after", "stall", "tunnel_status", "times"}


class ProxyState(test_cdn.RuleBook):
    """The proxy's rules, credentials and record."""

    def __init__(self, log_path, credentials, upstream_source):
        super().__init__(log_path, Rule)
        self.credentials = credentials
        self.upstream_source = upstream_source
        # Requests read but not yet recorded. A relayed answer is recorded
        # when the origin closes, which can be after the client has read all
        # of it: the record is read only once nothing is in between.
        self.unrecorded = 0
        self.all_recorded = threading.Condition(self.lock)

    def clear(self):
        with self.lock:
            self.clear_rules_and_records()

    def begin_request(self):
        with self.lock:
            self.unrecorded += 1

    def recorded_requests(self, prefix):
        with self.lock:
            self.all_recorded.wait_for(lambda: self.unrecorded == 0, timeout=10)
            return [r for r in self.records if r["path"].startswith(prefix)]

    def keep_record(self, entry):
        super().keep_record(entry)
        self.unrecorded -= 1
        self.all_recorded.notify_all()


class Request:
    """One request head as it arrived on the client's leg."""

    def __init__(self, method, target, version, headers):
        self.method = method
        self.target = target
        self.version = version
        self.headers = headers  # [(name, value)] in arrival order

    def header(self, name):
        name = name.lower()
        for key, value in self.headers:
            if key.lower() == name:
                return value
        return None


class ClientClosed(Exception):
    pass


class Connection:
    """A socket with a read-ahead buffer: a head is read up to its blank
    line, and whatever followed it stays for the body."""

    def __init__(self, sock):
        self.sock = sock
        self.pending = b""

    def read_head(self):
        while b"\r\n\r\n" not in self.pending:
            if len(self.pending) > HEAD_LIMIT:
                raise ValueError("request head too long")
            data = self.sock.recv(65536)
            if not data:
                raise ClientClosed()
            self.pending += data
        head, _, self.pending = self.pending.partition(b"\r\n\r\n")
        return head.decode("latin-1")

    def read_exactly(self, count):
        while len(self.pending) < count:
            data = self.sock.recv(max(65536, count - len(self.pending)))
            if not data:
                raise ClientClosed()
            self.pending += data
        data, self.pending = self.pending[:count], self.pending[count:]
        return data

    def read_line(self):
        while b"\r\n" not in self.pending:
            data = self.sock.recv(65536)
            if not data:
                raise ClientClosed()
            self.pending += data
        line, _, self.pending = self.pending.partition(b"\r\n")
        return line

    def read_body(self, request):
        """The request's body bytes, still chunked when it came chunked."""
        if (request.header("Transfer-Encoding") or "").lower() == "chunked":
            body = bytearray()
            while True:
                line = self.read_line()
                body += line + b"\r\n"
                size = int(line.split(b";")[0].strip() or b"0", 16)
                if size == 0:
                    while True:
                        trailer = self.read_line()
                        body += trailer + b"\r\n"
                        if not trailer:
                            return bytes(body)
                body += self.read_exactly(size + 2)
        length = int(request.header("Content-Length") or "0")
        return self.read_exactly(length) if length > 0 else b""


def parse_head(text):
    lines = text.split("\r\n")
    parts = lines[0].split(" ")
    if len(parts) != 3:
        raise ValueError("bad request line")
    headers = []
    for line in lines[1:]:
        name, sep, value = line.partition(":")
        if not sep:
            raise ValueError("bad header line")
        headers.append((name.strip(), value.strip()))
    return Request(parts[0], parts[1], parts[2], headers)


def basic_user(request, expected):
    """(user name or None, whether the credentials are |expected|)."""
    value = request.header("Proxy-Authorization") or ""
    scheme, _, token = value.partition(" ")
    if scheme.lower() != "basic":
        return None, False
    try:
        decoded = base64.b64decode(token.strip(), validate=True).decode("utf-8")
    except (ValueError, UnicodeDecodeError):
        return None, False
    user, _, _ = decoded.partition(":")
    return user, expected is not None and decoded == expected


class ProxyHandler(socketserver.BaseRequestHandler):
    @property
    def state(self):
        return self.server.state

    def handle(self):
        self.number = self.server.take_connection_number(self.request)
        self.client = Connection(self.request)
        index = 0
        try:
            while not self.state.stopping.is_set():
                try:
                    request = parse_head(self.client.read_head())
                except ValueError:
                    self._send(400, "bad request\n", {})
                    return
                self.state.last_activity = time.monotonic()
                keep_open = self._one(request, index)
                index += 1
                if not keep_open:
                    return
        except (ClientClosed, ConnectionError, OSError):
            return

    def _one(self, request, index):
        """Answers one request; whether the connection carries another."""
        if request.target.startswith(CONTROL_PREFIX):
            body = self.client.read_body(request)
            self._control(request, body)
            return False
        entry = {
            "method": request.method,
            "url": request.target,
            "headers": [name for name, _ in request.headers],
            "user": None,
            "time": time.time(),
            "connection": self.number,
            "index": index,
            "bytes": 0,
        }
        if request.method == "CONNECT":
            entry["host"] = request.target
            entry["path"] = request.target
        else:
            parsed = urllib.parse.urlsplit(request.target)
            entry["host"] = parsed.netloc
            entry["path"] = urllib.parse.unquote(parsed.path)
        recorded = []
        self.state.begin_request()

        def record():
            if not recorded:
                recorded.append(True)
                self.state.record(entry)
        try:
            return self._answer(request, entry, record)
        finally:
            record()

    def _answer(self, request, entry, record):
        body = b"" if request.method == "CONNECT" else self.client.read_body(request)
        user, valid = basic_user(request, self.state.credentials)
        entry["user"] = user
        if self.state.credentials is not None and not valid:
            entry["status"], entry["outcome"] = 407, "auth_required"
            # Recorded before the answer: the connection stays open, and a
            # client may look at the record as soon as it has the answer.
            record()
            # Open for the retry, unless the client said it will not make one
            # on this connection.
            keep_alive = "close" not in (request.header("Proxy-Connection") or
                                         request.header("Connection") or "").lower()
            self._send(407, "proxy credentials wanted\n",
                       {"Proxy-Authenticate": 'Basic realm="%s"' % REALM}, keep_alive=keep_alive)
            return keep_alive
        rule = self.state.take_rule(entry["path"]) or Rule({})
        if rule.get("stall"):
            entry["status"], entry["outcome"] = 0, "stalled"
            record()
            self._stall()
            return False
        if rule.get("refuse"):
            entry["status"], entry["outcome"] = 403, "refused"
            self._send(403, "refused by the proxy\n",
                       {"Proxy-Status": "%s; error=destination_ip_prohibited" % REALM})
            return False
        if rule.get("status") is not None:
            entry["status"], entry["outcome"] = int(rule.get("status")), "answered"
            self._send(int(rule.get("status")), "status from the proxy\n", {})
            return False
        if request.method == "CONNECT":
            return self._tunnel(request, entry, rule, record)
        parsed = urllib.parse.urlsplit(request.target)
        if parsed.scheme != "http" or not parsed.hostname:
            entry["status"], entry["outcome"] = 400, "answered"
            self._send(400, "absolute http URL wanted\n", {})
            return False
        upstream = self._connect_upstream(parsed.hostname, parsed.port or 80, entry)
        if upstream is None:
            return False
        with upstream:
            target = parsed.path or "/"
            if parsed.query:
                target += "?" + parsed.query
            lines = ["%s %s %s" % (request.method, target, request.version)]
            lines += ["%s: %s" % (name, value) for name, value in request.headers
                      if name.lower() not in HOP_HEADERS]
            lines += ["Via: 1.1 %s" % REALM, "Connection: close"]
            upstream.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body)
            self._relay_response(upstream, entry, rule.get("drop_after"))
        return False

    def _connect_upstream(self, host, port, entry):
        try:
            source = (self.state.upstream_source, 0) if self.state.upstream_source else None
            return socket.create_connection((host, port), timeout=30, source_address=source)
        except OSError as e:
            entry["status"], entry["outcome"] = 502, "upstream_failed"
            entry["error"] = str(e)
            self._send(502, "origin unreachable\n",
                       {"Proxy-Status": "%s; error=connection_refused" % REALM})
            return None

    def _relay_response(self, upstream, entry, drop_after):
        """Copies the origin's answer to the client until the origin closes
        (it is asked to), counting the body bytes and cutting after
        |drop_after| of them."""
        buffer = bytearray(RELAY_BUFFER_SIZE)
        view = memoryview(buffer)
        head = b""
        body_sent = 0
        while True:
            count = upstream.recv_into(buffer)
            if count == 0:
                break
            data = view[:count]
            if "status" not in entry:
                head += bytes(data)
                end = head.find(b"\r\n\r\n")
                if end < 0:
                    continue
                status_line = head[:head.find(b"\r\n")].decode("latin-1").split(" ")
                entry["status"] = int(status_line[1]) if len(status_line) > 1 else 0
                self.request.sendall(head[:end + 4])
                data = memoryview(head[end + 4:])
            if drop_after is not None and body_sent + len(data) >= int(drop_after):
                self.request.sendall(data[:int(drop_after) - body_sent])
                body_sent = int(drop_after)
                entry["outcome"], entry["bytes"] = "dropped", body_sent
                self.request.shutdown(socket.SHUT_RDWR)
                return
            self.request.sendall(data)
            body_sent += len(data)
        entry.setdefault("status", 0)
        entry["outcome"], entry["bytes"] = "forwarded", body_sent

    def _tunnel(self, request, entry, rule, record):
        status = int(rule.get("tunnel_status", 200))
        if status != 200:
            entry["status"], entry["outcome"] = status, "answered"
            self._send(status, "tunnel refused\n",
                       {"Proxy-Status": "%s; error=connection_refused" % REALM})
            return False
        host, _, port = request.target.rpartition(":")
        upstream = self._connect_upstream(host.strip("[]"), int(port or 443), entry)
        if upstream is None:
            return False
        entry["status"], entry["outcome"] = 200, "tunnel"
        record()  # a tunnel lasts as long as its client wants
        with upstream:
            self.request.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            if self.client.pending:
                upstream.sendall(self.client.pending)
            upward = threading.Thread(target=_pump, args=(self.request, upstream), daemon=True)
            upward.start()
            _pump(upstream, self.request)
            upward.join(5)
        return False

    def _stall(self):
        while not self.state.stopping.wait(0.2):
            try:
                self.request.settimeout(0)
                if self.request.recv(1, socket.MSG_PEEK) == b"":
                    return
            except BlockingIOError:
                pass
            except OSError:
                return

    def _send(self, status, text, headers, keep_alive=False):
        data = text.encode("utf-8")
        lines = ["HTTP/1.1 %d %s" % (status, REASONS.get(status, "Status")),
                 "Content-Type: text/plain", "Content-Length: %d" % len(data)]
        lines += ["%s: %s" % item for item in headers.items()]
        lines.append("Proxy-Connection: keep-alive" if keep_alive else "Connection: close")
        self.request.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + data)

    def _control(self, request, body):
        parsed = urllib.parse.urlsplit(request.target)
        command = parsed.path[len(CONTROL_PREFIX):]
        params = urllib.parse.parse_qs(parsed.query)
        try:
            payload = json.loads(body.decode("utf-8")) if body else {}
        except ValueError as e:
            return self._reply(400, {"error": "bad json: %s" % e})
        if command == "rule":
            spec = dict(payload)
            path = spec.pop("path", None)
            append = bool(spec.pop("append", False))
            if not path:
                return self._reply(400, {"error": "path missing"})
            try:
                self.state.set_rule(path, spec, append)
            except ValueError as e:
                return self._reply(400, {"error": str(e)})
            return self._reply(200, {"ok": True})
        if command == "clear":
            self.state.clear()
            return self._reply(200, {"ok": True})
        if command == "requests":
            return self._reply(200, self.state.recorded_requests(params.get("path", [""])[0]))
        if command == "shutdown":
            self._reply(200, {"ok": True})
            self.state.stopping.set()
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return None
        if command == "ping":
            return self._reply(200, {"ok": True})
        return self._reply(404, {"error": "unknown control command"})

    def _reply(self, status, value):
        data = json.dumps(value).encode("utf-8")
        self.request.sendall(("HTTP/1.1 %d %s\r\nContent-Type: application/json\r\n"
                              "Content-Length: %d\r\nConnection: close\r\n\r\n"
                              % (status, REASONS.get(status, "Status"), len(data)))
                             .encode("latin-1") + data)


REASONS = {200: "OK", 400: "Bad Request", 403: "Forbidden", 404: "Not Found",
           407: "Proxy Authentication Required", 502: "Bad Gateway",
           503: "Service Unavailable"}


def _pump(source, sink):
    """Copies |source| to |sink| until either side closes; the bytes copied."""
    buffer = bytearray(RELAY_BUFFER_SIZE)
    total = 0
    try:
        while True:
            count = source.recv_into(buffer)
            if count == 0:
                break
            sink.sendall(memoryview(buffer)[:count])
            total += count
    except OSError:
        pass
    try:
        sink.shutdown(socket.SHUT_WR)
    except OSError:
        pass
    return total


class ProxyServer(test_cdn.NumberedConnections, socketserver.ThreadingTCPServer):
    def __init__(self, port, state):
        super().__init__(port, state, ProxyHandler)


def serve(port=0, port_file=None, log=None, credentials=None, upstream_source=None,
          idle_exit=None):
    state = ProxyState(log, credentials, upstream_source)
    test_cdn.run_server(ProxyServer(port, state), port_file, idle_exit)


class TestProxy(test_cdn.ServerProcess):
    """A test proxy in a child process, for Python-driven tests."""

    def __init__(self, credentials=None, upstream_source="127.0.0.2", idle_exit=600):
        args = []
        if credentials:
            args += ["--credentials", credentials]
        if upstream_source:
            args += ["--upstream-source", upstream_source]
        super().__init__(os.path.abspath(__file__), args, idle_exit, "test proxy")

    def host_port(self):
        return "127.0.0.1:%d" % self.port


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--port-file", help="file that receives the chosen port")
    parser.add_argument("--log", help="JSON-lines record of every request")
    parser.add_argument("--credentials", help="USER:PASSWORD a client must send (Basic)")
    parser.add_argument("--upstream-source", default="127.0.0.2",
                        help="local address of connections to origins (127.0.0.2)")
    parser.add_argument("--idle-exit", type=float,
                        help="exit after this many seconds without a request")
    args = parser.parse_args(argv)
    serve(args.port, args.port_file, args.log, args.credentials, args.upstream_source,
          args.idle_exit)
    return 0


if __name__ == "__main__":
    sys.exit(main())
