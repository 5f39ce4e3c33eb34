"""Deterministic generator of the screener's universe: stocks and ETFs.

Everything comes from one random.Random with a fixed seed, drawn in a fixed order, so the
same options always give byte-identical data files. Values follow rough real-world shapes
(log-normal market caps and prices, fat-tailed returns, many companies without earnings or
dividends) so that filters and presets select plausible slices.
"""

import datetime
import json
import math
import random

from . import names

ASOF = "2025-06-13"
SEED = 20250613
MAX_ROWS = 50000
MAX_COLUMNS = 64

# key, label, type, signed, filter, group. The filter is "range", "choice", "signal" or "".
STOCK_COLUMNS = [
    ("s", "Symbol", "text", False, "", "Descriptive"),
    ("name", "Company name", "text", False, "", "Descriptive"),
    ("sector", "Sector", "text", False, "choice", "Descriptive"),
    ("industry", "Industry", "text", False, "choice", "Descriptive"),
    ("exchange", "Exchange", "text", False, "choice", "Descriptive"),
    ("country", "Country", "text", False, "choice", "Descriptive"),
    ("mcap", "Market cap", "money", False, "range", "Descriptive"),
    ("price", "Price", "price", False, "range", "Descriptive"),
    ("ch1d", "Change 1D", "pct", True, "range", "Performance"),
    ("ch1w", "Change 1W", "pct", True, "range", "Performance"),
    ("ch1y", "Change 1Y", "pct", True, "range", "Performance"),
    ("volume", "Volume", "cnt", False, "range", "Descriptive"),
    ("pe", "P/E", "num", False, "range", "Valuation"),
    ("dy", "Div. yield", "pct", False, "range", "Dividends"),
    ("payout", "Payout ratio", "pct", False, "range", "Dividends"),
    ("dgy", "Div. growth years", "int", False, "range", "Dividends"),
    ("revg", "Revenue growth", "pct", True, "range", "Fundamentals"),
    ("emp", "Employees", "int", False, "range", "Fundamentals"),
    ("de", "Debt/equity", "lev", False, "range", "Fundamentals"),
    ("quality", "Quality", "score", False, "range", "Fundamentals"),
    ("rating", "Rating", "rating", False, "range", "Analysts"),
    ("analysts", "Analysts", "cnt", False, "range", "Analysts"),
    ("upside", "Target upside", "pct", True, "range", "Analysts"),
    ("rsi", "RSI (14)", "num", False, "range", "Technicals"),
    ("hi52", "From 52W high", "pct", True, "range", "Technicals"),
    ("lo52", "From 52W low", "pct", True, "range", "Technicals"),
    ("short", "Short interest", "pct", False, "range", "Technicals"),
    ("beta", "Beta", "num", False, "range", "Technicals"),
    ("ma", "MA cross", "sig", False, "signal", "Technicals"),
    ("ipo", "IPO date", "date", False, "range", "Descriptive"),
]

ETF_COLUMNS = [
    ("s", "Symbol", "text", False, "", "Descriptive"),
    ("name", "Fund name", "text", False, "", "Descriptive"),
    ("asset", "Asset class", "text", False, "choice", "Descriptive"),
    ("category", "Category", "text", False, "choice", "Descriptive"),
    ("issuer", "Issuer", "text", False, "choice", "Descriptive"),
    ("aum", "Assets", "money", False, "range", "Descriptive"),
    ("price", "Price", "price", False, "range", "Descriptive"),
    ("ch1d", "Change 1D", "pct", True, "range", "Performance"),
    ("ch1w", "Change 1W", "pct", True, "range", "Performance"),
    ("ch1y", "Change 1Y", "pct", True, "range", "Performance"),
    ("volume", "Volume", "cnt", False, "range", "Descriptive"),
    ("er", "Expense ratio", "pct", False, "range", "Costs"),
    ("dy", "Div. yield", "pct", False, "range", "Dividends"),
    ("divfreq", "Div. frequency", "text", False, "choice", "Dividends"),
    ("divg", "Div. growth 5Y", "pct", True, "range", "Dividends"),
    ("holdings", "Holdings", "cnt", False, "range", "Portfolio"),
    ("lev", "Leverage", "lev", True, "range", "Portfolio"),
    ("beta", "Beta", "num", False, "range", "Technicals"),
    ("rsi", "RSI (14)", "num", False, "range", "Technicals"),
    ("ma", "MA cross", "sig", False, "signal", "Technicals"),
    ("inception", "Inception", "date", False, "range", "Descriptive"),
]

ETF_VARIANTS = ["", "", "", "Core", "Select", "Equal Weight", "Quality", "Enhanced", "Active",
                "Momentum", "Low Volatility", "ESG", "Strategic", "Focused", "Multifactor"]

EXTRA_TYPES = [("num", False), ("pct", True), ("money", False), ("int", False)]


def _weighted(rng, pairs):
    total = sum(w for _, w in pairs)
    x = rng.random() * total
    for item, w in pairs:
        x -= w
        if x < 0:
            return item
    return pairs[-1][0]


def _clip(v, lo, hi):
    return max(lo, min(hi, v))


def _lognormal(rng, median, sigma):
    return median * math.exp(rng.gauss(0.0, sigma))


def _fat_return(rng, mean, scale):
    # A Student-t like tail: mostly small moves, now and then a large one.
    return mean + scale * rng.gauss(0.0, 1.0) / math.sqrt(max(rng.random(), 0.05))


def _bounded_gauss(rng, mean, sigma, lo, hi):
    # Draw again rather than clip, so that no value piles up at a bound.
    while True:
        v = rng.gauss(mean, sigma)
        if lo <= v <= hi:
            return v


def _r2(v):
    return round(v, 2)


def _date_between(rng, first_year, asof):
    start = datetime.date(first_year, 1, 1)
    end = datetime.date.fromisoformat(asof) - datetime.timedelta(days=30)
    return (start + datetime.timedelta(days=rng.randrange((end - start).days))).isoformat()


class _Symbols:
    """Unique ticker symbols shared by both universes, so that a symbol names one page."""

    def __init__(self, rng):
        self.rng = rng
        self.used = set()

    def make(self, lengths):
        letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
        while True:
            n = _weighted(self.rng, lengths)
            sym = "".join(self.rng.choice(letters) for _ in range(n))
            if self.rng.random() < 0.012 and n <= 3:
                sym += "." + self.rng.choice("AB")
            if sym not in self.used:
                self.used.add(sym)
                return sym


def _company_name(rng, sector, used):
    while True:
        stem = (rng.choice(names.NAME_STEMS) + " " + rng.choice(names.NAME_SECOND)).strip()
        if rng.random() < 0.55:
            word = rng.choice(names.SECTOR_WORDS[sector])
            name = f"{stem} {word} {rng.choice(names.COMPANY_SUFFIXES)}"
        else:
            name = f"{stem} {rng.choice(names.COMPANY_SUFFIXES)}"
        if name not in used:
            used.add(name)
            return name


def _stock_row(rng, sym, name, sector, asof):
    industry = rng.choice(names.SECTORS[sector])
    mcap = _clip(_lognormal(rng, 1.2e9, 2.1), 2.5e6, 3.6e12)
    # Small companies trade at lower prices; a few of them below $5 (penny stocks).
    penny = mcap < 4e8 and rng.random() < 0.3
    median = 2.2 if penny else 9.0 * (mcap / 1e8) ** 0.28
    price = _clip(_lognormal(rng, median, 0.7), 0.05, 4200.0)
    volume = int(_clip(_lognormal(rng, 600000 * (mcap / 1e9) ** 0.35, 1.0), 800, 4e8))
    ch1y = _clip(_fat_return(rng, 7.0, 22.0), -97.0, 900.0)
    ch1w = _clip(_fat_return(rng, 0.15, 2.8), -60.0, 150.0)
    ch1d = _clip(_fat_return(rng, 0.05, 1.4), -45.0, 90.0)
    profitable = rng.random() < (0.35 + 0.5 * min(1.0, math.log10(mcap) / 12.0))
    pe = _r2(_clip(_lognormal(rng, 19.0, 0.6), 1.5, 900.0)) if profitable else None
    pays = profitable and rng.random() < (0.25 + 0.45 * min(1.0, mcap / 5e10)) or \
        (sector in ("Real Estate", "Utilities") and rng.random() < 0.8)
    if pays:
        base = {"Real Estate": 5.0, "Utilities": 3.8, "Energy": 3.9, "Financials": 3.0}
        dy = _r2(_clip(_lognormal(rng, base.get(sector, 1.8), 0.55), 0.05, 18.0))
        payout = _r2(_clip(rng.gauss(48.0, 22.0), 2.0, 160.0))
        dgy = int(_clip(rng.expovariate(1 / 8.0), 0, 68))
    else:
        dy = payout = dgy = None
    revg = _r2(_clip(_fat_return(rng, 7.0, 9.0), -90.0, 600.0))
    emp = int(_clip(_lognormal(rng, 2500 * (mcap / 1e9) ** 0.6, 0.8), 3, 2300000))
    de = _r2(_clip(_lognormal(rng, 0.55, 0.9), 0.0, 25.0)) if rng.random() < 0.9 else None
    quality = _r2(_clip(rng.gauss(5.4 + (1.2 if profitable else -1.3), 1.7), 0.0, 10.0))
    covered = mcap > 1.5e8 and rng.random() < 0.85
    if covered:
        rating = _r2(_bounded_gauss(rng, 3.7, 0.75, 1.0, 5.0))
        analysts = int(_clip(_lognormal(rng, 4 + 10 * (mcap / 1e10) ** 0.3, 0.5), 1, 65))
        upside = _r2(_clip(rng.gauss(12.0 + (rating - 3.5) * 10, 22.0), -70.0, 400.0))
    else:
        rating = analysts = upside = None
    rsi = _r2(_clip(rng.gauss(50.0, 12.0) + ch1w * 1.5, 3.0, 97.0))
    hi52 = _r2(-_clip(rng.expovariate(1 / 17.0), 0.0, 99.0))
    lo52 = _r2(_clip(rng.expovariate(1 / 38.0), 0.0, 2000.0))
    short = _r2(_clip(_lognormal(rng, 2.6, 0.95), 0.05, 62.0))
    beta = _r2(_clip(rng.gauss(1.05, 0.45), -0.8, 3.8))
    x = rng.random()
    ma = 1 if x < 0.17 else (-1 if x < 0.34 else 0)
    ipo = _date_between(rng, 1972, asof)
    return {
        "s": sym, "name": name, "sector": sector, "industry": industry,
        "exchange": _weighted(rng, names.EXCHANGES), "country": _weighted(rng, names.COUNTRIES),
        "mcap": round(mcap), "price": _r2(price), "ch1d": _r2(ch1d), "ch1w": _r2(ch1w),
        "ch1y": _r2(ch1y), "volume": volume, "pe": pe, "dy": dy, "payout": payout, "dgy": dgy,
        "revg": revg, "emp": emp, "de": de, "quality": quality, "rating": rating,
        "analysts": analysts, "upside": upside, "rsi": rsi, "hi52": hi52, "lo52": lo52,
        "short": short, "beta": beta, "ma": ma, "ipo": ipo,
    }


def _etf_name(rng, issuer, category, themes):
    theme = rng.choice(themes)
    if category == "Leveraged":
        lev = rng.choice([2, 2, 3])
        base = rng.choice(["S&P 500", "Nasdaq-100", "Semiconductor", "Financials", "Gold Miners",
                           "Russell 2000", "Biotech", "Energy"])
        return f"{issuer} {base} Bull {lev}X Shares", lev
    if category == "Inverse":
        lev = rng.choice([-1, -1, -2, -3])
        base = rng.choice(["S&P 500", "Nasdaq-100", "Semiconductor", "20+ Year Treasury",
                           "Russell 2000", "Financials"])
        return f"{issuer} {base} Bear {abs(lev)}X Shares", lev
    variant = rng.choice(ETF_VARIANTS)
    if variant:
        theme = f"{variant} {theme}"
    suffix = "Trust" if category in ("Bitcoin", "Ether", "Precious Metals") and rng.random() < 0.4 \
        else "ETF"
    return f"{issuer} {theme} {suffix}", 1


def _etf_row(rng, sym, used_names, asof):
    asset = _weighted(rng, [(a, sum(w for _, w, _ in cats))
                            for a, cats in names.ETF_CATEGORIES.items()])
    category, _, themes = _weighted(rng, [((c, w, t), w)
                                          for c, w, t in names.ETF_CATEGORIES[asset]])
    issuer = _weighted(rng, names.ETF_ISSUERS)
    name, lev = _etf_name(rng, issuer, category, themes)
    base, series = name, 2
    while name in used_names:
        name = f"{base} Series {series}"
        series += 1
    used_names.add(name)
    # Broad index funds gather the most money, niche and trading funds the least.
    scale = {"Large Blend": 8.0, "Treasury": 2.5, "Aggregate Bond": 3.0, "Large Growth": 2.0,
             "Thematic": 0.35, "Leveraged": 0.5, "Inverse": 0.3, "Sector": 0.8}.get(category, 1.0)
    aum = _clip(_lognormal(rng, 3.0e8 * scale, 1.7), 1.2e6, 6.2e11)
    fixed = asset == "Fixed Income"
    price = _clip(_lognormal(rng, 48.0 if not fixed else 52.0, 0.6), 3.0, 950.0)
    scale = {"Crypto": 3.5, "Trading": 2.6, "Commodity": 1.3, "Fixed Income": 0.25}.get(asset, 1.0)
    ch1y = _clip(_fat_return(rng, 6.5, 14.0 * scale), -95.0, 600.0)
    ch1w = _clip(_fat_return(rng, 0.1, 1.8 * scale), -60.0, 120.0)
    ch1d = _clip(_fat_return(rng, 0.03, 0.8 * scale), -40.0, 60.0)
    er = {"Trading": 0.95, "Crypto": 0.25, "Commodity": 0.4}.get(asset)
    if er is None:
        er = _clip(_lognormal(rng, 0.35 if category not in ("Large Blend", "Treasury") else 0.07,
                              0.7), 0.02, 1.5)
    income = {"Fixed Income": 4.1, "Real Estate": 3.6}.get(asset, 1.6)
    if category in ("Covered Call",):
        income = 9.5
    elif category == "Dividend":
        income = 3.4
    elif category == "High Yield":
        income = 6.8
    if asset in ("Crypto", "Commodity", "Trading") and category != "Leveraged":
        dy, divfreq, divg = None, "None", None
    else:
        dy = _r2(_clip(_lognormal(rng, income, 0.35), 0.05, 25.0))
        monthly = fixed or category == "Covered Call" or rng.random() < 0.12
        divfreq = "Monthly" if monthly else _weighted(rng, [("Quarterly", 8), ("Semi-Annual", 1),
                                                           ("Annual", 2)])
        divg = _r2(_clip(rng.gauss(5.5 if category == "Dividend" else 2.0, 6.0), -40.0, 60.0))
    holdings = int(_clip(_lognormal(rng, 1200 if fixed else 110, 1.0), 1, 19000))
    if asset == "Crypto" or category in ("Precious Metals", "Energy Commodities"):
        holdings = 1
    beta = _r2(_clip(rng.gauss(0.2 if fixed else 1.0, 0.25) * lev, -3.8, 3.8))
    rsi = _r2(_clip(rng.gauss(51.0, 11.0) + ch1w * 1.2, 3.0, 97.0))
    x = rng.random()
    ma = 1 if x < 0.2 else (-1 if x < 0.36 else 0)
    inception = _date_between(rng, 1995, asof)
    return {
        "s": sym, "name": name, "asset": asset, "category": category, "issuer": issuer,
        "aum": round(aum), "price": _r2(price), "ch1d": _r2(ch1d), "ch1w": _r2(ch1w),
        "ch1y": _r2(ch1y), "volume": int(_clip(_lognormal(rng, 90000 * (aum / 1e9) ** 0.5, 1.0),
                                                 50, 2e8)),
        "er": _r2(er), "dy": dy, "divfreq": divfreq, "divg": divg, "holdings": holdings,
        "lev": lev, "beta": beta, "rsi": rsi, "ma": ma, "inception": inception,
    }


def _extra_columns(base, wanted):
    extra = []
    for i in range(max(0, min(wanted, MAX_COLUMNS) - len(base))):
        typ, signed = EXTRA_TYPES[i % len(EXTRA_TYPES)]
        extra.append((f"m{i + 1:02d}", f"Metric {i + 1}", typ, signed, "range", "More metrics"))
    return extra


def _extra_value(rng, typ):
    if typ == "money":
        return round(_lognormal(rng, 5e8, 1.5))
    if typ == "int":
        return rng.randrange(0, 100000)
    if typ == "pct":
        return _r2(rng.gauss(0.0, 15.0))
    return _r2(_lognormal(rng, 12.0, 0.8))


def _table(kind, columns, records, rng, asof):
    extra = [c for c in columns if c[5] == "More metrics"]
    rows = []
    for rec in records:
        for key, _, typ, _, _, _ in extra:
            rec[key] = _extra_value(rng, typ)
        rows.append([rec[c[0]] for c in columns])
    cols = [{"key": k, "label": l, "type": t, "signed": s, "filter": f, "group": g}
            for k, l, t, s, f, g in columns]
    return {"version": 1, "screener": kind, "asof": asof, "columns": cols, "rows": rows}


def generate(stocks=6000, etfs=3000, columns=0, seed=SEED, asof=ASOF):
    """The three data files as Python objects: {"stocks", "etfs", "search"}."""
    stocks = _clip(int(stocks), 1, MAX_ROWS)
    etfs = _clip(int(etfs), 1, MAX_ROWS)
    rng = random.Random(seed)
    symbols = _Symbols(rng)
    used = set()
    sector_pairs = list(names.SECTOR_WEIGHTS.items())
    stock_records = []
    for _ in range(stocks):
        sector = _weighted(rng, sector_pairs)
        sym = symbols.make([(1, 1), (2, 4), (3, 14), (4, 20)])
        stock_records.append(_stock_row(rng, sym, _company_name(rng, sector, used),
                                        sector, asof))
    etf_records = []
    for _ in range(etfs):
        sym = symbols.make([(3, 10), (4, 12)])
        etf_records.append(_etf_row(rng, sym, used, asof))
    stock_records.sort(key=lambda r: r["s"])
    etf_records.sort(key=lambda r: r["s"])
    scols = STOCK_COLUMNS + _extra_columns(STOCK_COLUMNS, columns)
    ecols = ETF_COLUMNS + _extra_columns(ETF_COLUMNS, columns)
    search = {"asof": asof, "symbols": (
        [{"s": r["s"], "n": r["name"], "k": "stocks"} for r in stock_records] +
        [{"s": r["s"], "n": r["name"], "k": "etfs"} for r in etf_records])}
    return {"stocks": _table("stocks", scols, stock_records, rng, asof),
            "etfs": _table("etfs", ecols, etf_records, rng, asof), "search": search}


class Universe:
    """The stock and ETF tables and the search index, with a look-up of symbol slugs.
    Made by the generator, or from tables read back from a cache."""

    def __init__(self, stocks=6000, etfs=3000, columns=0, seed=SEED, asof=ASOF, tables=None):
        tables = tables or generate(stocks, etfs, columns, seed, asof)
        self.stocks, self.etfs, self.search = tables["stocks"], tables["etfs"], tables["search"]
        self.asof = self.stocks["asof"]
        self._rows = {}
        for kind, table in (("stocks", self.stocks), ("etfs", self.etfs)):
            for row in table["rows"]:
                self._rows[(kind, slug_of(row[0]))] = row

    def record(self, kind, slug):
        """The symbol's values by column key, or None."""
        row = self._rows.get((kind, slug))
        if row is None:
            return None
        table = self.stocks if kind == "stocks" else self.etfs
        return dict(zip((c["key"] for c in table["columns"]), row))

    def find_slug(self, slug):
        """The (kind, record) a symbol slug belongs to, or (None, None)."""
        for kind in ("stocks", "etfs"):
            rec = self.record(kind, slug)
            if rec is not None:
                return kind, rec
        return None, None


def slug_of(symbol):
    return symbol.lower()


def to_json_bytes(obj):
    return json.dumps(obj, separators=(",", ":"), ensure_ascii=False,
                      allow_nan=False).encode("utf-8")


def _dump(argv):
    """python3 -m vxsite.universe stocks|etfs|search [stocks etfs columns]: one data file on
    standard output, for tools and tests that want the data without a server."""
    which = argv[0] if argv else "stocks"
    sizes = [int(a) for a in argv[1:4]]
    u = Universe(*sizes)
    table = {"stocks": u.stocks, "etfs": u.etfs, "search": u.search}[which]
    import sys
    sys.stdout.buffer.write(to_json_bytes(table))


if __name__ == "__main__":
    import sys
    _dump(sys.argv[1:])
