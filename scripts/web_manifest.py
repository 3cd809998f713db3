"""The manifest of a packed story and its font, cut to what it shows.

Usage: web_manifest.py STORY_DIR SOURCE_DIR FONT OUT_FONT [PAGE]
Writes STORY_DIR/manifest.json (every file of the story, by its path, and
its size), has
PAGE (the site's index.html) fetch the scenario while the player loads, and
writes OUT_FONT: FONT with only the characters of the story's scenario (code page
932), the player's own texts (the comments of src/report/texts.h and the box
renderer) and printable ASCII.
"""
import json
import os
import sys
from urllib.parse import quote

from fontTools import subset

# Code page 932 characters that converters read two ways: both are kept.
_TWINS = "\u301c\uff5e\u2016\u2225\u2212\uff0d\u00a2\uffe0\u00a3\uffe1\u00ac\uffe2\u00a5"


def story_files(story):
    names = []
    for folder, _, files in os.walk(story):
        for name in files:
            path = os.path.relpath(os.path.join(folder, name), story)
            names.append(path.replace(os.sep, "/"))
    return sorted(n for n in names if n != "manifest.json")


def characters(story, source):
    text = set(chr(c) for c in range(0x20, 0x7F)) | set(_TWINS) | {"\u2026", "\u3000"}
    with open(os.path.join(story, "data", "mowa.snr"), "rb") as f:
        text |= set(f.read().decode("cp932", errors="ignore"))
    for own in ("report/texts.h", "platform/softgdi/box_picture.cpp",
                "engine/statement_trace.cpp"):
        path = os.path.join(source, own)
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                text |= set(f.read())
    return "".join(sorted(c for c in text if c.isprintable()))


def preload_scenario(story, page):
    scenario = next((n for n in story_files(story)
                     if n.lower() == "data/mowa.snr"), None)
    if scenario is None:
        return
    href = "/".join(quote(part) for part in ("story/" + scenario).split("/"))
    with open(page, encoding="utf-8") as f:
        html = f.read()
    link = f'<link rel="preload" href="{href}" as="fetch" crossorigin>\n'
    with open(page, "w", encoding="utf-8") as f:
        f.write(html.replace("</head>", link + "</head>", 1))


def main():
    story, source, font, out_font = sys.argv[1:5]
    if len(sys.argv) > 5:
        preload_scenario(story, sys.argv[5])
    with open(os.path.join(story, "manifest.json"), "w", encoding="utf-8") as f:
        files = story_files(story)
        sizes = [os.path.getsize(os.path.join(story, n)) for n in files]
        json.dump({"files": files, "sizes": sizes, "font": "mowa-gothic.ttf"},
                  f, ensure_ascii=False, indent=0)
    options = subset.Options()
    options.hinting = True          # the rasteriser uses the font's hints
    options.notdef_outline = True
    options.name_IDs = ["*"]
    options.layout_features = ["*"]
    options.glyph_names = False
    sub = subset.Subsetter(options)
    ttf = subset.load_font(font, options)
    sub.populate(text=characters(story, source))
    sub.subset(ttf)
    subset.save_font(ttf, out_font, options)


if __name__ == "__main__":
    main()
