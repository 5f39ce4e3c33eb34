"""Behaviour switches that tests flip at run time through the control listener."""

import threading

DEFAULTS = {"pages": "ok", "data_delay_ms": 0, "data_stall": 0, "hook": "on",
            "null_results_ms": 0, "hostile": "off", "foreign_tcp": 9, "foreign_udp": 9,
            "hostile_rounds": 1}

MAX_MS = 600000


def _parse(key, text):
    """The value of one switch from its query text, or raises ValueError."""
    if key == "pages":
        if text not in ("ok", "503"):
            raise ValueError("pages must be ok or 503")
        return text
    if key in ("hook", "hostile"):
        if text not in ("on", "off"):
            raise ValueError(f"{key} must be on or off")
        return text
    if key in ("foreign_tcp", "foreign_udp"):
        if not text.isdigit() or not 1 <= int(text) <= 65535:
            raise ValueError(f"{key} must be a port number")
        return int(text)
    if key == "hostile_rounds":
        if not text.isdigit() or not 1 <= int(text) <= 5:
            raise ValueError("hostile_rounds must be 1 to 5")
        return int(text)
    if key == "data_stall":
        if text not in ("0", "1"):
            raise ValueError("data_stall must be 0 or 1")
        return int(text)
    if key in ("data_delay_ms", "null_results_ms"):
        if not text.isdigit() or int(text) > MAX_MS:
            raise ValueError(f"{key} must be a whole number of milliseconds up to {MAX_MS}")
        return int(text)
    raise ValueError("unknown switch " + key)


class Controls:
    """Thread-safe switch set. Stalled data requests wait on `released`; changing the stall
    switch, a reset or shutting down lets them go."""

    def __init__(self):
        self._lock = threading.Lock()
        self._values = dict(DEFAULTS)
        self._release = threading.Event()
        self.stopping = threading.Event()

    def snapshot(self):
        with self._lock:
            return dict(self._values)

    def get(self, key):
        with self._lock:
            return self._values[key]

    def update(self, pairs):
        """Applies all pairs or none; raises ValueError on the first bad one."""
        parsed = {key: _parse(key, text) for key, text in pairs}
        with self._lock:
            self._values.update(parsed)
            if self._values["data_stall"]:
                if self._release.is_set():
                    self._release = threading.Event()
            else:
                self._release.set()
            return dict(self._values)

    def reset(self):
        with self._lock:
            self._values = dict(DEFAULTS)
            self._release.set()
            return dict(self._values)

    def stop(self):
        self.stopping.set()
        with self._lock:
            self._release.set()

    def wait_before_data(self):
        """Holds a data-file request while stalled, then for the configured delay."""
        with self._lock:
            stalled = self._values["data_stall"]
            release = self._release
        if stalled:
            while not release.wait(0.2) and not self.stopping.is_set():
                pass
        delay = self.get("data_delay_ms")
        if delay:
            self.stopping.wait(delay / 1000.0)
