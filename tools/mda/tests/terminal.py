"""A command run with its standard error on a terminal, as a person at a console sees it."""

import os
import pty
import subprocess


def stderr_on_terminal(argv, env):
    """Runs argv with standard error on a pseudo-terminal: its exit code and the raw bytes it
    wrote there (progress rewrites included)."""
    master, slave = pty.openpty()
    p = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=slave)
    os.close(slave)
    chunks = []
    while True:
        try:
            data = os.read(master, 65536)
        except OSError:
            break
        if not data:
            break
        chunks.append(data)
    code = p.wait(timeout=600)
    os.close(master)
    return code, b"".join(chunks)
