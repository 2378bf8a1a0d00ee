#!/usr/bin/env python3
"""Puts single-line faults into a scratch copy of the code, one at a time, and
records which of them the test suite catches.

    scripts/fault-check.py [FAULTS] [--work DIR] [--jobs N] [--only ID,ID] [--lock FILE]

FAULTS is a text file of blocks (scripts/faults.txt when left out):

    == quota-reached-strict
    file: game/common/MoneyManager.cpp
    from: bool MoneyManager::quotaReached() const { return m_money >= m_quota; }
    to:   bool MoneyManager::quotaReached() const { return m_money > m_quota; }

`from` must match exactly one whole line of the file, leading spaces aside.
The copy is the committed tree (HEAD) plus the working tree's changes to the
test suite, built once without sanitizers; every fault is applied, built
incrementally and tested with the normal suite (the fuzz runs aside), then
taken out again. A fault that does not compile is reported as such, never as
caught. With --lock, every build and test run holds a shared flock on FILE,
so timed measurements on a shared machine can wait for a quiet moment.
Prints a table and ends non-zero when the clean tree fails a test.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def parse_faults(path):
    faults, current = [], None
    with open(path) as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if line.startswith("== "):
                current = {"id": line[3:].strip(), "line": number}
                faults.append(current)
            elif current is not None and (line[:5] in ("file:", "from:") or line[:3] == "to:"):
                key, _, value = line.partition(":")
                current[key] = value.strip()
            elif line.strip() and not line.startswith("#"):
                sys.exit(f"{path}:{number}: cannot read: {line}")
    for fault in faults:
        missing = [k for k in ("file", "from", "to") if k not in fault]
        if missing:
            sys.exit(f"{path}:{fault['line']}: fault {fault['id']} lacks {', '.join(missing)}")
    return faults


LOCK = []


def run(cmd, cwd, log, timeout=None):
    cmd = LOCK + cmd
    with open(log, "a") as out:
        out.write(f"\n$ {' '.join(cmd)}\n")
        out.flush()
        try:
            return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            out.write("(timed out)\n")
            return -1


def copy_tree(work):
    """The committed tree plus uncommitted work, so a suite being rewritten can be measured."""
    src = os.path.join(work, "src")
    if os.path.isdir(src):
        shutil.rmtree(src)
    os.makedirs(src)
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.split("\n")
    for name in filter(None, files):
        source = os.path.join(ROOT, name)
        if not os.path.isfile(source):
            continue  # deleted in the working tree
        target = os.path.join(src, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)
    return src


def failed_tests(build):
    path = os.path.join(build, "Testing", "Temporary", "LastTestsFailed.log")
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [line.strip().split(":", 1)[-1] for line in f if line.strip()]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("faults", nargs="?", default=os.path.join(ROOT, "scripts", "faults.txt"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "faults"))
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--only", default="", help="comma-separated fault ids")
    parser.add_argument("--lock", help="hold a shared flock on this file around each build and test run")
    args = parser.parse_args()
    args.work = os.path.abspath(args.work)
    if args.lock:
        LOCK.extend(["flock", "-s", args.lock])

    faults = parse_faults(args.faults)
    if args.only:
        wanted = set(args.only.split(","))
        faults = [f for f in faults if f["id"] in wanted]
    os.makedirs(args.work, exist_ok=True)
    log = os.path.join(args.work, "fault-check.log")
    open(log, "w").close()
    src = copy_tree(args.work)
    build = os.path.join(args.work, "build")

    display = [] if os.environ.get("DISPLAY") else ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -noreset"]
    configure = ["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                 "-DVQ_BUILD_BENCHMARKS=OFF"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    ctest = display + ["ctest", "--test-dir", build, "-j", str(args.jobs), "--timeout", "300",
                       "--label-exclude", "fuzz", "--stop-on-failure"]
    compile_ = ["cmake", "--build", build, "-j", str(args.jobs)]

    if run(configure, src, log) != 0 or run(compile_, src, log) != 0:
        sys.exit(f"the clean tree does not build; see {log}")
    if run(ctest, src, log) != 0:
        sys.exit(f"the clean tree fails tests ({', '.join(failed_tests(build))}); see {log}")

    rows = []
    for fault in faults:
        started = time.time()
        path = os.path.join(src, fault["file"])
        with open(path) as f:
            original = f.read()
        lines = original.split("\n")
        hits = [i for i, line in enumerate(lines) if line.strip() == fault["from"]]
        if len(hits) != 1:
            rows.append((fault["id"], fault["file"], f"not applied ({len(hits)} matching lines)", ""))
            continue
        indent = lines[hits[0]][: len(lines[hits[0]]) - len(lines[hits[0]].lstrip())]
        lines[hits[0]] = indent + fault["to"]
        with open(path, "w") as f:
            f.write("\n".join(lines))
        try:
            if run(compile_, src, log) != 0:
                verdict, detail = "does not build", ""
            elif run(ctest, src, log, timeout=1800) != 0:
                names = failed_tests(build)
                verdict, detail = "caught", ", ".join(names[:3]) + (" ..." if len(names) > 3 else "")
            else:
                verdict, detail = "MISSED", ""
        finally:
            with open(path, "w") as f:
                f.write(original)
        rows.append((fault["id"], fault["file"], verdict, detail))
        print(f"{fault['id']}: {verdict} ({time.time() - started:.0f} s) {detail}", flush=True)

    # Leave the copy built from the clean sources, ready for the next run.
    run(compile_, src, log)
    print()
    print("| fault | file | result | first failing tests |")
    print("|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    caught = sum(1 for r in rows if r[2] == "caught")
    print(f"\n{caught} of {len(rows)} faults caught.")


if __name__ == "__main__":
    main()
