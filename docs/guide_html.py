"""Makes the user's guide a standalone HTML page: python3 guide_html.py GUIDE.md OUT.html.

Headings get ids from their Russian text, and the page opens with their table of contents,
so that the guide's sections can be linked to from outside.
"""
import sys

import markdown
from markdown.extensions.toc import slugify_unicode

PAGE = """<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<title>{title}</title>
<style>
body {{ font-family: sans-serif; max-width: 60em; margin: 2em auto; padding: 0 1em; line-height: 1.45; }}
img {{ max-width: 100%; border: 1px solid #ccc; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid #bbb; padding: 0.3em 0.5em; vertical-align: top; }}
code, pre {{ background: #f4f4f4; }}
pre {{ padding: 0.5em; overflow-x: auto; }}
</style>
</head>
<body>
<nav>{toc}</nav>
{body}
</body>
</html>
"""


def main(source, target):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    converter = markdown.Markdown(
        extensions=["tables", "fenced_code", "toc"],
        extension_configs={"toc": {"slugify": slugify_unicode, "toc_depth": "2-3"}},
    )
    body = converter.convert(text)
    title = text.splitlines()[0].lstrip("# ").strip()
    with open(target, "w", encoding="utf-8") as f:
        f.write(PAGE.format(title=title, toc=converter.toc, body=body))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
