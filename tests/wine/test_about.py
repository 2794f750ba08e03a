"""Configure mode: the About window of the real executable."""
import os
import stat
import tempfile
import time
import unittest

import bench

TITLE = "About"
BACKGROUND = (177, 232, 179)
BLUE = (0, 51, 255)
ADDRESS = "https://" + os.environ.get("ZEPHYRINE_WEBSITE_HOST", "dreamloom.example") + "/?utm_source=About"


def setUpModule():
    bench.skip_unless_this_build_runs()


def read_bmp(path):
    """Width, height and top-down RGB rows of an uncompressed 24-bit BMP."""
    with open(path, "rb") as f:
        data = f.read()
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    bits = int.from_bytes(data[28:30], "little")
    assert bits == 24
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = abs(height) - 1 - y if height > 0 else y
        row = data[offset + source * stride: offset + source * stride + width * 3]
        rows.append([(row[i + 2], row[i + 1], row[i]) for i in range(0, width * 3, 3)])
    return width, abs(height), rows


class AboutWindowAtSize:
    WIDTH = HEIGHT = None

    @classmethod
    def setUpClass(cls):
        cls.record_dir = tempfile.mkdtemp(prefix="zephyrine-open-")
        cls.record = os.path.join(cls.record_dir, "opened.txt")
        opener = os.path.join(cls.record_dir, "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\nprintf "%s\\n" "$*" >> "' + cls.record + '"\n')
        os.chmod(opener, os.stat(opener).st_mode | stat.S_IXUSR)
        # Wine hands web addresses to the desktop's opener, found on the PATH.
        path = cls.record_dir + os.pathsep + os.environ.get("PATH", "")
        cls.bench = bench.Bench(cls.WIDTH, cls.HEIGHT, env={"PATH": path}).start()
        cls.about = cls.bench.run_scr("/c")
        cls.window = cls.bench.wait_window(TITLE, 60)

    @classmethod
    def tearDownClass(cls):
        cls.bench.stop()

    def opened(self):
        if not os.path.exists(self.record):
            return []
        with open(self.record) as f:
            return f.read().splitlines()

    def client_point(self, x, y):
        cx, cy, _, _ = self.bench.client_area(TITLE)
        return cx + x, cy + y

    def test_one_window_of_400_by_300_centred_on_the_screen(self):
        self.assertIsNotNone(self.window, self.about.output())
        self.assertEqual(len(self.bench.windows_named(TITLE)), 1)
        x = (self.WIDTH - 400) // 2
        y = (self.HEIGHT - 300) // 2
        self.assertEqual(self.bench.window_rect(TITLE), (x, y, 400, 300))

    def test_controls_texts_ids_and_positions(self):
        children = {(c["class"].lower(), c["text"]): c for c in self.bench.children(TITLE)}
        heading = children.get(("static", "Zephyrine Screensaver"))
        button = children.get(("button", "Visit website"))
        text = next((c for (kind, _), c in children.items() if kind == "static" and c["id"] == 10), None)
        self.assertIsNotNone(heading, children)
        self.assertIsNotNone(button, children)
        self.assertIsNotNone(text, children)
        self.assertEqual((heading["id"], heading["rect"], heading["style"]), (30, (92, 20, 280, 20), 0x50010000))
        self.assertEqual((text["rect"], text["style"]), ((20, 150, 380, 80), 0x50010000))
        self.assertEqual((button["id"], button["rect"], button["style"] & 0xFFFF0000), (10, (150, 210, 100, 32),
                                                                                      0x50000000))
        lines = text["text"].split("\r\n")
        self.assertEqual(len(lines), 3, text["text"])
        self.assertRegex(lines[0], r"\d{4}.*Dreamloom")
        self.assertIn("support@", lines[2])

    def test_painting_background_logo_and_text_colours(self):
        cx, cy, cw, ch = self.bench.client_area(TITLE)
        width, _, rgb = self.bench.screenshot()

        def pixel(x, y):
            i = ((cy + y) * width + cx + x) * 3
            return tuple(rgb[i:i + 3])

        for x, y in ((5, 5), (380, 5), (60, 100), (300, 100), (5, 260), (380, 260)):
            self.assertEqual(pixel(x, y), BACKGROUND, (x, y))

        logo = os.environ.get("ZEPHYRINE_LOGO_BMP")
        if logo:
            lw, lh, rows = read_bmp(logo)
            self.assertEqual((lw, lh), (110, 83))
            mismatches = sum(pixel(142 + x, 55 + y) != rows[y][x] for y in range(lh) for x in range(lw))
            self.assertEqual(mismatches, 0)
            self.assertEqual(pixel(141, 55), BACKGROUND)
            self.assertEqual(pixel(252, 55), BACKGROUND)

        heading = [pixel(x, y) for y in range(20, 40) for x in range(92, 372)]
        self.assertIn((0, 0, 0), heading)
        self.assertFalse(any(p[2] > p[0] + 60 for p in heading if p != BACKGROUND), "blue in the heading")
        text = [pixel(x, y) for y in range(150, 205) for x in range(20, cw)]
        self.assertIn(BLUE, text)
        self.assertNotIn((0, 0, 0), text)

    def test_button_opens_the_website_each_time_and_nothing_else_does(self):
        before = len(self.opened())
        for x, y in ((150, 28), (100, 170), (200, 100)):  # heading, text, logo
            self.bench.move_mouse(*self.client_point(x, y))
            self.bench.click(1)
        time.sleep(3)
        self.assertEqual(len(self.opened()), before)

        self.bench.move_mouse(*self.client_point(200, 226))
        self.bench.click(1)
        self.assertTrue(bench.wait_until(lambda: len(self.opened()) >= before + 1, 30), self.opened())
        self.bench.click(1)
        self.assertTrue(bench.wait_until(lambda: len(self.opened()) >= before + 2, 30), self.opened())
        self.assertEqual(self.opened()[before:], [ADDRESS, ADDRESS])
        self.assertTrue(self.about.running(), "the window closed after a click")
        self.assertEqual(len(self.bench.windows_named(TITLE)), 1)


class AboutWindow1024x768(AboutWindowAtSize, unittest.TestCase):
    WIDTH, HEIGHT = 1024, 768


class AboutWindow1366x768(AboutWindowAtSize, unittest.TestCase):
    WIDTH, HEIGHT = 1366, 768

    def test_zz_closing_ends_the_process_with_zero_and_no_gl_was_made(self):
        # Runs last in this class (names sort): it closes the shared window.
        self.assertTrue(self.bench.close_request(TITLE))
        self.assertEqual(self.about.wait(30), 0)


class RegistrationFailure(unittest.TestCase):
    def test_message_then_return_without_waiting(self):
        with bench.Bench(320, 240) as b:
            run = b.launch(os.environ["ZEPHYRINE_ATTACH_PROBE"], "about-unregistered")
            boxes = b.collect_boxes(run)
            self.assertEqual(run.wait(30), 0)
            self.assertEqual(boxes, [("Error!", "Window Registration Failed!")])
            self.assertIn("about returned", run.output())


class NoGlInConfigureMode(unittest.TestCase):
    """Wine's OpenGL trace channel names every context made and made
    current; a full-screen run shows them, a configure run must not."""

    def test_configure_mode_creates_no_glfw_window_and_no_context(self):
        with bench.Bench(640, 480, env={"WINEDEBUG": "+wgl"}) as b:
            b.env["WINEDEBUG"] = "+wgl"
            full = b.run_scr("/s")
            window = b.wait_window("ZephyrineScreensaver", 60)
            self.assertIsNotNone(window)
            self.assertEqual(b.end_with_key(full, window), 0)
            self.assertIn("wglMakeCurrent", full.output())

            about = b.run_scr("/c")
            self.assertIsNotNone(b.wait_window(TITLE, 60))
            classes = [cls for _, cls, _ in b.win32_windows(hidden_too=True)]
            self.assertIn("DreamloomWindowClass", classes)
            # GLFW makes a hidden helper window of its class at initialisation.
            self.assertNotIn("GLFW30", classes)
            self.assertTrue(b.close_request(TITLE))
            self.assertEqual(about.wait(30), 0)
            log = about.output()
            for call in ("wglCreateContext", "wglMakeCurrent", "wglChoosePixelFormat", "wglSwapBuffers"):
                self.assertNotIn(call, log)


if __name__ == "__main__":
    unittest.main()
