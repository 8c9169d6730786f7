#!/usr/bin/python3
"""Writes the page's worker from its template: the files it keeps, and the
name of their cache, made from the files' names and contents so that any
change to any of them is a new cache.

    keep_files.py TEMPLATE SITE OUTPUT FILE...   (FILE relative to SITE)
"""
import hashlib
import json
import os
import sys


def main(template, site, output, files):
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0")
        with open(os.path.join(site, name), "rb") as file:
            digest.update(hashlib.sha256(file.read()).digest())
    with open(template, encoding="utf-8") as file:
        text = file.read()
    text = text.replace("@CONTENTS@", digest.hexdigest()[:16])
    text = text.replace("@FILES@", ", ".join(json.dumps(name) for name in ["./"] + files))
    with open(output, "w", encoding="utf-8") as file:
        file.write(text)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
