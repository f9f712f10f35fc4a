#!/usr/bin/env python3
"""Waits (up to 60 s, for a loaded machine) until the page's local server answers at the URL given."""
import sys
import time
import urllib.request

for _ in range(300):
    try:
        urllib.request.urlopen(sys.argv[1], timeout=2).close()
        sys.exit(0)
    except OSError:
        time.sleep(0.2)
sys.exit("web-wait: no server at " + sys.argv[1])
