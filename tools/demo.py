#!/usr/bin/env python3
"""The demo of kvr on a private X server.

Starts Xvfb (with the distribution's Chinese font directory on its font
path), kvr from a temporary copy of the distribution directory under an XIM
name of its own, and an xterm that selects kvr and runs "cat > file". Then
it types like a user, through the XTEST extension: Ctrl+Space, a pinyin
sentence word by word, each word taken with Space, and Return. It saves a
screenshot while the panes show the last word's candidates, prints what the
xterm received and stops every process it started, by its process id.

Usage: demo.py DIST_DIR [SCREENSHOT.png]
"""
import ctypes
import ctypes.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Keys a user types: Ctrl+Space turns Chinese input on; each word is taken
# with Space; Return ends the line.
SENTENCE = ["women", "ai", "beijing"]


class X:
    """The few Xlib and XTEST calls the demo needs, through ctypes."""

    def __init__(self, display):
        self.xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.xlib.XOpenDisplay.restype = ctypes.c_void_p
        self.xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.xlib.XInternAtom.restype = ctypes.c_ulong
        self.xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.xlib.XGetSelectionOwner.restype = ctypes.c_ulong
        self.xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.xlib.XStringToKeysym.restype = ctypes.c_ulong
        self.xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.xlib.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        self.xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.xlib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + display)

    def close(self):
        self.xlib.XCloseDisplay(self.dpy)

    def serving(self, im_name):
        atom = self.xlib.XInternAtom(self.dpy, ("@server=" + im_name).encode(), 0)
        return self.xlib.XGetSelectionOwner(self.dpy, atom) != 0

    def focus(self, window):
        self.xlib.XSetInputFocus(self.dpy, window, 2, 0)  # RevertToParent, CurrentTime
        self.xlib.XSync(self.dpy, 0)

    def key(self, name, down):
        code = self.xlib.XKeysymToKeycode(self.dpy, self.xlib.XStringToKeysym(name.encode()))
        if not code:
            raise RuntimeError("no key for " + name)
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 1 if down else 0, 0)
        self.xlib.XSync(self.dpy, 0)

    def tap(self, name, ctrl=False, hold=0.0):
        if ctrl:
            self.key("Control_L", True)
        self.key(name, True)
        time.sleep(hold)
        self.key(name, False)
        if ctrl:
            self.key("Control_L", False)
        time.sleep(0.05)


def wait_for(what, check, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if check():
            return True
        time.sleep(0.05)
    raise RuntimeError("timed out waiting for " + what)


def start_xvfb(font_path):
    """Xvfb on a display it picks itself; (process, ":N")."""
    read_end, write_end = os.pipe()
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
         "-screen", "0", "1024x600x24", "-fp", font_path],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n"):
            byte = pipe.read(1)
            if not byte:
                break
            number += byte
    if not number.strip():
        raise RuntimeError("Xvfb did not start (is the xvfb package installed?)")
    return proc, ":" + number.decode().strip()


def stop(proc):
    if proc is None or proc.poll() is not None:
        return
    os.kill(proc.pid, signal.SIGTERM)
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        os.kill(proc.pid, signal.SIGKILL)
        proc.wait()


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    dist = os.path.abspath(sys.argv[1])
    shot = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "kvr-demo.png")
    work = tempfile.mkdtemp(prefix="kvr-demo.")
    procs = []
    try:
        fonts = ",".join([os.path.join(dist, "fonts"), "/usr/share/fonts/X11/misc", "built-ins"])
        xvfb, display = start_xvfb(fonts)
        procs.append(xvfb)
        env = dict(os.environ, DISPLAY=display)
        print("demo: Xvfb on display %s" % display)

        # kvr from a copy of the distribution directory: the demo's profile
        # and lexicon stay out of the real one.
        copy = os.path.join(work, "dist")
        shutil.copytree(dist, copy, symlinks=True)
        name = "KvrDemo%d" % os.getpid()
        kvr_log = open(os.path.join(work, "kvr.log"), "wb")
        kvr = subprocess.Popen([os.path.join(copy, "kvr")], env=dict(env, XMODIFIERS="@im=" + name),
                               stdin=subprocess.DEVNULL, stdout=kvr_log, stderr=subprocess.STDOUT)
        procs.append(kvr)
        x = X(display)
        wait_for("kvr to serve", lambda: kvr.poll() is None and x.serving(name) or kvr.poll() is not None, 120)
        if kvr.poll() is not None:
            raise RuntimeError("kvr ended with status %d" % kvr.returncode)
        print("demo: kvr (pid %d) serves as @im=%s" % (kvr.pid, name))

        window_file = os.path.join(work, "windowid")
        out_file = os.path.join(work, "received")
        locale = "zh_CN.UTF-8"
        xterm = subprocess.Popen(
            # A TrueType face with Chinese glyphs, so that the screenshot
            # shows the text the xterm received.
            ["xterm", "-geometry", "60x6+10+10", "-fa", "WenQuanYi Micro Hei Mono", "-fs", "12",
             "-e", "sh", "-c",
             'echo "$WINDOWID" > "$0.tmp" && mv "$0.tmp" "$0" && exec cat > "$1"', window_file, out_file],
            env=dict(env, XMODIFIERS="@im=" + name, LC_ALL=locale, LANG=locale),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        procs.append(xterm)
        wait_for("xterm", lambda: os.path.exists(window_file), 30)
        with open(window_file) as f:
            window = int(f.read().strip())
        print("demo: xterm (pid %d) runs cat in %s" % (xterm.pid, locale))
        time.sleep(0.3)
        x.focus(window)

        # Ctrl+Space is held until kvr has taken the client over.
        x.tap("space", ctrl=True, hold=0.3)
        typed = "Ctrl+Space"
        for i, word in enumerate(SENTENCE):
            for letter in word:
                x.tap(letter)
            time.sleep(0.3)
            if i == len(SENTENCE) - 1:
                subprocess.run(["import", "-display", display, "-window", "root", shot],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
            x.tap("space")
            typed += " " + word + " Space"
        x.tap("Return")
        typed += " Return"
        print("demo: typed %s" % typed)
        wait_for("the line", lambda: os.path.exists(out_file) and open(out_file, "rb").read().endswith(b"\n"), 10)
        with open(out_file, "rb") as f:
            received = f.read()
        print("demo: the xterm received %s = %s" % (received[:-1].hex(" "),
                                                    received[:-1].decode("utf-8", "replace")))
        if os.path.exists(shot):
            print("demo: screenshot of the panes: %s" % shot)
        else:
            print("demo: no screenshot (is ImageMagick's import installed?)")
        x.close()
        return 0
    except Exception as e:  # the demo reports and cleans up on any failure
        print("demo: %s" % e, file=sys.stderr)
        log = os.path.join(work, "kvr.log")
        if os.path.exists(log):
            sys.stderr.write(open(log, errors="replace").read())
        return 1
    finally:
        for proc in reversed(procs):
            stop(proc)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
