#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The layers of the product, checked from its includes: every file may
include its own layer and the layers below it, never one above or beside
it, and no include cycle runs through files at all. The build refuses most
of this already (each library sees only its layers' headers); this check
also catches what a build cannot: a relative include, a cycle inside one
layer. docs/architecture.md draws the same tree.

    check-layers.py [ROOT]      exit status 1 and one line per finding"""
import os
import re
import subprocess
import sys

# Each layer and the layers it stands on directly.
LAYERS = {
    "runtime": [],
    "engine": ["runtime"],
    "ui": ["engine"],
    "app": ["ui"],
    "astro/base": [],
    "astro/time": ["astro/base"],
    "astro/observer": ["astro/time"],
    "astro/sidereal": ["astro/observer", "engine"],
    "astro/search": ["astro/sidereal"],
    "cli/io": ["astro/base"],
    "cli/print": ["cli/io", "astro/search"],
    "cli/options": ["cli/print"],
    "cli/drivers": ["cli/options"],
    "cli": ["cli/drivers"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def below(layer, seen=None):
    seen = set() if seen is None else seen
    for lower in LAYERS[layer]:
        if lower not in seen:
            seen.add(lower)
            below(lower, seen)
    return seen


def layer_of(path):
    folder = os.path.dirname(path)
    while folder and folder not in LAYERS:
        folder = os.path.dirname(folder)
    return folder or None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    tops = sorted({name.split("/")[0] for name in LAYERS})
    listed = subprocess.run(["git", "-C", root, "ls-files", *tops], capture_output=True, text=True, check=True)
    files = [f for f in listed.stdout.split() if f.endswith((".cpp", ".h"))]
    findings = []
    graph = {}
    for path in files:
        layer = layer_of(path)
        if layer is None:
            findings.append(f"{path}: in no layer (add its folder to scripts/check-layers.py)")
            continue
        allowed = below(layer) | {layer}
        graph[path] = []
        with open(os.path.join(root, path), encoding="utf-8") as source:
            text = source.read()
        for included in INCLUDE.findall(text):
            target = os.path.normpath(included)
            if included.startswith(".") or target != included:
                findings.append(f"{path}: relative include \"{included}\"")
                continue
            target_layer = layer_of(target)
            if target_layer is None or not os.path.exists(os.path.join(root, target)):
                continue  # a generated or a system header spelled with quotes
            if target_layer not in allowed:
                findings.append(f"{path}: includes {target} of {target_layer}, which {layer} does not stand on")
            graph[path].append(target)
    findings += [f"include cycle: {' -> '.join(cycle)}" for cycle in cycles(graph)]
    for finding in findings:
        print(f"layers: {finding}")
    print(f"layers: {len(files)} files, {len(findings)} findings")
    return 1 if findings else 0


def cycles(graph):
    """Each strongly connected set of files (Tarjan's algorithm), as a loop."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for nxt in graph.get(node, []):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1 or node in graph.get(node, []):
                found.append(sorted(group) + [sorted(group)[0]])

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


if __name__ == "__main__":
    sys.exit(main())
