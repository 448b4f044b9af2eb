#!/usr/bin/env python3
"""The layer check of scripts/check_layers.py: the real tree passes, and a
forbidden include, a Qt header outside gui/, an upward include and a cycle of
libraries each fail it."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), '..', '..'))
SCRIPT = os.path.join(ROOT, 'scripts', 'check_layers.py')

CMAKE = """
tcmap_folder_library(tcmap_base base LINKS Threads::Threads)
tcmap_folder_library(tcmap_track track LINKS tcmap_base)
tcmap_folder_library(tcmap_render render LINKS tcmap_render_layers tcmap_track tcmap_base)
tcmap_folder_library(tcmap_render_layers render/layers LINKS tcmap_track)
tcmap_folder_library(tcmap_gui gui LINKS tcmap_render Qt6::Widgets)
"""


def run(args):
    return subprocess.run([sys.executable, SCRIPT] + args, capture_output=True, text=True)


class CheckLayers(unittest.TestCase):
    def setUp(self):
        self.src = tempfile.mkdtemp(prefix='tcmap-layers-')
        self.write('CMakeLists.txt', CMAKE)
        self.write('base/io.h', '#pragma once\n#include <string>\n')
        self.write('track/model.h', '#include "base/io.h"\n')
        self.write('render/job.cpp', '#include "track/model.h"\n#include "render/layers/grid.h"\n')
        self.write('render/layers/grid.h', '#include "track/model.h"\n')
        self.write('gui/window.cpp', '#include <QWidget>\n#include "render/job.h"\n')
        self.write('main.cpp', '#include "gui/window.h"\n#include <QApplication>\n')

    def tearDown(self):
        shutil.rmtree(self.src)

    def write(self, name, text):
        path = os.path.join(self.src, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'w') as f:
            f.write(text)

    def check(self):
        return run(['--src', self.src])

    def test_the_project_tree_passes(self):
        result = run(['--src', os.path.join(ROOT, 'src')])
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertIn(' 0 violations', result.stdout)

    def test_a_layered_tree_passes(self):
        result = self.check()
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_an_upward_include_fails(self):
        self.write('track/reader.cpp', '#include "render/job.h"\n')
        result = self.check()
        self.assertEqual(result.returncode, 1)
        self.assertIn('track/reader.cpp:1: track/ may not include render/job.h', result.stdout)

    def test_a_subfolder_is_its_own_layer(self):
        # render/layers links only track: the job folder above it is out of reach.
        self.write('render/layers/legend.cpp', '#include "render/job.h"\n')
        self.assertIn('render/layers/ may not include render/job.h', self.check().stdout)

    def test_a_folder_may_not_skip_to_what_it_does_not_link(self):
        self.write('render/layers/io_user.cpp', '#include "base/io.h"\n')
        self.assertEqual(self.check().returncode, 1)

    def test_qt_outside_a_qt_library_fails(self):
        self.write('render/view.h', '#include <QImage>\n')
        result = self.check()
        self.assertEqual(result.returncode, 1)
        self.assertIn('Qt header QImage', result.stdout)

    def test_a_cycle_of_libraries_fails(self):
        self.write('CMakeLists.txt', CMAKE.replace('track LINKS tcmap_base', 'track LINKS tcmap_render'))
        result = self.check()
        self.assertEqual(result.returncode, 1)
        self.assertIn('cycle', result.stdout)

    def test_a_cycle_in_the_target_drawing_fails(self):
        dot = os.path.join(self.src, 'graph.dot')
        with open(dot, 'w') as f:
            f.write('digraph "x" {\n'
                    '    "node0" [ label = "tcmap_track", shape = octagon ];\n'
                    '    "node1" [ label = "tcmap_base", shape = octagon ];\n'
                    '    "node0" -> "node1"\n    "node1" -> "node0"\n'
                    '    "node1" -> "node1"\n}\n')
        result = run(['--src', self.src, '--dot', dot])
        self.assertEqual(result.returncode, 1)
        self.assertIn('graph.dot: the targets depend in a cycle', result.stdout)


if __name__ == '__main__':
    unittest.main()
