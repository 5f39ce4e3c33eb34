"""Generated data files kept between runs, so that large universes start in a moment.

A cache entry is named by a hash of the generator's source and the options, so a change
of either makes a new entry; entries are written whole and renamed into place, and only
the most recently used few are kept.
"""

import glob
import hashlib
import json
import os

from . import names, universe

KEEP = 6
PARTS = ("stocks", "etfs", "search")


def _key(stocks, etfs, columns):
    h = hashlib.sha256()
    for module in (universe, names):
        with open(module.__file__, "rb") as f:
            h.update(f.read())
    h.update(f"{stocks}/{etfs}/{columns}/{universe.SEED}/{universe.ASOF}".encode())
    return h.hexdigest()[:20]


def _prune(folder):
    entries = sorted(glob.glob(os.path.join(folder, "data-*.json")), key=os.path.getmtime,
                     reverse=True)
    for stale in entries[KEEP * len(PARTS):]:
        try:
            os.remove(stale)
        except OSError:
            pass


def load(folder, stocks, etfs, columns):
    """Returns (Universe, {part: JSON bytes}) from the cache, generating what is missing."""
    key = _key(stocks, etfs, columns)
    paths = {p: os.path.join(folder, f"data-{key}-{p}.json") for p in PARTS}
    try:
        blobs = {}
        for part, path in paths.items():
            with open(path, "rb") as f:
                blobs[part] = f.read()
        tables = {part: json.loads(blob) for part, blob in blobs.items()}
        for path in paths.values():
            os.utime(path)
        return universe.Universe(tables=tables), blobs
    except (OSError, ValueError):
        pass
    u = universe.Universe(stocks, etfs, columns)
    blobs = {"stocks": universe.to_json_bytes(u.stocks), "etfs": universe.to_json_bytes(u.etfs),
             "search": universe.to_json_bytes(u.search)}
    try:
        os.makedirs(folder, exist_ok=True)
        for part, path in paths.items():
            tmp = f"{path}.tmp{os.getpid()}"
            with open(tmp, "wb") as f:
                f.write(blobs[part])
            os.replace(tmp, path)
        _prune(folder)
    except OSError:
        pass  # A cache that cannot be written only costs time.
    return u, blobs
