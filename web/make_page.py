#!/usr/bin/python3
"""Writes the skeleton of the page vrmlout --html makes: page.html with the
viewer's script, style sheet, components and library put in, so that the page
needs nothing beside it. What is left for vrmlout to fill in: @DRAWING@,
@COUNTS@, @WORLD@ and @FRAMING@, all before the viewer's text.

usage: make_page.py PAGE.html VIEWER_DIST_FOLDER OUT.html"""
import base64
import json
import re
import sys

# The components the VRML 2.0 profile imports, by the names the viewer gives
# them when its own address is the page's.
COMPONENTS = ("Scripting", "Text")


def data_url(kind, data):
    return "data:%s;base64,%s" % (kind, base64.b64encode(data).decode("ascii"))


def script_text(text, name):
    """The text of a script made safe to stand between <script> tags."""
    if "<!--" in text:
        raise SystemExit("make_page.py: %s holds '<!--', which would change how the page reads it" % name)
    return re.sub(r"</(script)", r"<\\/\1", text, flags=re.IGNORECASE)


def licence_text(dist):
    """The viewer's licence, shown as the page's text: it must not end its element."""
    with open(dist + "/LICENSE.md", encoding="utf-8") as f:
        text = f.read().strip()
    if re.search("</script", text, re.IGNORECASE):
        raise SystemExit("make_page.py: the viewer's licence holds '</script'")
    return text


def style_sheet(dist):
    """The viewer's style sheet with its pictures in it."""
    with open(dist + "/x_ite.css", encoding="utf-8") as f:
        css = f.read()

    def picture(match):
        with open(dist + "/" + match.group(1), "rb") as f:
            return "url(%s)" % data_url("image/svg+xml", f.read())
    return data_url("text/css", re.sub(r"url\((assets/images/[\w.-]+\.svg)\)", picture, css).encode("utf-8"))


def main(page_path, dist, out_path):
    with open(page_path, encoding="utf-8") as f:
        page = f.read()
    with open(dist + "/x_ite.min.js", encoding="utf-8") as f:
        viewer = script_text(f.read(), "x_ite.min.js")
    components = {}
    for name in COMPONENTS:
        with open("%s/assets/components/%sComponent.min.js" % (dist, name), "rb") as f:
            components["./assets/components/%sComponent.js" % name] = data_url("text/javascript", f.read())
    with open(dist + "/assets/lib/mikktspace_bg.wasm", "rb") as f:
        mikktspace = base64.b64encode(f.read()).decode("ascii")
    with open(dist + "/../package.json", encoding="utf-8") as f:
        version = json.load(f)["version"]
    fills = {"@VIEWER_VERSION@": version, "@VIEWER_LICENCE@": licence_text(dist),
             "@VIEWER_COMPONENTS@": json.dumps(components), "@VIEWER_STYLE_SHEET@": style_sheet(dist),
             "@MIKKTSPACE_WASM@": mikktspace, "@VIEWER_SCRIPT@": viewer}
    # The viewer's script goes in last, so that nothing in it is taken for a mark.
    for mark, text in fills.items():
        if page.count(mark) != 1:
            raise SystemExit("make_page.py: %s should appear once in %s" % (mark, page_path))
        page = page.replace(mark, text)
    with open(out_path, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
