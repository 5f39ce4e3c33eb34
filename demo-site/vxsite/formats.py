"""Number texts for the server-made pages (symbol and section pages)."""


def grouped(v, decimals=0):
    return f"{v:,.{decimals}f}"


def money(v):
    if v is None:
        return "-"
    a = abs(v)
    for limit, div, suffix in ((1e12, 1e12, "T"), (1e9, 1e9, "B"), (1e6, 1e6, "M"),
                               (1e3, 1e3, "K")):
        if a >= limit:
            text = f"{a / div:,.2f}{suffix}"
            break
    else:
        text = f"{a:,.0f}"
    return ("-$" if v < 0 else "$") + text


def price(v):
    return "-" if v is None else ("-$" if v < 0 else "$") + f"{abs(v):,.2f}"


def pct(v, signed=False):
    if v is None:
        return "-"
    return (f"{v:+,.2f}" if signed and v != 0 else f"{v:,.2f}") + "%"


def value(v, typ, signed=False):
    if v is None:
        return "-"
    if typ == "money":
        return money(v)
    if typ == "price":
        return price(v)
    if typ == "pct":
        return pct(v, signed)
    if typ in ("int", "cnt"):
        return grouped(v)
    if typ == "lev":
        return f"{v:,.1f}x"
    if typ in ("num", "score"):
        return grouped(v, 2)
    if typ == "rating":
        return f"{rating_word(v)} ({v:.2f})"
    if typ == "sig":
        return {1: "Golden cross", -1: "Death cross"}.get(v, "None")
    return str(v)


def rating_word(v):
    if v >= 4.5:
        return "Strong Buy"
    if v >= 3.5:
        return "Buy"
    if v >= 2.5:
        return "Hold"
    if v >= 1.5:
        return "Sell"
    return "Strong Sell"
