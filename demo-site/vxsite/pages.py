"""HTML pages made on request: the screener shells, home, product pages, symbol pages and
their section pages. The screener itself is built in the browser by /screener/app.js."""

import html
import json
import os
import random
import zlib

from . import formats

SITE_NAME = "VX Screener"
# A real site pulls in a tag from an analytics host of its own; the program refuses it and
# the page must not depend on it.
FOREIGN_SCRIPT = "https://tags.vxmetrics.example/v2/tag.js"

STOCK_TABS = [("Overview", "stocks"), ("Financials", "financials"),
              ("Statistics", "statistics"), ("Dividends", "dividends"),
              ("Forecast", "forecast"), ("Profile", "profile")]
ETF_TABS = [("Overview", "etfs"), ("Holdings", "holdings"), ("Dividends", "dividends"),
            ("Performance", "performance"), ("Profile", "profile")]
SECTIONS = {"financials": "stocks", "statistics": "stocks", "forecast": "stocks",
            "holdings": "etfs", "performance": "etfs", "dividends": None, "profile": None}

E = html.escape

# The screener's scripts in load order: logic first, then the page parts, then the page.
SCREENER_SCRIPTS = ("state", "engine", "format", "screens", "dom", "filters", "columns", "table",
                    "app")


def _active(flag):
    return ' class="active"' if flag else ""


def load_presets(base_dir):
    with open(os.path.join(base_dir, "presets.json"), encoding="utf-8") as f:
        return json.load(f)


def _header(active):
    links = [("/screener.html", "Stock Screener", "stocks"),
             ("/etf-screener.html", "ETF Screener", "etfs"),
             ("/screener/dividend-stocks.html", "Dividends", "dividends"),
             ("/screener/etf-largest.html", "Top ETFs", "topetfs"),
             ("/graphwick.html", "Graphwick", "graphwick"),
             ("/pellmoor.html", "Pellmoor", "pellmoor")]
    nav = "".join(
        f'<a href="{h}"{_active(key == active)}>{E(t)}</a>'
        for h, t, key in links)
    return (
        '<header class="site-header"><div class="wrap">'
        '<a class="brand" href="/"><img src="/images/logo.svg" alt="" width="28" height="28">'
        f'<span>{SITE_NAME}</span></a>'
        '<form class="site-search" action="/" role="search">'
        '<input type="search" name="q" placeholder="Search symbols or companies" '
        'aria-label="Search" autocomplete="off"></form>'
        '<span class="account">Sign in</span>'
        '</div></header>'
        f'<nav class="site-nav"><div class="wrap">{nav}</div></nav>')


def _footer():
    return ('<footer class="site-footer"><div class="wrap">'
            f'<span>&copy; 2025 {SITE_NAME}. Data is for information only and is not '
            'investment advice.</span>'
            '<span><a href="/">Home</a> &middot; <a href="/graphwick.html">Graphwick</a> '
            '&middot; <a href="/pellmoor.html">Pellmoor</a></span></div></footer>')


def layout(title, body, active="", body_class="", html_attrs="", scripts=(), head_extra=""):
    script_tags = "".join(f'<script src="{s}"></script>'
                          for s in ("/js/search.js",) + tuple(scripts))
    return (
        f'<!DOCTYPE html><html lang="en"{html_attrs}><head><meta charset="utf-8">'
        '<meta name="viewport" content="width=device-width, initial-scale=1">'
        f'<title>{E(title)}</title>'
        '<link rel="icon" href="/favicon.ico">'
        '<link rel="stylesheet" href="/css/site.css">'
        f'{head_extra}</head><body class="{body_class}">'
        f'{_header(active)}<main class="wrap">{body}</main>{_footer()}{script_tags}'
        '</body></html>').encode("utf-8")


def not_found(path):
    body = ('<section class="notice"><h1>Page not found</h1>'
            f'<p>There is no page at <code>{E(path)}</code>.</p>'
            '<p><a href="/screener.html">Open the stock screener</a></p></section>')
    return layout("Page not found | " + SITE_NAME, body)


def unavailable():
    body = ('<section class="notice"><h1>Service unavailable</h1>'
            '<p>The screener is down for maintenance. Please try again shortly.</p></section>')
    return layout("Service unavailable | " + SITE_NAME, body)


GUIDE = """
<section class="guide" id="guide">
<h2>How to use the screener</h2>
<ol>
<li><strong>Filter.</strong> Pick a group in the filter bar above the table and enter a
minimum, a maximum or both (market caps and assets take 500M, 2B or 1.5T); tick the choices
you want for sector, exchange or asset class. The row count updates as you type, and every
filter in use shows as a chip that removes it with one click.</li>
<li><strong>Choose columns.</strong> Click <em>Columns</em> to add or remove columns; the table
shows them in the order you pick them.</li>
<li><strong>Sort.</strong> Click a column heading to sort by it; click again to reverse.</li>
<li><strong>Keep the screen.</strong> Everything you set lives in the page address, so a
bookmark or a shared link reopens exactly the same screen.</li>
</ol>
<h2>Frequently asked questions</h2>
<dl class="faq">
<dt>How current is the data?</dt>
<dd>Prices and fundamentals are updated once per trading day; the date above the table
shows the last close included.</dd>
<dt>Why is a value shown as a dash?</dt>
<dd>The company does not report it (for example no dividend or negative earnings), or
fewer than one analyst covers it.</dd>
<dt>What is the moving-average cross?</dt>
<dd>A golden cross means the 50-day average is above the 200-day average after crossing
it; a death cross is the opposite.</dd>
<dt>Can I see every matching row?</dt>
<dd>Yes: choose 500 rows per page, or page through the results with the arrows under the
table.</dd>
</dl>
</section>"""


def screener(kind, presets, preset=None, hook=True, null_results_ms=0):
    """The screener shell for a kind; preset is one entry of presets.json or None."""
    is_etf = kind == "etfs"
    noun = "ETF" if is_etf else "Stock"
    default_path = "/etf-screener.html" if is_etf else "/screener.html"
    data = "/screener/data/etf-screener.json" if is_etf else "/data/screener/screener.json"
    if preset:
        title, lead = preset["label"], preset["about"]
        state = preset["state"]
    else:
        title = f"{noun} Screener"
        lead = ("Filter every US-listed ETF by assets, costs, yield, leverage and performance."
                if is_etf else
                "Filter thousands of US-listed stocks by valuation, dividends, growth, "
                "analyst ratings and technical signals.")
        state = ""
    attrs = ' data-vx-hook="off"' if not hook else ""
    if null_results_ms:
        attrs += f' data-vx-null-ms="{int(null_results_ms)}"'
    own = [p for p in presets[kind]]
    preset_links = "".join(
        f'<li><a href="/screener/{E(p["slug"])}.html"'
        f'{_active(preset and p["slug"] == preset["slug"])}>'
        f'{E(p["label"])}</a></li>' for p in own)
    crumbs = (f'<a href="{default_path}">{noun} Screener</a> &rsaquo; {E(title)}'
              if preset else f'{noun} Screener')
    body = (
        f'<div class="crumbs">{crumbs}</div>'
        f'<section class="screener" id="screener" data-kind="{kind}" data-src="{data}" '
        f'data-default-path="{default_path}" data-preset="{E(state)}">'
        f'<div class="screener-head"><div><h1>{E(title)}</h1><p class="lead">{E(lead)}</p></div>'
        '<div class="asof" id="asof"></div></div>'
        '<div class="screener-grid">'
        '<aside class="filter-panel" id="filters" aria-label="Filters">'
        '<div class="loading">Loading filters&hellip;</div></aside>'
        '<div class="results" id="results">'
        '<div class="loading big">Loading the screener&hellip;</div></div>'
        '</div></section>'
        f'<section class="presets"><h2>Popular {noun.lower()} screens</h2>'
        f'<ul class="preset-list">{preset_links}</ul></section>'
        + GUIDE)
    head = f'<script async src="{FOREIGN_SCRIPT}"></script>'
    head += '<link rel="stylesheet" href="/css/screener.css">'
    return layout(f"{title} | {SITE_NAME}", body, active=kind, body_class="screener-page",
                  html_attrs=attrs, head_extra=head,
                  scripts=tuple(f"/screener/{name}.js" for name in SCREENER_SCRIPTS))


def home(presets, universe):
    def plist(kind):
        return "".join(f'<li><a href="/screener/{E(p["slug"])}.html">{E(p["label"])}</a></li>'
                       for p in presets[kind])
    top = sorted(universe.stocks["rows"], key=lambda r: -(r[6] or 0))[:8]
    movers = "".join(
        f'<tr><td><a href="/stocks/{E(r[0].lower())}.html">{E(r[0])}</a></td>'
        f'<td>{E(r[1])}</td><td class="num">{formats.money(r[6])}</td>'
        f'<td class="num {"up" if r[8] > 0 else "down"}">{formats.pct(r[8], True)}</td></tr>'
        for r in top)
    body = (
        '<section class="hero"><h1>Find your next investment</h1>'
        f'<p>Screen {len(universe.stocks["rows"]):,} stocks and '
        f'{len(universe.etfs["rows"]):,} ETFs with more than 40 filters. Free, fast and '
        'without an account.</p>'
        '<p class="cta"><a class="button" href="/screener.html">Stock Screener</a> '
        '<a class="button ghost" href="/etf-screener.html">ETF Screener</a></p></section>'
        '<div class="columns3">'
        f'<section class="card"><h2>Stock screens</h2><ul>{plist("stocks")}</ul></section>'
        f'<section class="card"><h2>ETF screens</h2><ul>{plist("etfs")}</ul></section>'
        '<section class="card"><h2>Largest companies</h2><table class="mini">'
        f'<tbody>{movers}</tbody></table>'
        f'<p class="muted">As of {E(universe.asof)}</p></section></div>')
    return layout(SITE_NAME + ": stock and ETF screener", body, active="home")


def product(name):
    if name == "graphwick":
        title, tag, text = ("Graphwick", "Stock charts that read like a story",
                            "Graphwick draws clean, annotated price charts with earnings, "
                            "dividends and splits marked on the time line. Compare up to eight "
                            "symbols, save chart layouts and export them as images.")
    else:
        title, tag, text = ("Pellmoor", "Sector rotation at a glance",
                            "Pellmoor tracks the eleven market sectors and their industries "
                            "day by day, shows which groups lead and lag, and alerts you when "
                            "leadership changes.")
    body = (f'<section class="hero product"><h1>{title}</h1><p class="tag">{tag}</p>'
            f'<p>{text}</p><p class="cta"><span class="button">Coming to your desktop soon'
            '</span></p></section>'
            '<section class="card"><h2>From the makers of ' + SITE_NAME + '</h2>'
            '<p>Use the <a href="/screener.html">stock screener</a> and the '
            '<a href="/etf-screener.html">ETF screener</a> for free.</p></section>')
    return layout(f"{title} | {SITE_NAME}", body, active=name)


def _tabs(kind, slug, current):
    tabs = STOCK_TABS if kind == "stocks" else ETF_TABS
    links = "".join(
        f'<a href="/{section}/{E(slug)}.html"{_active(section == current)}>'
        f'{label}</a>' for label, section in tabs)
    return f'<nav class="stock-tabs">{links}</nav>'


def _quote_head(kind, rec):
    change = rec.get("ch1d") or 0.0
    return (f'<div class="quote-head"><div><h1>{E(rec["name"])} <span class="sym">'
            f'({E(rec["s"])})</span></h1><p class="muted">'
            f'{"ETF" if kind == "etfs" else E(rec.get("exchange", ""))} &middot; '
            f'{E(rec.get("sector") or rec.get("asset") or "")}</p></div>'
            f'<div class="quote-price"><span class="last">{formats.price(rec["price"])}</span>'
            f'<span class="{"up" if change > 0 else "down"}">{formats.pct(change, True)}</span>'
            '</div></div>')


def _facts(columns, rec, skip=("s", "name")):
    rows = [f'<tr><th>{E(c["label"])}</th>'
            f'<td>{E(formats.value(rec.get(c["key"]), c["type"], c["signed"]))}</td></tr>'
            for c in columns if c["key"] not in skip]
    half = (len(rows) + 1) // 2
    return ('<div class="facts-grid">' +
            "".join(f'<table class="facts"><tbody>{"".join(part)}</tbody></table>'
                    for part in (rows[:half], rows[half:])) + '</div>')


def _rng(slug, section):
    return random.Random(zlib.crc32(f"{section}/{slug}".encode()))


def _financials(rec, rng):
    revenue = rec["mcap"] / max(0.6, rng.lognormvariate(1.0, 0.6))
    growth = (rec.get("revg") or 0.0) / 100.0
    rows = []
    for year in range(2024, 2019, -1):
        margin = rng.gauss(0.09 if rec.get("pe") else -0.12, 0.05)
        rows.append(f'<tr><td>{year}</td><td class="num">{formats.money(revenue)}</td>'
                    f'<td class="num">{formats.money(revenue * margin)}</td>'
                    f'<td class="num">{formats.pct(margin * 100, True)}</td></tr>')
        revenue /= (1.0 + growth + rng.gauss(0.0, 0.05))
    return ('<h2>Income statement</h2><table class="data"><thead><tr><th>Fiscal year</th>'
            '<th class="num">Revenue</th><th class="num">Net income</th>'
            f'<th class="num">Net margin</th></tr></thead><tbody>{"".join(rows)}</tbody></table>')


def _dividends(rec, rng, asof_year):
    dy = rec.get("dy")
    if not dy:
        return '<h2>Dividends</h2><p>This security does not pay a dividend.</p>'
    per_year = {"Monthly": 12, "Semi-Annual": 2, "Annual": 1}.get(rec.get("divfreq"), 4)
    amount = rec["price"] * dy / 100.0 / per_year
    rows = []
    month = 6
    year = asof_year
    for _ in range(min(12, per_year * 3)):
        rows.append(f'<tr><td>{year}-{month:02d}-15</td><td class="num">'
                    f'{formats.price(amount)}</td></tr>')
        month -= 12 // per_year
        while month < 1:
            month += 12
            year -= 1
        amount /= 1.0 + rng.uniform(0.0, 0.02)
    return (f'<h2>Dividend history</h2><p>Yield {formats.pct(dy)}, paid '
            f'{E(rec.get("divfreq") or "Quarterly").lower()}.</p><table class="data"><thead>'
            '<tr><th>Ex-dividend date</th><th class="num">Amount</th></tr></thead>'
            f'<tbody>{"".join(rows)}</tbody></table>')


def _forecast(rec, rng):
    if rec.get("rating") is None:
        return '<h2>Analyst forecast</h2><p>No analyst covers this stock.</p>'
    avg = rec["price"] * (1 + rec["upside"] / 100.0)
    low, high = avg * rng.uniform(0.6, 0.9), avg * rng.uniform(1.1, 1.5)
    return ('<h2>Analyst forecast</h2><table class="facts"><tbody>'
            f'<tr><th>Consensus</th><td>{formats.rating_word(rec["rating"])}</td></tr>'
            f'<tr><th>Analysts</th><td>{rec["analysts"]}</td></tr>'
            f'<tr><th>Price target (low / average / high)</th><td>{formats.price(low)} / '
            f'{formats.price(avg)} / {formats.price(high)}</td></tr>'
            f'<tr><th>Upside</th><td>{formats.pct(rec["upside"], True)}</td></tr>'
            '</tbody></table>')


def _holdings(universe, rec, rng):
    rows = universe.stocks["rows"]
    count = min(10, rec.get("holdings") or 1, len(rows))
    picks = rng.sample(range(len(rows)), count)
    weights = sorted((rng.uniform(1.0, 9.0) for _ in picks), reverse=True)
    body = "".join(
        f'<tr><td><a href="/stocks/{E(rows[i][0].lower())}.html">{E(rows[i][0])}</a></td>'
        f'<td>{E(rows[i][1])}</td><td class="num">{formats.pct(w)}</td></tr>'
        for i, w in zip(picks, weights))
    return (f'<h2>Top holdings</h2><p>{formats.grouped(rec.get("holdings") or 0)} holdings in '
            'total.</p><table class="data"><thead><tr><th>Symbol</th><th>Name</th>'
            f'<th class="num">Weight</th></tr></thead><tbody>{body}</tbody></table>')


def _performance(rec):
    rows = "".join(f'<tr><th>{label}</th><td class="{"up" if (rec.get(k) or 0) > 0 else "down"}">'
                   f'{formats.pct(rec.get(k), True)}</td></tr>'
                   for label, k in (("1 day", "ch1d"), ("1 week", "ch1w"), ("1 year", "ch1y")))
    return f'<h2>Total return</h2><table class="facts"><tbody>{rows}</tbody></table>'


def _profile(kind, rec):
    if kind == "etfs":
        text = (f'{E(rec["name"])} is an exchange-traded fund issued by {E(rec["issuer"])} in '
                f'the {E(rec["category"])} category. It started trading on '
                f'{E(rec["inception"])} and holds {formats.grouped(rec["holdings"])} positions.')
    else:
        text = (f'{E(rec["name"])} is a {E(rec["industry"]).lower()} company in the '
                f'{E(rec["sector"]).lower()} sector, based in {E(rec["country"])}, with '
                f'{formats.grouped(rec["emp"])} employees. Its shares listed on '
                f'{E(rec["exchange"])} on {E(rec["ipo"])}.')
    return f'<h2>Profile</h2><p>{text}</p>'


def symbol(kind, slug, rec, universe, section=None):
    """The overview page of a symbol (section None) or one of its section pages."""
    table = universe.stocks if kind == "stocks" else universe.etfs
    current = section or kind
    if section is None:
        content = '<h2>Key data</h2>' + _facts(table["columns"], rec)
    else:
        rng = _rng(slug, section)
        content = {
            "financials": lambda: _financials(rec, rng),
            "statistics": lambda: '<h2>Statistics</h2>' + _facts(table["columns"], rec),
            "dividends": lambda: _dividends(rec, rng, int(universe.asof[:4])),
            "forecast": lambda: _forecast(rec, rng),
            "holdings": lambda: _holdings(universe, rec, rng),
            "performance": lambda: _performance(rec),
            "profile": lambda: _profile(kind, rec),
        }[section]()
    back = "/etf-screener.html" if kind == "etfs" else "/screener.html"
    body = (f'<div class="crumbs"><a href="{back}">{"ETF" if kind == "etfs" else "Stock"} '
            f'Screener</a> &rsaquo; {E(rec["s"])}</div>' + _quote_head(kind, rec) +
            _tabs(kind, slug, current) + f'<section class="tab-body">{content}'
            f'<p class="muted">Data as of {E(universe.asof)}.</p></section>')
    label = dict((s, l) for l, s in (STOCK_TABS + ETF_TABS)).get(current, "Overview")
    return layout(f'{rec["s"]} {label} | {rec["name"]} | {SITE_NAME}', body,
                  active=kind, body_class="quote-page")


# The foreign stand-in's name that the hostile page aims at; tests map it to this machine.
HOSTILE_FOREIGN_HOST = "cdn.foreign.example"
HOSTILE_QUIC_HOST = "quic.foreign.example"


def hostile(tcp_port, udp_port, rounds):
    """The hostile page: its script tries every way out of the site (js/hostile.js)."""
    config = json.dumps({"tcp": tcp_port, "udp": udp_port, "rounds": rounds})
    foreign = "https://" + HOSTILE_FOREIGN_HOST
    body = (
        '<h1>Hostile page</h1>'
        f'<img src="{foreign}/static/img.png" alt="">'
        f'<iframe src="{foreign}/static/frame.html"></iframe>'
        f'<script type="application/json" id="hostile-config">{config}</script>')
    head = (f'<link rel="preconnect" href="{foreign}">'
            f'<link rel="dns-prefetch" href="{foreign}">'
            f'<link rel="stylesheet" href="{foreign}/static/style.css">'
            f'<meta http-equiv="Content-Security-Policy-Report-Only" '
            f'content="img-src \'none\'; report-uri {foreign}/static/csp-report">')
    return layout("Hostile page | " + SITE_NAME, body, head_extra=head,
                  scripts=("/js/hostile-common.js", "/js/hostile.js"))
