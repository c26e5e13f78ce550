#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""make bench: the figures a technician feels, each against a limit taken in the same run or
with its spread over several runs. Prints one table and writes the same rows to BUILD/bench.json.

    bench/run.py BUILD [SECTION...]

SECTION is one of startup, ingest, paced (the flash and who-active figures), idle, transfers,
reading; all of them by default. BUILD holds the programs (make bench builds them). With no
DISPLAY an Xvfb of its own is started for the windows. Python's standard library only."""

import itertools
import json
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
QNCF = os.path.join(BUILD, "src", "qncf")
CLI = os.path.join(BUILD, "src", "qncf-cli")
QNSIM = os.path.join(BUILD, "src", "sim", "qnsim")
TOOLS = os.path.join(BUILD, "bench")
START_TITLE = "FreeStanding"  # in the start window's title
BAUD = 9600
# One model of each file layout, from no parameter lines to the Modbus block table.
LAYOUTS = ["QN4000-NGD", "QN4000-WOLTA", "QN4000-QOF", "QN4000-UCT", "QN4000-LBW"]
RUNS = 5
TICK_HZ = os.sysconf("SC_CLK_TCK")

rows = []
work = tempfile.mkdtemp(prefix="qncf-bench-")


def tool(name):
    return os.path.join(TOOLS, name)


def spread(values):
    return min(values), statistics.median(values), max(values)


def row(figure, name, unit, values, limit=None, limit_unit="", aim=None, met=None):
    """One figure: its values over the runs, and the limit and aim it is read against."""
    lo, mid, hi = spread(values)
    rows.append({"figure": figure, "name": name, "unit": unit, "runs": len(values),
                 "min": lo, "median": mid, "max": hi, "values": values,
                 "limit": limit, "limit_unit": limit_unit, "aim": aim, "met": met})


def monotonic_us():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC) // 1000


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    raise RuntimeError(f"no VmRSS for {pid}")


def environment():
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "xcb"
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env["XDG_RUNTIME_DIR"] = runtime
    return env


ENV = None
children = []
units = itertools.count()  # one EEPROM file each, whichever thread starts the simulator


def spawn(args, env=None, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE):
    """A program of the bench's; what it says on standard error is kept for the failure report."""
    log = open(os.path.join(work, f"{os.path.basename(args[0])}-{next(units)}.log"), "w+")
    p = subprocess.Popen(args, env=env or ENV, stdin=stdin, stdout=stdout, stderr=log, text=True)
    p.log = log
    children.append(p)
    return p


def said(p):
    """The end of what a program wrote on standard error."""
    p.log.seek(0)
    return p.log.read()[-800:]


def stop(p):
    if p.poll() is None:
        if p.stdin:
            p.stdin.close()
        try:
            p.wait(timeout=3)
        except subprocess.TimeoutExpired:
            p.terminate()
            try:
                p.wait(timeout=3)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()


def start_display():
    """An Xvfb of our own unless there is a display already."""
    if os.environ.get("DISPLAY"):
        return None
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=[write], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise RuntimeError("Xvfb did not start")
        number += chunk
    os.close(read)
    os.environ["DISPLAY"] = ":" + number.decode().strip()
    return xvfb


class Simulator:
    """qnsim on a pty of its own; device is the path the PC opens."""

    def __init__(self, model, *extra):
        self.eeprom = os.path.join(work, f"eeprom-{next(units)}.bin")
        self.process = spawn([QNSIM, "--model", model, "--eeprom", self.eeprom, *extra])
        self.device = self.process.stdout.readline().strip()
        if not self.device:
            raise RuntimeError(f"qnsim {model} did not start: {said(self.process)}")

    def close(self):
        self.process.terminate()
        self.process.wait()


class Wire:
    """qncf-bench-wire in front of a simulator: the PC's bytes take their line time too."""

    def __init__(self, sim_device):
        self.process = spawn([tool("qncf-bench-wire"), sim_device], stdin=subprocess.PIPE)
        self.device = self.process.stdout.readline().strip()

    def mute(self):
        """From now on nothing reaches the converter: every node is silent."""
        self.process.stdin.write("m")
        self.process.stdin.flush()

    def traffic(self):
        """Ends the wire; its runs of one direction as (from_pc, first_us, last_us, bytes)."""
        self.process.stdin.close()
        runs, self.baud = [], BAUD
        for line in self.process.stdout:
            word, *numbers = line.split()
            if word == "baud":
                self.baud = int(numbers[0])
            else:
                first, last, count = map(int, numbers)
                runs.append((word == "pc", first, last, count))
        self.process.wait()
        return runs


def exchange_window(runs, since, until):
    """From the PC's first byte to the last byte it received, and the bytes that crossed the
    line meanwhile (the PC's last acknowledge, sent after it, is no part of it)."""
    mine = [r for r in runs if since <= r[1] <= until]
    first = min(r[1] for r in mine if r[0])
    last = max(r[2] for r in mine if not r[0])
    count = sum(r[3] for r in mine if not r[0] or r[1] < last)
    return (last - first) / 1000, count


def cli(*args, timeout=60):
    started = monotonic_us()
    result = subprocess.run([CLI, *args], env=ENV, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                            timeout=timeout)
    if result.returncode != 0:
        raise RuntimeError(f"qncf-cli {' '.join(args)}: {result.stdout}{result.stderr}")
    return started, monotonic_us()


# ---- 1 start-up ------------------------------------------------------------------------------

def startup():
    times = []
    for _ in range(10):
        p = spawn([tool("qncf-bench-mapwait"), START_TITLE, "20000", QNCF], stdin=subprocess.PIPE)
        answer = p.stdout.readline().split()
        if len(answer) != 2:
            raise RuntimeError(f"qncf did not map its start window: {said(p)}")
        pid, us = answer
        times.append(int(us) / 1000)
        stop(p)
    row(1, "start-up: exec to start window mapped", "ms", times)


# ---- 1 memory and 2 idle ---------------------------------------------------------------------

class Screen:
    """A program left at one screen, for its memory and its idle CPU time."""

    def __init__(self, label, pid, keeper):
        self.label, self.pid, self.keeper = label, pid, keeper


def start_window():
    p = spawn([tool("qncf-bench-mapwait"), START_TITLE, "20000", QNCF], stdin=subprocess.PIPE)
    answer = p.stdout.readline().split()
    if len(answer) != 2:
        raise RuntimeError(f"qncf did not map its start window: {said(p)}")
    return Screen("start window", int(answer[0]), p)


def gui_screen(label, state, device, model="QN4000-NGD"):
    env = dict(ENV, QNCF_COM1=device)
    p = spawn([tool("qncf-bench-gui"), state, model], env=env, stdin=subprocess.PIPE)
    return Screen(label, p.pid, p)


def idle(seconds=10, meanwhile=None):
    """Five programs at each screen at once, every one on a port of its own, so that the ten
    seconds are spent once rather than twenty times. meanwhile() is called as they begin."""
    screens, lines = [], []
    for _ in range(RUNS):
        screens.append(start_window())
        for label, state in (("main form", "main"), ("terminal on a quiet port", "monitor"),
                             ("who-active scan of silent nodes", "whoactive")):
            sim = Simulator("QN4000-NGD")
            wire = Wire(sim.device)
            screen = gui_screen(label, state, wire.device)
            screen.wire = wire
            screens.append(screen)
            lines.append((sim, wire))
    for s in screens:
        if s.label != "start window" and s.keeper.stdout.readline().strip() != "ready":
            raise RuntimeError(f"qncf-bench-gui did not reach the {s.label}: {said(s.keeper)}")
        if s.label.startswith("who-active"):
            s.wire.mute()
            s.muted_at = monotonic_us()
    time.sleep(2)  # first paints, port tests and the terminal's menu done, also on a busy machine
    labels = ("start window", "main form", "terminal on a quiet port", "who-active scan of silent nodes")
    for label in labels[:2]:
        row(1, f"resident memory at the {label}" + (" (COM1 chosen)" if label == "main form" else ""),
            "MB", [rss_mb(s.pid) for s in screens if s.label == label])
    before = {s.pid: cpu_ticks(s.pid) for s in screens}
    if meanwhile:
        meanwhile()
    time.sleep(seconds)
    after = {s.pid: cpu_ticks(s.pid) for s in screens}
    for label in labels:
        ticks = [after[s.pid] - before[s.pid] for s in screens if s.label == label]
        # Nothing is due at the first two; the terminal's clock and the scan have work to do.
        quiet = label in labels[:2]
        row(2, f"idle CPU in {seconds} s at the {label}", "ticks", ticks, aim="0" if quiet else None,
            met=max(ticks) == 0 if quiet else None)
    for s in screens:
        stop(s.keeper)
        if s.label.startswith("who-active"):
            # The scan went on meanwhile, a request every 550 ms into the silence.
            asked = sum(1 for r in s.wire.traffic() if r[0] and r[1] > s.muted_at)
            if asked < seconds:
                raise RuntimeError(f"the who-active scan asked only {asked} nodes in {seconds} s")
    for sim, wire in lines:
        if wire.process.poll() is None:
            wire.traffic()
        sim.close()


# ---- 3 transfers against the wire time -------------------------------------------------------

def transfers():
    for model in LAYOUTS:
        sim = Simulator(model, "--pace")
        wire = Wire(sim.device)
        path = os.path.join(work, model + ".QNC")
        spans = {"upload": [], "download": []}
        for _ in range(RUNS):
            spans["upload"].append(cli("upload", "--model", model, "--port", wire.device, "--yes", "--force", path))
            spans["download"].append(cli("download", "--model", model, "--port", wire.device, "--yes", path))
        runs = wire.traffic()
        sim.close()
        for kind in ("download", "upload"):
            excess, limit = [], None
            for since, until in spans[kind]:
                wall, count = exchange_window(runs, since, until)
                limit = count * 10 * 1000 / wire.baud
                excess.append(wall - limit)
            row(3, f"{kind} {model}: over the wire time ({count} bytes)", "ms", excess, limit=round(limit, 1),
                limit_unit="ms wire", aim="<= 10", met=statistics.median(excess) <= 10)


# ---- 4 reading files -------------------------------------------------------------------------

def reading():
    out = subprocess.run([tool("qncf-bench-files")], env=ENV, capture_output=True, text=True, check=True)
    cases = {}
    for line in out.stdout.splitlines():
        c = json.loads(line)
        cases[c["case"]] = c
        taken = "read" if c["ok"] else "refused"
        row(4, f"open {c['case']} ({c['bytes']} bytes, {taken})", "us", c["us"])
    # Linear: the time a byte takes stays the same as the file grows.
    for series in ("configurations", "blank lines"):
        one = cases[f"{series} x1"]
        per_byte = statistics.median(one["us"]) / one["bytes"]
        for n in (10, 100):
            c = cases[f"{series} x{n}"]
            ratios = [us / c["bytes"] / per_byte for us in c["us"]]
            row(4, f"{series} x{n}: time a byte vs x1", "ratio", ratios, limit=1, limit_unit="linear", aim="<= 1.5",
                met=statistics.median(ratios) <= 1.5)


# ---- 6 printing ------------------------------------------------------------------------------

def printing():
    times, extra = [], []
    for i in range(RUNS):
        pdf = os.path.join(work, f"summary-{i}.pdf")
        out = subprocess.run([tool("qncf-bench-gui"), "print", pdf, "QN4000-LBW"], env=ENV, capture_output=True,
                             text=True, check=True, timeout=60)
        r = json.loads(out.stdout.strip().splitlines()[-1])
        times.append(r["ms"])
        extra.append(r["extra_mb"])
    row(6, "PRINT Summary through the print engine", "ms", times, aim="<= 500", met=statistics.median(times) <= 500)
    row(6, "  resident memory it adds at its peak", "MB", extra, aim="<= 60", met=statistics.median(extra) <= 60)


# ---- 5 the online tools ----------------------------------------------------------------------

FLOOD_BYTES = 4 * 1024 * 1024
FLASH_BYTES = 64 * 1024
FLASH_BLOCK = 512
STATUS_REPLY_TAKEN = 13  # the PC takes a status reply at its 13th byte
NODE_PAUSE_MS, NODE_WAIT_MS = 50, 500
NODES = 64
ACTIVE_NODES = "3,17,40,55,77"  # octal; besides the PC's own node 1


def ingest():
    rates, ratios, stalls, busy = [], [], [], []
    for _ in range(RUNS):
        out = subprocess.run([tool("qncf-bench-gui"), "ingest", str(FLOOD_BYTES)], env=ENV, capture_output=True,
                             text=True, check=True, timeout=120)
        r = json.loads(out.stdout.strip().splitlines()[-1])
        rates.append(r["terminal_bps"] / 1e6)
        ratios.append(r["terminal_bps"] / r["pty_bps"])
        stalls.append(r["stall_ms"])
        busy.append(r["busy_stall_ms"])
    row(5, "terminal ingest of a 4 MB flood", "MB/s", rates, aim=">= 1", met=statistics.median(rates) >= 1)
    row(5, "terminal ingest vs the pty read alone", "ratio", ratios, limit=1, limit_unit="pty")
    row(5, "longest event-loop stall during the flood", "ms", stalls, aim="<= 50", met=max(stalls) <= 50)
    # The same in the loop's own CPU time: what of it the program did rather than the machine.
    row(5, "  the same, the loop's own CPU time", "ms", busy, aim="<= 50", met=max(busy) <= 50)


def flash_file(path):
    """Text lines as a system file holds them, FLASH_BYTES in all."""
    data, n = b"", 0
    while len(data) < FLASH_BYTES:
        data += b"S113%04X00112233445566778899AABBCCDDEEFF%02X\r\n" % (n * 16 % 65536, n % 256)
        n += 1
    with open(path, "wb") as f:
        f.write(data[:FLASH_BYTES])


def flash():
    """The terminal's flash transfer, five at once (each takes a minute of line time)."""
    path = os.path.join(work, "SYSTEM.TXT")
    flash_file(path)
    runs = []
    for _ in range(RUNS):
        sim = Simulator("QN4000-NGD", "--pace")
        wire = Wire(sim.device)
        # Off the display: windows coming and going over the idle ones would make them repaint.
        host = spawn([tool("qncf-bench-gui"), "flash", path],
                     env=dict(ENV, QNCF_COM1=wire.device, QT_QPA_PLATFORM="offscreen"))
        runs.append((sim, wire, host))
    ratios = []
    for sim, wire, host in runs:
        reported = [host.stdout.readline().strip() for _ in range(2)]
        host.wait()
        traffic = wire.traffic()
        sim.close()
        if reported != ["sent", "done"]:
            raise RuntimeError(f"the flash transfer ended with {reported}: {said(host)}")
        # The file: the PC's runs from its first block on (the keys typed before it go a byte
        # at a time), from its first byte written to its last delivered; a gap on the line
        # between them counts against it.
        sent = [r for r in traffic if r[0]]
        start = next(i for i, r in enumerate(sent) if r[3] >= FLASH_BLOCK)
        count = sum(r[3] for r in sent[start:])
        ratios.append((sent[-1][2] - sent[start][1]) / 1000 / (count * 10 * 1000 / wire.baud))
    row(5, f"flash of {FLASH_BYTES // 1024} KB vs the wire time ({count} bytes)", "ratio", ratios,
        limit=round(count * 10 / wire.baud, 1), limit_unit="s wire", aim="<= 1.02", met=statistics.median(ratios) <= 1.02)


def who_active_pass(sim, wire, result):
    """One qncf-cli who-active, its CPU time read while it makes its pass."""
    p = spawn([CLI, "who-active", "--port", wire.device])
    start = end = None
    for line in p.stdout:
        if line.startswith("Connected at"):
            start, ticks = monotonic_us(), cpu_ticks(p.pid)
        elif line.startswith("77"):
            end, ticks = monotonic_us(), cpu_ticks(p.pid) - ticks
    p.wait()
    traffic = wire.traffic()
    sim.close()
    if p.returncode != 0 or start is None or end is None:
        raise RuntimeError(f"qncf-cli who-active did not make its pass: {said(p)}")
    # The pass on the wire: the last 64 requests and their replies, from the first byte of
    # node 00's request to the end of node 77's exchange. Its floor: each node's request and
    # its reply as far as the PC takes it (the last node's whole), or the whole wait where none
    # came, and the pause between two nodes.
    requests = [i for i, r in enumerate(traffic) if r[0]][-NODES:]
    char_ms = 10 * 1000 / wire.baud
    floor_ms = (NODES - 1) * NODE_PAUSE_MS
    for n, i in enumerate(requests):
        answer = traffic[i + 1] if i + 1 < len(traffic) and not traffic[i + 1][0] else None
        if answer:
            taken = answer[3] if n == NODES - 1 else min(answer[3], STATUS_REPLY_TAKEN)
            floor_ms += (traffic[i][3] + taken) * char_ms
        else:
            floor_ms += NODE_WAIT_MS
    last = traffic[-1]
    wall_ms = ((last[2] if not last[0] else last[2] + NODE_WAIT_MS * 1000) - traffic[requests[0]][1]) / 1000
    cpu_share = ticks / TICK_HZ * 1e6 / (end - start) * 100
    result.append((wall_ms / floor_ms, cpu_share, floor_ms))


def who_active():
    lines = []
    for _ in range(RUNS):
        sim = Simulator("QN4000-NGD", "--pace", "--nodes", ACTIVE_NODES)
        lines.append((sim, Wire(sim.device)))
    result = []
    side_by_side(*[(who_active_pass, sim, wire, result) for sim, wire in lines])
    floor_ms = result[0][2]
    row(5, f"who-active pass of {NODES} nodes, 5 active, vs its floor", "ratio", [r[0] for r in result],
        limit=round(floor_ms / 1000, 2), limit_unit="s floor", aim="<= 1.05", met=statistics.median(r[0] for r in result) <= 1.05)
    cpu = [r[1] for r in result]
    row(5, "who-active CPU time, share of the pass", "%", cpu, aim="< 2", met=max(cpu) < 2)


def in_background(f, *args, failures):
    """f(*args) in a thread of its own; what it raises goes to failures."""
    def guarded():
        try:
            f(*args)
        except Exception as e:  # raised again by whoever waits for the thread
            failures.append(e)

    t = threading.Thread(target=guarded)
    t.start()
    return t


def side_by_side(*calls):
    """Each call, a function and its arguments, in a thread of its own; the first failure is
    raised once all have ended."""
    failures = []
    for t in [in_background(*call, failures=failures) for call in calls]:
        t.join()
    if failures:
        raise failures[0]


# ---- the table -------------------------------------------------------------------------------

def number(v, unit=""):
    if v is None:
        return ""
    if isinstance(v, str):
        return v
    if unit == "ratio":
        return f"{v:.4f}"
    if unit == "ticks":
        return f"{v:g}"
    return f"{v:.2f}" if abs(v) < 10 else f"{v:.1f}" if abs(v) < 1000 else f"{v:.0f}"


def report(seconds):
    rows.sort(key=lambda r: r["figure"])  # the paced figures come in when they end
    head = ("#", "figure", "unit", "min", "median", "max", "limit", "aim", "")
    table = [head] + [(str(r["figure"]), r["name"], r["unit"], number(r["min"], r["unit"]),
                       number(r["median"], r["unit"]), number(r["max"], r["unit"]),
                       f"{number(r['limit'])} {r['limit_unit']}".strip(),
                       r["aim"] or "",
                       "" if r["met"] is None else ("ok" if r["met"] else "MISSED")) for r in rows]
    widths = [max(len(t[i]) for t in table) for i in range(len(head))]
    for t in table:
        print("  ".join(c.ljust(w) if i < 3 else c.rjust(w) for i, (c, w) in enumerate(zip(t, widths))).rstrip())
    print(f"{len(rows)} figures in {seconds:.0f} s; medians over the runs, limits from this run")
    result = {"machine": {"host": platform.node(), "cores": os.cpu_count(), "system": platform.platform()},
              "seconds": round(seconds, 1), "figures": rows}
    with open(os.path.join(BUILD, "bench.json"), "w") as f:
        json.dump(result, f, indent=1)


def main():
    global ENV
    began = time.monotonic()
    xvfb = start_display()
    ENV = environment()
    sections = {"startup": startup, "ingest": ingest, "idle": idle, "transfers": transfers,
                "reading": reading, "printing": printing}
    background, failures = [], []

    def start_paced(*figures):
        background.append(in_background(side_by_side, *[(f,) for f in figures or (flash, who_active)],
                                        failures=failures))

    try:
        if len(sys.argv) > 2:
            for name in sys.argv[2:]:
                if name == "paced":
                    start_paced()
                else:
                    sections[name]()
        else:
            # The flash takes over a minute of line time and next to no CPU: it goes on while
            # everything else is measured. The who-active passes, seconds each, start as the
            # idle programs begin their ten seconds, after the figures that want the CPU.
            start_paced(flash)
            time.sleep(1)  # the flash programs started
            startup()
            ingest()
            idle(meanwhile=lambda: start_paced(who_active))
            transfers()
            reading()
            printing()
        for t in background:
            t.join()
        if failures:
            raise failures[0]
    finally:
        for p in children:
            if p.poll() is None:
                p.kill()
                p.wait()
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)
    report(time.monotonic() - began)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    main()
