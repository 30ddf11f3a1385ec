# SPDX-License-Identifier: MIT
"""Types a screen-reader user's road through the window with xdotool and
checks what Orca speaks at each step, read from Orca's debug file.

Run by orca_test.sh: orca_road.py ORCA_DEBUG_FILE. Prints the transcript of
the road; exits 1 if a step was not heard as it should be.
"""
import re
import subprocess
import sys
import time

LOG = sys.argv[1]
# "SPEECH OUTPUT: 'text'{voice}" or "SPEECH OUTPUT: 'text' {voice}".
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)' ?(\{.*)?$")

# Each step: the keys typed, then patterns that must each be heard in what
# Orca says before the next step. Patterns are regular expressions over one
# utterance. A step may also name a pattern that must be heard exactly once.
# The road types 79 deg 51 min W on the fresh window (2002-01-01 00:00 UTC),
# whose local sidereal time is 1:22:30.
ROAD = [
    # (title, keys, must hear, heard exactly once)
    ("the window opens on the degrees box", [], [r"Longitude degrees"], None),
    ("79 in degrees, to the minutes box", ["7", "9", "Tab"], [r"Longitude minutes"], None),
    ("51 in minutes, to the seconds box", ["5", "1", "Tab"], [r"Longitude seconds"], None),
    ("to east or west", ["Tab"], [r"East or west"], None),
    ("W chosen", ["Down"], [r"^W"], None),
    ("to the year, its value whole", ["Tab"], [r"Year, UTC", r"^2002( selected)?\.?$"], None),
    ("to the month", ["Tab"], [r"Month, UTC"], None),
    ("to the day", ["Tab"], [r"Day, UTC"], None),
    ("to the hour, its value", ["Tab"], [r"Hour, UTC", r"(^|\s)00\.?$"], None),
    ("to the minute of the time", ["Tab"], [r"Minute, UTC"], None),
    ("to the second of the time", ["Tab"], [r"Second, UTC"], None),
    ("to PRESS", ["Tab"], [r"PRESS"], None),
    ("PRESS: the new result is spoken", ["space"], [r"1:22:30"], r"1:22:30"),
    ("to the result box, its value whole", ["Tab"], [r"Local Vantoril Time", r"^1:22:30( selected)?\.?$"], None),
    ("to the degrees box again", ["Tab"], [r"Longitude degrees"], None),
    ("a letter: the message box", ["x"], [r"VantorilTime", r"Type only Numbers", r"OK"], None),
    ("the box closed, back in the degrees box", ["Return"], [r"Longitude degrees"], None),
]

transcript = []
position = 0


def new_utterances():
    """Utterances written to the log since the last call."""
    global position
    try:
        with open(LOG, encoding="utf-8", errors="replace") as log:
            log.seek(position)
            text = log.read()
    except FileNotFoundError:
        return []
    # Only whole lines; the rest is read next time.
    end = text.rfind("\n") + 1
    position += len(text[:end].encode("utf-8", errors="replace"))
    said = []
    for line in text[:end].splitlines():
        match = SPOKEN.search(line)
        if match:
            said.append(match.group(1).strip())
    return said


def listen(patterns, seconds=20, quiet=0.6):
    """What Orca says until every pattern was heard and it then stayed quiet
    for a while, or the time ran out."""
    heard = []
    deadline = time.monotonic() + seconds
    last = time.monotonic()
    while time.monotonic() < deadline:
        said = new_utterances()
        if said:
            heard += said
            last = time.monotonic()
        done = all(any(re.search(p, u) for u in heard) for p in patterns)
        if done and time.monotonic() - last >= quiet:
            break
        time.sleep(0.05)
    return heard


def main():
    failures = []
    # The window is up once Orca has spoken its first box.
    for title, keys, patterns, once in ROAD:
        for key in keys:
            subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
            time.sleep(0.15)
        heard = listen(patterns)
        transcript.append((title, keys, heard))
        for pattern in patterns:
            if not any(re.search(pattern, u) for u in heard):
                failures.append(f"{title}: did not hear /{pattern}/ in {heard}")
        if once is not None:
            count = sum(1 for u in heard if re.search(once, u))
            if count != 1:
                failures.append(f"{title}: heard /{once}/ {count} times in {heard}")

    print("Orca's transcript:")
    for title, keys, heard in transcript:
        typed = " ".join(keys) if keys else "(start)"
        print(f"  [{typed}] {title}")
        for utterance in heard:
            print(f"      {utterance!r}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


sys.exit(main())
