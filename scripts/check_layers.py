#!/usr/bin/env python3
"""Checks that every source file under src/ includes only from the folders its
library links, that only libraries linking Qt include Qt headers, and that the
libraries form no cycle.

The rules come from the build itself: each `tcmap_folder_library(<target>
<folder> LINKS ...)` call in src/CMakeLists.txt names a folder's library and
the libraries it links.

usage: check_layers.py [--src DIR] [--dot FILE]
  --src DIR   the source tree to check (default: src/ beside this script)
  --dot FILE  also check a `cmake --graphviz` drawing of the targets for cycles
Prints one line per violation and a summary; exit code 1 on any violation.
"""
import argparse
import os
import re
import sys

LIBRARY_CALL = re.compile(r'tcmap_folder_library\(\s*(\S+)\s+(\S+)(.*?)\)', re.S)
INCLUDE = re.compile(r'\s*#\s*include\s*[<"]([^>"]+)[>"]')
SOURCE_SUFFIXES = ('.cpp', '.h', '.hpp')


def read_libraries(cmake_file):
    """{folder: (target, set of linked targets)} from the library calls."""
    text = open(cmake_file, encoding='utf-8').read()
    text = re.sub(r'#[^\n]*', '', text)
    libraries = {}
    for target, folder, rest in LIBRARY_CALL.findall(text):
        links = set(rest.split()[1:]) if rest.split()[:1] == ['LINKS'] else set()
        libraries[folder] = (target, links)
    return libraries


def folder_of(relative, folders):
    """The deepest library folder holding a path relative to src/, or ''."""
    best = ''
    for folder in folders:
        if relative.startswith(folder + '/') and len(folder) > len(best):
            best = folder
    return best


def is_qt_header(include):
    name = include.split('/')[-1]
    return include.startswith('Qt') or re.fullmatch(r'Q[A-Z][A-Za-z]*', name) is not None


def find_cycle(graph):
    """One cycle of a {node: set(nodes)} graph as a list, or None."""
    state = {}

    def visit(node, path):
        state[node] = 'open'
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 'open':
                return path[path.index(nxt):] + [nxt] if nxt in path else [node, nxt]
            if nxt not in state:
                found = visit(nxt, path + [nxt])
                if found:
                    return found
        state[node] = 'done'
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [node])
            if found:
                return found
    return None


def dot_graph(dot_file):
    """{node label: set(node labels)} from a graphviz file of cmake --graphviz."""
    labels, edges = {}, []
    for line in open(dot_file, encoding='utf-8'):
        node = re.match(r'\s*"(\w+)"\s*\[\s*label\s*=\s*"([^"]+)"', line)
        if node:
            labels[node.group(1)] = node.group(2)
        edge = re.match(r'\s*"(\w+)"\s*->\s*"(\w+)"', line)
        if edge:
            edges.append(edge.groups())
    graph = {}
    for a, b in edges:
        # gtest_discover_tests makes a test executable depend on itself in the
        # drawing; that is no cycle between targets.
        if a != b:
            graph.setdefault(labels.get(a, a), set()).add(labels.get(b, b))
    return graph


def check(src, dot_file=None):
    problems = []
    libraries = read_libraries(os.path.join(src, 'CMakeLists.txt'))
    if not libraries:
        return ['no tcmap_folder_library calls in ' + os.path.join(src, 'CMakeLists.txt')], 0
    folder_of_target = {target: folder for folder, (target, _) in libraries.items()}
    qt_folders = {f for f, (_, links) in libraries.items() if any(l.startswith('Qt') for l in links)}
    files = 0
    for root, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(root, name)
            relative = os.path.relpath(path, src).replace(os.sep, '/')
            own = folder_of(relative, libraries)
            files += 1
            for number, line in enumerate(open(path, encoding='utf-8', errors='replace'), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                include = match.group(1)
                where = f'{relative}:{number}'
                if is_qt_header(include):
                    if own and own not in qt_folders:
                        problems.append(f'{where}: Qt header {include} outside a Qt library')
                    continue
                target = folder_of(include, libraries)
                if not target or target == own:
                    continue
                if not own:
                    continue  # the executable's own files may use every library
                allowed = {folder_of_target[t] for t in libraries[own][1] if t in folder_of_target}
                if target not in allowed:
                    problems.append(f'{where}: {own}/ may not include {include} ({target}/ is not '
                                    f'among the libraries {libraries[own][0]} links)')
    link_graph = {t: {l for l in links if l in folder_of_target} for _, (t, links) in libraries.items()}
    cycle = find_cycle(link_graph)
    if cycle:
        problems.append('the libraries link in a cycle: ' + ' -> '.join(cycle))
    if dot_file:
        cycle = find_cycle(dot_graph(dot_file))
        if cycle:
            problems.append(f'{dot_file}: the targets depend in a cycle: ' + ' -> '.join(cycle))
    return problems, files


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--src', default=os.path.join(os.path.dirname(__file__), '..', 'src'))
    parser.add_argument('--dot')
    args = parser.parse_args()
    problems, files = check(os.path.normpath(args.src), args.dot)
    for problem in problems:
        print(problem)
    print(f'check_layers: {files} files, {len(problems)} violations')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
