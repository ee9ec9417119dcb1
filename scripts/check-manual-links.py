#!/usr/bin/env python3
"""Checks that the HTML manual has no broken local link.

    python3 scripts/check-manual-links.py FOLDER

Every href and src of every .html page under FOLDER that names a local file
must name a file that exists inside FOLDER, and a "#fragment" must name an
id (or an <a name>) of the page it points to. Addresses with a scheme
(https:, mailto:) are left alone, except file:, which an installed manual
cannot rely on. Prints one line per broken link and exits 1 if there is any.
"""
import html.parser
import os
import re
import sys
import urllib.parse

SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")
LINK_ATTRIBUTES = {"href", "src"}


class Page(html.parser.HTMLParser):
    """The links and the anchors of one HTML page."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []  # (line, address)
        self.anchors = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if value is None:
                continue
            if name in LINK_ATTRIBUTES:
                self.links.append((self.getpos()[0], value.strip()))
            elif name == "id" or (tag == "a" and name == "name"):
                self.anchors.add(value)


def read_page(path):
    page = Page()
    with open(path, encoding="utf-8") as f:
        page.feed(f.read())
    page.close()
    return page


def html_files(root):
    for folder, _, names in os.walk(root):
        for name in sorted(names):
            if name.endswith((".html", ".htm")):
                yield os.path.join(folder, name)


def broken_links(root):
    """The broken links of the manual under root, as readable lines."""
    root = os.path.realpath(root)
    pages = {}

    def page_at(path):
        if path not in pages:
            pages[path] = read_page(path)
        return pages[path]

    problems = []
    for path in html_files(root):
        shown = os.path.relpath(path, root)
        for line, address in page_at(path).links:
            where = f"{shown}:{line}: '{address}'"
            if address.startswith("//") or (SCHEME.match(address) and not address.lower().startswith("file:")):
                continue
            if address.lower().startswith("file:"):
                problems.append(f"{where}: a file: address does not survive installation")
                continue
            target, _, fragment = address.partition("#")
            target = urllib.parse.unquote(target.split("?", 1)[0])
            fragment = urllib.parse.unquote(fragment)
            if target.startswith("/"):
                problems.append(f"{where}: an absolute path does not survive installation")
                continue
            resolved = os.path.realpath(os.path.join(os.path.dirname(path), target)) if target else path
            if resolved != root and not resolved.startswith(root + os.sep):
                problems.append(f"{where}: leaves the manual's folder")
                continue
            if not os.path.isfile(resolved):
                problems.append(f"{where}: no such file")
                continue
            if fragment and resolved.endswith((".html", ".htm")) and fragment not in page_at(resolved).anchors:
                problems.append(f"{where}: no anchor '{fragment}' in {os.path.relpath(resolved, root)}")
    return problems


def main(argv):
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        print(f"usage: {argv[0]} FOLDER", file=sys.stderr)
        return 2
    if not any(html_files(argv[1])):
        print(f"{argv[1]}: no HTML page", file=sys.stderr)
        return 1
    problems = broken_links(argv[1])
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} broken link(s)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
