"""The manual's link checker, on small manuals written for each case."""
import importlib.util
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-manual-links.py"
spec = importlib.util.spec_from_file_location("check_manual_links", SCRIPT)
checker = importlib.util.module_from_spec(spec)
spec.loader.exec_module(checker)


class ManualLinks(unittest.TestCase):
    def manual(self, pages):
        """A manual folder holding pages ({relative path: text}), inside a
        temporary folder of its own; "../" names lead there."""
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        root = pathlib.Path(folder.name, "manuel")
        root.mkdir()
        for name, text in pages.items():
            path = root / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text, encoding="utf-8")
        return str(root)

    def test_a_sound_manual_passes(self):
        root = self.manual({
            "index.html": '<a href="style.html#pr%C3%A9f%C3%A9rences">x</a><a href="#haut" id="haut">h</a>'
                          '<img src="images/fen%C3%AAtre.png"><link rel="stylesheet" href="manual.css">'
                          '<a href="https://example.org/x.html#y">web</a><a href="mailto:a@b.c">m</a>',
            "style.html": '<h2 id="préférences">P</h2><a name="ancre"></a><a href="index.html?x=1">i</a>'
                          '<a href="./style.html#ancre">s</a>',
            "images/fenêtre.png": "png",
            "manual.css": "",
        })
        self.assertEqual(checker.broken_links(root), [])

    def test_each_kind_of_broken_link_is_reported_with_its_page_and_line(self):
        root = self.manual({
            "index.html": '<p>\n<a href="missing.html">1</a>\n<img src="images/absent.png">\n'
                          '<a href="style.html#nowhere">3</a>\n<a href="#self-missing">4</a>\n'
                          '<a href="../outside.html">5</a>\n<a href="/usr/share/doc/x.html">6</a>\n'
                          '<a href="file:///tmp/x.html">7</a>\n<a href="images">8</a>',
            "style.html": '<h2 id="somewhere">S</h2>',
            "images/ok.png": "png",
        })
        pathlib.Path(root).parent.joinpath("outside.html").write_text("", encoding="utf-8")
        problems = checker.broken_links(root)
        self.assertEqual(len(problems), 8, problems)
        expected = [
            ("index.html:2: 'missing.html'", "no such file"),
            ("index.html:3: 'images/absent.png'", "no such file"),
            ("index.html:4: 'style.html#nowhere'", "no anchor 'nowhere' in style.html"),
            ("index.html:5: '#self-missing'", "no anchor 'self-missing' in index.html"),
            ("index.html:6: '../outside.html'", "leaves the manual's folder"),
            ("index.html:7: '/usr/share/doc/x.html'", "absolute path"),
            ("index.html:8: 'file:///tmp/x.html'", "file: address"),
            ("index.html:9: 'images'", "no such file"),
        ]
        for (start, reason), problem in zip(expected, problems):
            self.assertTrue(problem.startswith(start), problem)
            self.assertIn(reason, problem)

    def test_pages_in_sub_folders_resolve_from_their_own_folder(self):
        root = self.manual({
            "index.html": '<a href="guide/page.html">g</a>',
            "guide/page.html": '<a href="../index.html">up</a><a href="index.html">wrong</a>',
        })
        self.assertEqual([p.split(":")[0] for p in checker.broken_links(root)], [os.path.join("guide", "page.html")])

    def test_the_command_exits_1_on_a_broken_link_and_on_an_empty_folder(self):
        broken = self.manual({"index.html": '<a href="gone.html">x</a>'})
        run = subprocess.run([sys.executable, str(SCRIPT), broken], capture_output=True, text=True)
        self.assertEqual(run.returncode, 1)
        self.assertIn("index.html:1: 'gone.html': no such file", run.stdout)
        empty = self.manual({})
        self.assertEqual(subprocess.run([sys.executable, str(SCRIPT), empty], capture_output=True).returncode, 1)
        sound = self.manual({"index.html": '<a href="index.html">x</a>'})
        self.assertEqual(subprocess.run([sys.executable, str(SCRIPT), sound], capture_output=True).returncode, 0)


if __name__ == "__main__":
    unittest.main()
