#!/usr/bin/python3
"""Checks of tools/render_doc.py on a small tree of pages made here.

Exits 77 (skipped) when Python-Markdown (python3-markdown) is not installed.
"""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
RENDER = os.path.join(ROOT, "tools", "render_doc.py")

PAGES = {
    "index.md": "# Tutorial\n\nVeja a [tabela t](tabelas/t.md#calculo), "
                "o [programa](https://example.org/a.md) e [aqui](#topo).\n",
    "tabelas/t.md": "# Tabela t — ν e α\n\n[Voltar](../index.md)\n\n"
                    "## α = 0,05 {#alfa-005}\n\n| ν | α = 0,05 |\n|:---:|:---:|\n| 10 | 2.228 |\n",
    "exemplo.md": "# Exemplo\n\n```\n ******** TESTE T ********\n1\n```\n",
}


class Render(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        src = os.path.join(cls.tmp.name, "src")
        cls.out = os.path.join(cls.tmp.name, "out")
        for rel, text in PAGES.items():
            path = os.path.join(src, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
        subprocess.run([sys.executable, RENDER, src, cls.out], check=True, capture_output=True)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def read(self, rel):
        with open(os.path.join(self.out, rel), encoding="utf-8") as f:
            return f.read()

    def test_one_page_per_markdown_page_and_a_style_sheet(self):
        for rel in ("index.html", "tabelas/t.html", "exemplo.html", "estilo.css"):
            self.assertTrue(os.path.exists(os.path.join(self.out, rel)), rel)

    def test_page_head(self):
        page = self.read("tabelas/t.html")
        self.assertIn('<html lang="pt-BR">', page)
        self.assertIn('<meta charset="utf-8">', page)
        self.assertIn('name="viewport"', page)
        self.assertIn("<title>Tabela t — ν e α — amostra</title>", page)
        # paths relative to the page's own folder
        self.assertIn('href="../estilo.css"', page)
        self.assertIn('href="../index.html"', page)
        self.assertIn('href="estilo.css"', self.read("index.html"))

    def test_links_to_pages_point_to_html(self):
        index = self.read("index.html")
        self.assertIn('href="tabelas/t.html#calculo"', index)
        self.assertIn('href="https://example.org/a.md"', index)   # not a page of ours
        self.assertIn('href="#topo"', index)
        self.assertIn('href="../index.html">Voltar', self.read("tabelas/t.html"))
        self.assertNotRegex(index + self.read("tabelas/t.html"), r'href="(?!https)[^"]*\.md')

    def test_tables_scroll_and_anchors(self):
        page = self.read("tabelas/t.html")
        self.assertRegex(page, r'<div class="tabela">\s*<table>')
        self.assertIn("<td>2.228</td>", page.replace(' style="text-align: center;"', ""))
        self.assertIn('id="alfa-005"', page)
        self.assertIn("overflow-x: auto", self.read("estilo.css"))

    def test_screens_keep_their_spacing(self):
        self.assertIn("<pre><code> ******** TESTE T ********\n1\n</code></pre>", self.read("exemplo.html"))

    def test_index_generated_when_missing(self):
        with tempfile.TemporaryDirectory() as tmp:
            src = os.path.join(tmp, "src")
            os.makedirs(os.path.join(src, "tabelas"))
            with open(os.path.join(src, "tabelas", "f.md"), "w", encoding="utf-8") as f:
                f.write("# Tabela F\n")
            out = os.path.join(tmp, "out")
            subprocess.run([sys.executable, RENDER, src, out], check=True, capture_output=True)
            with open(os.path.join(out, "index.html"), encoding="utf-8") as f:
                self.assertIn('<a href="tabelas/f.html">Tabela F</a>', f.read())


if __name__ == "__main__":
    try:
        import markdown  # noqa: F401
    except ImportError:
        print("SKIPPED: Python-Markdown is not installed (Debian package python3-markdown); "
              "the HTML rendering was not checked.")
        sys.exit(77)
    sys.exit(0 if unittest.main(exit=False, verbosity=2).result.wasSuccessful() else 1)
