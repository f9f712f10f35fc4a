#!/usr/bin/env python3
"""Finds include cycles between the program's parts.

A part is a header/source pair (Foo.h with Foo.cpp). Part A depends on part B when
either file of A includes B's header. Any cycle in that graph is printed and the
exit status is 1; 0 when there is none.
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


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = cycles(graph(parts(top)))
    for component in found:
        print("include cycle between: " + ", ".join(component))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
