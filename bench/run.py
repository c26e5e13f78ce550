#!/usr/bin/env python3
"""make bench: the figures a technician feels, each against a limit taken in the same run or
with its spread over several runs. Prints one table and writes the same rows to BUILD/bench.json.

    bench/run.py BUILD [SECTION...]

SECTION is one of startup, idle, transfers, reading (all of them by default). BUILD holds the programs (make bench builds them). With no DISPLAY an Xvfb of its own is
started for the windows. Python's standard library only."""

import json
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
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


def row(figure, name, unit, values, limit=None, aim=None, met=None):
    """One figure: its values over the runs, and the limit and aim it is read against."""
    lo, mid, hi = spread(values)
    rows.append({"figure": figure, "name": name, "unit": unit, "runs": len(values),
                 "min": lo, "median": mid, "max": hi, "values": values,
                 "limit": limit, "aim": aim, "met": met})


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


def spawn(args, env=None, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE):
    p = subprocess.Popen(args, env=env or ENV, stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL,
                         text=True)
    children.append(p)
    return p


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
        self.eeprom = os.path.join(work, f"eeprom-{len(children)}.bin")
        self.process = spawn([QNSIM, "--model", model, "--eeprom", self.eeprom, *extra])
        self.device = self.process.stdout.readline().strip()
        if not self.device:
            raise RuntimeError(f"qnsim {model} did not start")

    def close(self):
        self.process.terminate()
        self.process.wait()


class Wire:
    """qncf-bench-wire in front of a simulator: the PC's bytes take their line time too."""

    def __init__(self, sim_device):
        self.process = spawn([tool("qncf-bench-wire"), sim_device], stdin=subprocess.PIPE)
        self.device = self.process.stdout.readline().strip()

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
        pid, us = p.stdout.readline().split()
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
    return Screen("start window", int(p.stdout.readline().split()[0]), p)


def gui_screen(label, state, device, model="QN4000-PXA"):
    env = dict(ENV, QNCF_COM1=device)
    p = spawn([tool("qncf-bench-gui"), state, model], env=env, stdin=subprocess.PIPE)
    if p.stdout.readline().strip() != "ready":
        raise RuntimeError(f"qncf-bench-gui {state} did not reach its screen")
    return Screen(label, p.pid, p)


def idle(seconds=10):
    sim = Simulator("QN4000-PXA")
    screens = [start_window() for _ in range(RUNS)]
    screens += [gui_screen("main form", "main", sim.device) for _ in range(RUNS)]
    time.sleep(1)  # first paints and the port test done
    for label, figure in (("start window", 1), ("main form", 1)):
        row(figure, f"resident memory at the {label}" + (" (COM1 chosen)" if label == "main form" else ""),
            "MB", [rss_mb(s.pid) for s in screens if s.label == label])
    before = {s.pid: cpu_ticks(s.pid) for s in screens}
    time.sleep(seconds)
    after = {s.pid: cpu_ticks(s.pid) for s in screens}
    for label in ("start window", "main form"):
        ticks = [after[s.pid] - before[s.pid] for s in screens if s.label == label]
        row(2, f"idle CPU in {seconds} s at the {label}", "ticks", ticks, aim="0", met=max(ticks) == 0)
    for s in screens:
        stop(s.keeper)
    sim.close()


# ---- 3 transfers against the wire time -------------------------------------------------------

def transfers():
    for model in LAYOUTS:
        sim = Simulator(model, "--pace")
        wire = Wire(sim.device)
        path = os.path.join(work, model + ".QNC")
        spans = {"upload": [], "download": []}
        for _ in range(RUNS):
            spans["upload"].append(cli("upload", "--model", model, "--port", wire.device, "--yes", path))
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
                aim="<= 10", met=statistics.median(excess) <= 10)


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
            row(4, f"{series} x{n}: time a byte vs x1", "ratio", ratios, limit=1.0, aim="<= 1.5",
                met=statistics.median(ratios) <= 1.5)


# ---- the table -------------------------------------------------------------------------------

def number(v):
    if v is None:
        return ""
    if isinstance(v, str):
        return v
    return f"{v:.3g}" if abs(v) < 100 else f"{v:.0f}"


def report(seconds):
    head = ("#", "figure", "unit", "min", "median", "max", "limit", "aim", "")
    table = [head] + [(str(r["figure"]), r["name"], r["unit"], number(r["min"]), number(r["median"]),
                       number(r["max"]), number(r["limit"]), r["aim"] or "",
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
    sections = {"startup": startup, "idle": idle, "transfers": transfers, "reading": reading}
    try:
        for name in sys.argv[2:] or sections:
            sections[name]()
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
