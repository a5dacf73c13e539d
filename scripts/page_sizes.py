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


# Each part by the pattern of the elements that hold it; what no pattern takes is the HTML.
patterns = {
    "engine module, packed, base64": r'<script type="text/plain" id="module">(.*?)</script>',
    "unpacker module, base64": r'<script type="text/plain" id="unpacker">(.*?)</script>',
    "engine glue and worker": r'<script type="text/plain" id="engine">(.*?)</script>',
    "page's scripts": r"<script>(.*?)</script>",
    "style": r"<style>(.*?)</style>",
    "licences": r"(<!-- The engine includes.*)",
}
parts = {}
rest = page
for name, pattern in patterns.items():
    texts = re.findall(pattern, page, re.S)
    parts[name] = "".join(texts)
    for text in texts:
        rest = rest.replace(text, "", 1)
parts["HTML"] = rest


def line(name, data):
    print(f"  {name:32} {len(data):8} bytes, {len(gzip.compress(data, 9)):7} gzip -9")


line("engine module (as built)", wasm)
for name, text in parts.items():
    line(name, text.encode("utf-8"))
line("tongqiu.html", page.encode("utf-8"))
