#!/usr/bin/python3
"""Render the Markdown tutorial (doc/tutorial/**/*.md) to HTML pages.

    tools/render_doc.py SOURCE_DIR OUTPUT_DIR

One HTML page per Markdown page, at the same relative path; relative links to
.md pages point to the .html pages; every table sits in a box that scrolls
sideways on a narrow screen; a small style sheet (estilo.css) is written at the
top of OUTPUT_DIR. When SOURCE_DIR has no index.md, an index of all pages is
generated. Uses Python-Markdown (Debian package python3-markdown).
"""

import html
import os
import re
import sys
import xml.etree.ElementTree as etree

import markdown
from markdown.extensions import Extension
from markdown.treeprocessors import Treeprocessor

CSS = """\
:root { color-scheme: light; }
* { box-sizing: border-box; }
body { margin: 0; font-family: "DejaVu Sans", Verdana, sans-serif; line-height: 1.5;
       color: #1b1b1b; background: #fdfdfb; }
header { background: #24496b; padding: .5rem 1rem; }
header a { color: #fff; margin-right: 1.2rem; text-decoration: none; font-weight: bold; }
main { max-width: 60rem; margin: 0 auto; padding: .5rem 1rem 3rem; }
h1 { font-size: 1.6rem; line-height: 1.25; color: #24496b; }
h2 { font-size: 1.3rem; margin-top: 2rem; border-bottom: 1px solid #ccd; }
a { color: #1f5f9e; }
code, pre { font-family: "DejaVu Sans Mono", monospace; font-size: .9rem; }
pre code { font-size: inherit; }
pre { background: #f2f2ee; border: 1px solid #ddd; padding: .6rem; overflow-x: auto;
      line-height: 1.25; }
.tabela { overflow-x: auto; max-width: 100%; margin: .8rem 0 1.4rem; }
table { border-collapse: collapse; font-variant-numeric: tabular-nums; }
th, td { padding: .25rem .55rem; border: 1px solid #ccd; text-align: left;
         vertical-align: top; }
th { background: #e8eef5; white-space: nowrap; }
td:first-child, td[style*="center"] { white-space: nowrap; }
tr > :first-child { position: sticky; left: 0; background: #e8eef5; }
tbody tr:nth-child(even) td { background: #f5f7fa; }
tbody tr:nth-child(even) > :first-child { background: #e0e8f0; }
@media (max-width: 40rem) {
  main { padding: .3rem .6rem 2rem; }
  h1 { font-size: 1.35rem; }
  th, td { padding: .2rem .4rem; font-size: .9rem; }
  /* a screen of the program (56 columns) fits the width of a phone */
  pre { font-size: clamp(.55rem, 2.5vw, .85rem); padding: .4rem; }
}
"""

TEMPLATE = """\
<!DOCTYPE html>
<html lang="pt-BR">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title} — amostra</title>
<link rel="stylesheet" href="{root}estilo.css">
</head>
<body>
<header><a href="{root}index.html">Tutorial</a><a href="{root}tabelas/index.html">Tabelas</a></header>
<main>
{body}
</main>
</body>
</html>
"""

LINK = re.compile(r"^(?![a-z][a-z0-9+.-]*:|/|#)(?P<path>[^#?]*)\.md(?P<rest>[#?].*)?$", re.I)


def rewrite_link(href):
    """A relative link to page.md (with or without #anchor) -> page.html."""
    m = LINK.match(href)
    if not m:
        return href
    return m.group("path") + ".html" + (m.group("rest") or "")


class Pages(Treeprocessor):
    def run(self, root):
        for parent in list(root.iter()):
            for i, child in enumerate(list(parent)):
                if child.tag == "a" and child.get("href"):
                    child.set("href", rewrite_link(child.get("href")))
                if child.tag == "table":
                    box = etree.Element("div", {"class": "tabela"})
                    parent.remove(child)
                    box.append(child)
                    parent.insert(i, box)


class PagesExtension(Extension):
    def extendMarkdown(self, md):
        md.treeprocessors.register(Pages(md), "amostra_pages", 5)


def converter():
    return markdown.Markdown(extensions=["tables", "fenced_code", "attr_list", "toc",
                                         "sane_lists", PagesExtension()],
                             extension_configs={"toc": {"slugify": slug}},
                             output_format="html")


def slug(text, sep):
    """Heading anchors: lower case, accents dropped, words joined by '-'."""
    import unicodedata
    text = unicodedata.normalize("NFKD", text)
    text = "".join(c for c in text if not unicodedata.combining(c)).lower()
    return re.sub(r"[^a-z0-9]+", sep, text).strip(sep)


def title_of(text, fallback):
    for line in text.splitlines():
        if line.startswith("# "):
            return line[2:].strip()
    return fallback


def render(src, out):
    pages = []
    for dirpath, _, files in os.walk(src):
        for name in sorted(files):
            if name.endswith(".md"):
                pages.append(os.path.relpath(os.path.join(dirpath, name), src))
    pages.sort()
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "estilo.css"), "w", encoding="utf-8") as f:
        f.write(CSS)
    md = converter()
    titles = {}
    for rel in pages:
        with open(os.path.join(src, rel), encoding="utf-8") as f:
            text = f.read()
        title = title_of(text, os.path.splitext(os.path.basename(rel))[0])
        titles[rel] = title
        body = md.reset().convert(text)
        write_page(out, rel, title, body)
    if "index.md" not in pages:
        items = "\n".join(f'<li><a href="{html.escape(rel[:-3])}.html">{html.escape(titles[rel])}</a></li>'
                          for rel in pages)
        write_page(out, "index.md", "Tutorial do amostra",
                   f"<h1>Tutorial do amostra</h1>\n<ul>\n{items}\n</ul>")
    return len(pages)


def write_page(out, rel, title, body):
    depth = rel.count(os.sep)
    root = "../" * depth
    target = os.path.join(out, rel[:-3] + ".html")
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(TEMPLATE.format(title=html.escape(title), root=root, body=body))


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    n = render(sys.argv[1], sys.argv[2])
    print(f"{n} pages rendered into {sys.argv[2]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
