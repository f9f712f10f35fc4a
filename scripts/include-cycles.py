#!/usr/bin/env python3
"""Finds include cycles between the program's parts and between the game's folders.

A part is a header/source pair (Foo.h with Foo.cpp). Part A depends on part B when
either file of A includes B's header. A game folder (game/store, game/play, ...)
depends on another when one of its parts does. Any cycle in either graph is printed,
as is a game header included without its folder ("Settings.h" for "store/Settings.h"),
and the exit status is 1; 0 when there is none.
"""
import os
import re
import sys

ROOTS = ["engine", "sound", "platform", "game"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def parts(top):
    found = {}
    for root in ROOTS:
        for folder, _, files in os.walk(os.path.join(top, root)):
            for name in files:
                stem, ext = os.path.splitext(name)
                if ext in (".h", ".cpp"):
                    found.setdefault(stem, []).append(os.path.join(folder, name))
    return found


def graph(found):
    edges = {}
    for part, files in found.items():
        deps = set()
        for path in files:
            with open(path, encoding="utf-8") as f:
                for target in INCLUDE.findall(f.read()):
                    stem = os.path.splitext(os.path.basename(target))[0]
                    if stem != part and stem in found:
                        deps.add(stem)
        edges[part] = sorted(deps)
    return edges


def cycles(edges):
    # Tarjan's strongly connected components, iteratively.
    index, low, on_stack, stack, result = {}, {}, set(), [], []
    counter = 0
    for start in sorted(edges):
        if start in index:
            continue
        work = [(start, 0)]
        while work:
            node, i = work.pop()
            if i == 0:
                index[node] = low[node] = counter
                counter += 1
                stack.append(node)
                on_stack.add(node)
            deps = edges[node]
            if i < len(deps):
                work.append((node, i + 1))
                nxt = deps[i]
                if nxt not in index:
                    work.append((nxt, 0))
                elif nxt in on_stack:
                    low[node] = min(low[node], index[nxt])
                continue
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    result.append(sorted(component))
    return result


def game_folder(path):
    # "game/store/Settings.h" -> "store"; None outside game/.
    bits = os.path.normpath(path).split(os.sep)
    if "game" in bits:
        at = len(bits) - 1 - bits[::-1].index("game")
        if at + 2 < len(bits):
            return bits[at + 1]
    return None


def folder_graph(found, edges):
    home = {part: game_folder(files[0]) for part, files in found.items()}
    folders = {}
    for part, deps in edges.items():
        if home[part] is None:
            continue
        mine = folders.setdefault(home[part], set())
        for dep in deps:
            if home[dep] is not None and home[dep] != home[part]:
                mine.add(home[dep])
    return {folder: sorted(deps) for folder, deps in folders.items()}


def unqualified(found):
    # Game code names the folder of every game header it includes, so that the one
    # include root (game/) is the only way in, not a neighbour's directory.
    home = {part: game_folder(files[0]) for part, files in found.items()}
    bad = []
    for files in found.values():
        for path in files:
            if game_folder(path) is None:
                continue
            with open(path, encoding="utf-8") as f:
                for target in INCLUDE.findall(f.read()):
                    stem = os.path.splitext(os.path.basename(target))[0]
                    want = home.get(stem)
                    if want is not None and target != want + "/" + os.path.basename(target):
                        bad.append(path + ": " + target)
    return sorted(bad)


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = parts(top)
    edges = graph(found)
    failed = False
    for component in cycles(edges):
        print("include cycle between: " + ", ".join(component))
        failed = True
    for component in cycles(folder_graph(found, edges)):
        print("include cycle between folders: " + ", ".join(component))
        failed = True
    for line in unqualified(found):
        print("include without its folder: " + line)
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
