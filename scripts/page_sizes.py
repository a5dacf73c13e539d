"""The page's size by part: each part alone, raw and gzip -9, and the whole.

Usage: page_sizes.py BUILD   (the web build folder: tongqiu.html and web/tongqiu_engine.wasm)
"""
import gzip
import re
import sys
from pathlib import Path

build = Path(sys.argv[1])
page = (build / "tongqiu.html").read_text(encoding="utf-8")
wasm = (build / "web" / "tongqiu_engine.wasm").read_bytes()


def script(element_id):
    return re.search(rf'<script type="text/plain" id="{element_id}">(.*?)</script>', page, re.S)


parts = {}
for element_id, name in (("module", "engine module, packed, base64"),
                         ("unpacker", "unpacker module, base64"),
                         ("engine", "engine glue and worker")):
    parts[name] = script(element_id).group(1)
pieces = {"page's scripts": re.findall(r"<script>(.*?)</script>", page, re.S),
          "style": re.findall(r"<style>(.*?)</style>", page, re.S)}
rest = page
for name, texts in pieces.items():
    parts[name] = "".join(texts)
    for text in texts:
        rest = rest.replace(text, "", 1)
for text in list(parts.values())[:3]:
    rest = rest.replace(text, "", 1)
licences = rest.index("<!-- The engine includes")
parts["licences"] = rest[licences:]
parts["HTML"] = rest[:licences]


def line(name, data):
    print(f"  {name:32} {len(data):8} bytes, {len(gzip.compress(data, 9)):7} gzip -9")


line("engine module (as built)", wasm)
for name, text in parts.items():
    line(name, text.encode("utf-8"))
line("tongqiu.html", page.encode("utf-8"))
