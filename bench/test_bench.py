#!/usr/bin/env python3
"""Self-tests of the benchmark tools: python3 -m unittest bench/test_bench.py"""

import os
import re
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import peers  # noqa: E402
import tokens  # noqa: E402


class TokenizeTest(unittest.TestCase):
    def toks(self, text):
        return tokens.tokenize(text)[0]

    def test_line_markers_and_blank_lines_are_dropped(self):
        text = '\n# 1 "a.c"\nx\n# 12\n\n#line 7 "b.c"\n# 3 "c.h" 1 3\ny\n'
        self.assertEqual(self.toks(text), ["x", "y"])

    def test_other_directive_lines_are_kept(self):
        self.assertEqual(self.toks("#pragma pack 1\n"), ["#", "pragma", "pack", "1"])

    def test_literals_and_numbers_are_single_tokens(self):
        cases = [
            ('"a \\" b"', ['"a \\" b"']),
            ("'\\''", ["'\\''"]),
            ("1.5e+3", ["1.5e+3"]),
            ("0x1FUL+.5", ["0x1FUL", "+", ".5"]),
            ("a->b...c", ["a", "->", "b", "...", "c"]),
            ("x<<=2", ["x", "<<=", "2"]),
            ("a##b #c", ["a", "##", "b", "#", "c"]),
        ]
        for text, want in cases:
            with self.subTest(text=text):
                self.assertEqual(self.toks(text), want)

    def test_spacing_does_not_matter_but_gluing_does(self):
        self.assertEqual(self.toks("a+b"), self.toks("a  +\tb"))
        self.assertEqual(self.toks("f(x)\n;"), self.toks("f ( x ) ;"))
        self.assertNotEqual(self.toks("- -x"), self.toks("--x"))
        self.assertNotEqual(self.toks("a b"), self.toks("ab"))

    def test_output_lines_follow_the_text(self):
        _, lines = tokens.tokenize('# 1 "a.c"\na\n\nb c\n')
        self.assertEqual(lines, [2, 4, 4])


class FirstDifferenceTest(unittest.TestCase):
    def test_positions(self):
        base = [str(i) for i in range(10000)]
        cases = [
            (base[:4096], base[:4096], None),
            (base[:8192], base[:8193], 8192),
            (base[:8193], base[:8192], 8192),
            (base, base[:5000] + ["x"] + base[5001:], 5000),
            (base, ["x"] + base[1:], 0),
            ([], [], None),
            ([], ["a"], 0),
        ]
        for a, b, want in cases:
            with self.subTest(len_a=len(a), len_b=len(b), want=want):
                self.assertEqual(tokens.first_difference(a, b), want)

    def test_compare_reports_by_exit_status(self):
        with tempfile.TemporaryDirectory() as d:
            paths = []
            for i, text in enumerate(('# 1 "m.c"\nint x = 1 ;\n',
                                      '\n# 1 "m.c"\nint x=1;\n',
                                      'int x = 2;\n')):
                paths.append(os.path.join(d, "o%d" % i))
                with open(paths[-1], "w") as f:
                    f.write(text)
            with open(os.devnull, "w") as quiet:
                saved, sys.stdout = sys.stdout, quiet
                try:
                    same = tokens.compare(paths[0], paths[1])
                    differ = tokens.compare(paths[0], paths[2])
                finally:
                    sys.stdout = saved
            self.assertEqual((same, differ), (0, 1))


class CorpusTest(unittest.TestCase):
    """The generator at a small scale: deterministic, and inside the limits
    that a conservative preprocessor imposes."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.dirs = []
        for seed in (1, 1, 2):
            out = os.path.join(cls.tmp.name, "c%d" % len(cls.dirs))
            subprocess.run([sys.executable, os.path.join(HERE, "gen_corpus.py"), "--out", out,
                            "--scale", "0.03", "--seed", str(seed)], check=True)
            cls.dirs.append(out)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def files(self, root):
        for d, _, names in os.walk(root):
            for n in sorted(names):
                yield os.path.relpath(os.path.join(d, n), root)

    def read(self, root, name):
        with open(os.path.join(root, name), "rb") as f:
            return f.read().decode("latin-1")

    def test_same_seed_same_bytes_other_seed_other_bytes(self):
        a, b, c = self.dirs
        names = sorted(self.files(a))
        self.assertEqual(names, sorted(self.files(b)))
        self.assertTrue(all(self.read(a, n) == self.read(b, n) for n in names))
        self.assertNotEqual(self.read(a, "macros.c"), self.read(c, "macros.c"))

    def test_manifest_names_every_input_and_its_directories(self):
        manifest = peers.read_manifest(self.dirs[0])
        self.assertEqual(sorted(n for n, _ in manifest),
                         ["comments.c", "conds.c", "includes.c", "macro_churn.c", "macros.c",
                          "many_includes.c", "many_macros.c", "plain.c"])
        for name, count in (("includes.c", 4), ("many_includes.c", 5)):
            dirs = dict(manifest)[name]
            self.assertEqual(len(dirs), count)
            for d in dirs:
                self.assertTrue(os.path.isdir(os.path.join(self.dirs[0], d)))

    def test_limits(self):
        root = self.dirs[0]
        for name in self.files(root):
            if name == "manifest.txt":
                continue
            text = self.read(root, name)
            with self.subTest(file=name):
                self.assertNotIn("??", text)  # no trigraphs
                self.assertNotIn("__VA_ARGS__", text)
                self.assertLess(max(len(line) for line in text.split("\n")), 8191)
                idents = re.findall(r"[A-Za-z_][A-Za-z0-9_]*", re.sub(r'"[^"\n]*"', "", text))
                self.assertLessEqual(max(map(len, idents)), 31)

    def test_conditional_nesting_stays_below_31(self):
        depth = deepest = 0
        for line in self.read(self.dirs[0], "conds.c").split("\n"):
            if re.match(r"#(if|ifdef|ifndef)\b", line):
                depth += 1
                deepest = max(deepest, depth)
            elif line.startswith("#endif"):
                depth -= 1
        self.assertEqual(depth, 0)
        self.assertLessEqual(deepest, 30)
        self.assertGreater(deepest, 5)

    def test_stringised_arguments_hold_no_backslash(self):
        text = self.read(self.dirs[0], "macros.c")
        args = re.findall(r"STR_\d+\(([^)]*)\)", text)
        self.assertTrue(args)
        self.assertFalse([a for a in args if "\\" in a])


class CommandTest(unittest.TestCase):
    def test_every_tool_sees_every_directory_and_writes_the_output(self):
        for tool in ("cpp", "gcc", "clang", "mcpp", "tcc", "sdcpp"):
            with self.subTest(tool=tool):
                cmd = peers.command(tool, "/x/cpp", "in.c", ["i0", "i1"], "out.i")
                joined = " ".join(cmd)
                self.assertIn("in.c", cmd)
                self.assertIn("out.i", cmd)
                self.assertEqual(joined.count("i0"), 1)
                self.assertLess(joined.index("i0"), joined.index("i1"))


class HostTest(unittest.TestCase):
    def test_the_processor_is_named_from_cpuinfo(self):
        x86 = "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R)  Xeon(R) Processor\n"
        self.assertEqual(peers.cpu_model(x86), "Intel(R) Xeon(R) Processor")
        self.assertEqual(peers.cpu_model("processor : 0\nmodel name :\n"), "unknown processor")
        self.assertEqual(peers.cpu_model(""), "unknown processor")

    def test_the_markdown_table_is_headed_by_the_host_line(self):
        rows = [("input", "MB", "tool", "cpu s"), ("a.c", "1.00", "cpp", "0.010")]
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "results.md")
            peers.write_markdown(rows, path, peers.host_description("cpp abc1234"))
            with open(path) as f:
                lines = f.read().splitlines()
        self.assertTrue(lines[0].startswith("host: "), lines[0])
        self.assertIn("cpp abc1234", lines[0])
        self.assertEqual(lines[1], "")
        self.assertEqual(lines[2], "| input | MB | tool | cpu s |")
        self.assertEqual(lines[4], "| a.c | 1.00 | cpp | 0.010 |")


if __name__ == "__main__":
    unittest.main()
