#!/usr/bin/python3
"""Checks the help page: every picture and every link inside the page or the data folder
resolves, nothing is fetched from outside, every picture has a text, and the page declares a
viewport for phones. Usage: check_help_page.py ReadMe.htm"""
import os
import sys
from html.parser import HTMLParser
from urllib.parse import urlparse


class Page(HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids = set()
        self.links = []      # (tag, address)
        self.viewport = False
        self.problems = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "meta" and attrs.get("name") == "viewport":
            self.viewport = True
        for key in ("href", "src"):
            if key in attrs:
                self.links.append((tag, attrs[key]))
        if tag == "img" and not attrs.get("alt"):
            self.problems.append(f"picture {attrs.get('src')} has no alt text")


def main(path):
    page = Page()
    with open(path, encoding="utf-8") as f:
        page.feed(f.read())
    folder = os.path.dirname(os.path.abspath(path))
    for tag, address in page.links:
        parts = urlparse(address)
        if parts.scheme or parts.netloc:
            page.problems.append(f"<{tag}> reaches outside the data folder: {address}")
        elif address.startswith("#"):
            if address[1:] not in page.ids:
                page.problems.append(f"link to a missing anchor {address}")
        elif not os.path.isfile(os.path.join(folder, parts.path)):
            page.problems.append(f"<{tag}> names a missing file {address}")
    if not page.viewport:
        page.problems.append("no viewport: phones would show the page zoomed out")
    for problem in page.problems:
        print(f"{path}: {problem}")
    print(f"{len(page.links)} links and pictures checked, {len(page.problems)} problems")
    return 1 if page.problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
