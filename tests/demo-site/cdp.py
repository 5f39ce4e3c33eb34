"""A small Chrome DevTools Protocol client over a WebSocket, standard library only, so the
site's pages can be driven in a real headless Chromium by the tests."""

import base64
import json
import os
import re
import shutil
import socket
import struct
import subprocess
import tempfile
import threading
import time
import urllib.request


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


class WebSocket:
    def __init__(self, url, timeout=30):
        m = re.match(r"^ws://([^:/]+):(\d+)(/.*)$", url)
        self.sock = socket.create_connection((m.group(1), int(m.group(2))), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET {m.group(3)} HTTP/1.1\r\nHost: {m.group(1)}:{m.group(2)}\r\n"
                           "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                           f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n")
                          .encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.sock.recv(1)
            if not chunk:
                raise ConnectionError("websocket handshake failed")
            head += chunk
        if b" 101 " not in head.split(b"\r\n", 1)[0]:
            raise ConnectionError(head.decode(errors="replace"))

    def _exact(self, n):
        buf = bytearray()
        while len(buf) < n:
            chunk = self.sock.recv(n - len(buf))
            if not chunk:
                raise ConnectionError("websocket closed")
            buf += chunk
        return bytes(buf)

    def send(self, text):
        data = text.encode("utf-8")
        head = bytearray([0x81])
        if len(data) < 126:
            head.append(0x80 | len(data))
        elif len(data) < 65536:
            head += bytes([0x80 | 126]) + struct.pack(">H", len(data))
        else:
            head += bytes([0x80 | 127]) + struct.pack(">Q", len(data))
        mask = os.urandom(4)
        self.sock.sendall(bytes(head) + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def recv(self):
        message = b""
        while True:
            b0, b1 = self._exact(2)
            n = b1 & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._exact(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._exact(8))[0]
            payload = self._exact(n)
            opcode = b0 & 0x0F
            if opcode == 8:
                raise ConnectionError("websocket closed by peer")
            if opcode in (9, 10):
                continue
            message += payload
            if b0 & 0x80:
                return message.decode("utf-8")

    def close(self):
        self.sock.close()


class Page:
    """One page target of a browser's DevTools endpoint: calls, script evaluation, waiting."""

    def attach(self, websocket_url):
        self.ws = WebSocket(websocket_url)
        self.next_id = 0
        self.events = []
        self.call("Runtime.enable")
        self.call("Page.enable")

    def call(self, method, **params):
        self.next_id += 1
        my_id = self.next_id
        self.ws.send(json.dumps({"id": my_id, "method": method, "params": params}))
        while True:
            msg = json.loads(self.ws.recv())
            if msg.get("id") == my_id:
                if "error" in msg:
                    raise RuntimeError(f"{method}: {msg['error']}")
                return msg.get("result", {})
            if "method" in msg:
                self.events.append(msg)

    def evaluate(self, expression):
        r = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                      awaitPromise=True)
        if "exceptionDetails" in r:
            raise RuntimeError(json.dumps(r["exceptionDetails"])[:2000])
        return r["result"].get("value")

    def navigate(self, url):
        self.call("Page.navigate", url=url)

    def wait_for(self, expression, timeout=60):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                value = self.evaluate(expression)
            except RuntimeError:
                value = None
            if value:
                return value
            time.sleep(0.1)
        raise TimeoutError("timed out waiting for " + expression)

    def exceptions(self):
        return [e for e in self.events if e["method"] == "Runtime.exceptionThrown"]


def page_targets(http_base):
    """The page targets that a DevTools endpoint at http_base (http://host:port) lists."""
    targets = json.loads(urllib.request.urlopen(http_base + "/json/list", timeout=10).read())
    return [t for t in targets if t["type"] == "page"]


class Browser(Page):
    """Headless Chromium that reaches the site under its real host name."""

    def __init__(self, port, spki):
        self.dir = tempfile.TemporaryDirectory()
        args = [find_chromium(), "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                "--disable-background-networking", "--disable-component-update",
                "--disable-sync", "--remote-debugging-port=0",
                f"--user-data-dir={self.dir.name}",
                f"--host-resolver-rules=MAP www.vxscreener.example 127.0.0.1:{port}",
                f"--ignore-certificate-errors-spki-list={spki}",
                "--window-size=1400,900", "about:blank"]
        self.proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        endpoint = None
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            line = self.proc.stderr.readline().decode(errors="replace")
            if not line and self.proc.poll() is not None:
                break
            m = re.search(r"DevTools listening on (ws://[^\s]+)", line)
            if m:
                endpoint = m.group(1)
                break
        if not endpoint:
            self.close()
            raise RuntimeError("chromium did not start")
        # Keep draining stderr so that the browser never blocks on a full pipe.
        self._drain = threading.Thread(target=self._discard_stderr, daemon=True)
        self._drain.start()
        http_base = "http://" + endpoint.split("/")[2]
        self.attach(page_targets(http_base)[0]["webSocketDebuggerUrl"])

    def _discard_stderr(self):
        for _ in iter(self.proc.stderr.readline, b""):
            pass

    def close(self):
        if getattr(self, "ws", None):
            self.ws.close()
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        if getattr(self, "_drain", None):
            self._drain.join(10)
        self.proc.stderr.close()
        self.dir.cleanup()
