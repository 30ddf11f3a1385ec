#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The golden corpus of vantoril-lst: a few thousand invocations (cases.py)
and, for each, the exit status, standard output and standard error the
program gave when they were recorded (expected.txt). Running it compares the
program of today with that record byte for byte, so that a change of the
source that was meant to change nothing changes nothing.

    golden_test.py LST_BINARY [--record] [--only ID-PREFIX]

Each case runs in an environment of its own making: nothing of the caller's
environment reaches the program (PATH, LC_ALL=C, TZ=UTC, HOME, XDG_CONFIG_HOME
and XDG_DATA_HOME in a temporary folder holding data/places, the leap seconds
of tests/cli/data/leap-seconds.list, VANTORIL_LST_EOP=none), unless a case
sets one of them. The repository's root and the temporary folder are shown as
<repo> and <tmp> in the record, and --version's ERFA version and its list of
the system's IERS tables are left out: they differ between Debian 12 and 13.

When a change of the output is intended, re-record with --record, read the
difference of expected.txt, and commit it in a commit of its own that says
why the output changed."""
import concurrent.futures
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import cases as corpus  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
EXPECTED = os.path.join(HERE, "expected.txt")
LONG = 2000  # bytes; a longer output is kept as its size, first lines and hash
HEAD_LINES = 3
TIMEOUT = 60


def environment(case, tmp):
    env = {
        "PATH": "/usr/bin:/bin",
        "LC_ALL": "C",
        "TZ": "UTC",
        "HOME": os.path.join(tmp, "home"),
        "XDG_CONFIG_HOME": os.path.join(tmp, "config"),
        "XDG_DATA_HOME": os.path.join(tmp, "share"),
        "VANTORIL_LEAP_SECONDS": os.path.join(REPO, "tests", "cli", "data", "leap-seconds.list"),
        "VANTORIL_LST_EOP": "none",
    }
    # Under the sanitizers their settings (and leak suppressions) go on.
    env.update({k: v for k, v in os.environ.items() if k in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS")})
    for name, value in case.get("env", {}).items():
        if value is None:
            env.pop(name, None)
        else:
            env[name] = corpus.expand(value, tmp)
    return env


def prepare(tmp):
    """The temporary folder: a home, the places file, an empty data folder,
    and folders where a places file and an IERS table are looked for (files
    that cannot be read, whoever runs the test)."""
    os.makedirs(os.path.join(tmp, "home"))
    os.makedirs(os.path.join(tmp, "share"))
    os.makedirs(os.path.join(tmp, "config", "vantoril-lst"))
    shutil.copyfile(os.path.join(corpus.DATA, "places"), os.path.join(tmp, "config", "vantoril-lst", "places"))
    os.makedirs(os.path.join(tmp, "config-unreadable", "vantoril-lst", "places"))
    os.makedirs(os.path.join(tmp, "share-unreadable", "vantoril-lst", "finals2000A.all"))
    # A table whose name holds a double quote, for the quoting of CSV and JSON.
    shutil.copyfile(os.path.join(corpus.CLI_DATA, "finals2000A.excerpt"), os.path.join(tmp, 'quote"d.all'))


def normalise(case, data, tmp):
    # The repository's root only where a path goes on, so a short root does
    # not catch other text.
    data = data.replace(tmp.encode(), b"<tmp>").replace(REPO.encode() + b"/", b"<repo>/")
    if "--version" in case["args"]:
        data = re.sub(rb"\(ERFA [0-9.]+\)", b"(ERFA <version>)", data)
        data = b"".join(line for line in data.splitlines(keepends=True)
                        if not line.startswith(b"IERS table on this system"))
    return data


def escape(line):
    """A line of bytes as readable text that tells every byte apart, with no
    blank at its end (editors and patches drop those)."""
    out = []
    for ch in line.decode("utf-8", "surrogateescape"):
        code = ord(ch)
        if ch == "\\":
            out.append("\\\\")
        elif ch == "\r":
            out.append("\\r")
        elif ch == "\t":
            out.append("\\t")
        elif code < 0x20 or code == 0x7F:
            out.append("\\x%02x" % code)
        elif code == 0xFEFF:  # a byte-order mark, invisible otherwise
            out.append("\\ufeff")
        elif 0xDC80 <= code <= 0xDCFF:  # a byte that is not UTF-8
            out.append("\\x%02x" % (code - 0xDC00))
        else:
            out.append(ch)
    if out and out[-1] == " ":
        out[-1] = "\\x20"
    return "".join(out)


def render_stream(name, data):
    """A stream as lines of the record: each line prefixed by its stream."""
    if not data:
        return []
    lines = data.split(b"\n")
    ended = lines[-1] == b""
    if ended:
        lines.pop()
    rendered = []
    if len(data) > LONG:
        rendered.append("%s# %d lines, %d bytes, sha256 %s" % (name, len(lines), len(data),
                                                             hashlib.sha256(data).hexdigest()))
        lines = lines[:HEAD_LINES]
    rendered += [("%s| %s" % (name, escape(line))).rstrip(" ") for line in lines]
    if not ended and len(data) <= LONG:
        rendered.append("%s\\ no newline at the end" % name)
    return rendered


def render(status, stdout, stderr):
    return ["exit %d" % status] + render_stream("out", stdout) + render_stream("err", stderr)


def run(binary, case, tmp):
    stdin = case.get("stdin", b"")
    if isinstance(stdin, str):
        stdin = stdin.encode()
    args = [corpus.expand(a, tmp) for a in case["args"]]
    streams = {"stdout": subprocess.PIPE, "stderr": subprocess.PIPE}
    # A file in place of standard input or output: one that cannot be read
    # (a folder), one that cannot be written (/dev/full).
    opened = []
    if "stdin_file" in case:
        opened.append(os.open(corpus.expand(case["stdin_file"], tmp), os.O_RDONLY))
        streams["stdin"] = opened[-1]
        stdin = None
    if "stdout_file" in case:
        opened.append(os.open(case["stdout_file"], os.O_WRONLY))
        streams["stdout"] = opened[-1]
    try:
        done = subprocess.run([binary] + args, input=stdin, env=environment(case, tmp), cwd=tmp,
                              timeout=TIMEOUT, **streams)
        status, out, err = done.returncode, done.stdout or b"", done.stderr
    except subprocess.TimeoutExpired as e:
        status, out, err = -999, e.stdout or b"", (e.stderr or b"") + b"\n(golden_test: timed out)"
    finally:
        for fd in opened:
            os.close(fd)
    return render(status, normalise(case, out, tmp), normalise(case, err, tmp))


def read_expected():
    expected = {}
    current = None
    with open(EXPECTED, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            if line.startswith("== "):
                current, _, status = line[3:].partition(" ")
                expected[current] = [status]
            elif line and current is not None:
                expected[current].append(line)
    return expected


def write_expected(results):
    with open(EXPECTED, "w", encoding="utf-8", newline="\n") as f:
        f.write("# vantoril-lst golden corpus: written by golden_test.py --record; cases in cases.py.\n")
        f.write("# Per case: its id and exit status, then out| and err| lines (out# err#: size, hash\n")
        f.write("# and the first %d lines of an output over %d bytes).\n" % (HEAD_LINES, LONG))
        for case_id, lines in results:
            f.write("\n== %s %s\n" % (case_id, lines[0]))
            f.write("".join(line + "\n" for line in lines[1:]))


def first_difference(want, got):
    for i, (a, b) in enumerate(zip(want, got)):
        if a != b:
            return i, a, b
    i = min(len(want), len(got))
    return i, (want[i] if i < len(want) else "(nothing)"), (got[i] if i < len(got) else "(nothing)")


def main(argv):
    args = argv[1:]
    record = "--record" in args
    only = None
    if "--only" in args:
        at = args.index("--only")
        if at + 1 >= len(args):
            sys.exit("--only needs an id prefix")
        only = args[at + 1]
        del args[at:at + 2]
    args = [a for a in args if a != "--record"]
    if len(args) != 1:
        sys.exit(__doc__.split("\n\n")[1])
    binary = os.path.abspath(args[0])
    all_cases = corpus.cases()
    ids = [c["id"] for c in all_cases]
    if len(ids) != len(set(ids)):
        sys.exit("cases.py: the same id twice")
    chosen = [c for c in all_cases if only is None or c["id"].startswith(only)]
    if not chosen:
        sys.exit("no case id starts with %r" % only)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="vantoril-golden-") as tmp:
        tmp = os.path.realpath(tmp)
        prepare(tmp)
        with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
            results = list(pool.map(lambda c: (c["id"], run(binary, c, tmp)), chosen))
    took = time.monotonic() - started
    if record:
        if only is not None:
            kept = dict(read_expected())
            kept.update(results)
            results = [(c["id"], kept[c["id"]]) for c in all_cases if c["id"] in kept]
        write_expected(results)
        print("recorded %d cases in %s (%.1f s)" % (len(results), os.path.relpath(EXPECTED), took))
        return 0
    expected = read_expected()
    by_id = {c["id"]: c for c in chosen}
    failed = 0
    for case_id, got in results:
        want = expected.get(case_id)
        if want == got:
            continue
        failed += 1
        case = by_id[case_id]
        print("FAIL %s: vantoril-lst %s" % (case_id, " ".join(repr(a) if not a or " " in a else a
                                                             for a in case["args"])))
        if case.get("env"):
            print("  env: %s" % " ".join("%s=%s" % (k, "(unset)" if v is None else v)
                                         for k, v in sorted(case["env"].items())))
        if case.get("stdin") is not None:
            print("  stdin: %r" % (case["stdin"][:200],))
        if want is None:
            print("  not in expected.txt (re-record?)")
            want = []
        line, a, b = first_difference(want, got)
        print("  first difference, line %d of the record:\n    expected: %s\n    actual:   %s" % (line + 1, a, b))
        print("  expected:\n" + "".join("    %s\n" % x for x in want) + "  actual:\n" +
              "".join("    %s\n" % x for x in got), end="")
    missing = 0 if only is not None else len(set(expected) - set(by_id))
    if missing:
        print("%d ids of expected.txt have no case in cases.py (re-record?)" % missing)
    print("golden: %d cases, %d differ%s (%.1f s)" % (len(results), failed,
                                                       ", %d stale" % missing if missing else "", took))
    return 1 if failed or missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
