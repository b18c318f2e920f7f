#!/usr/bin/env python3
"""Runs the fuzz targets of a fuzz build tree.

Each target starts from a seed corpus made from the test fixtures (fuzz/seeds below) and the
inputs kept in fuzz/corpus/<target> (seeds written by hand and every input that once found a
fault). New inputs go to <build>/fuzz/work/<target>, crash inputs to <build>/fuzz/artifacts.

  fuzz.py --build build/fuzz --runs 3000 [target ...]             short smoke run
  fuzz.py --build build/fuzz --seconds 60 [target ...]            run each for a set time
  fuzz.py --build build/fuzz --seconds 3600 --max-runs 1000000    ... or until it ran that many inputs
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Where seed files come from: the test fixtures and the bundled examples.
SEED_ROOTS = [os.path.join(ROOT, "tests", "fixtures"), os.path.join(ROOT, "examples")]

# The files a configuration target can take the fuzz input in; the first input byte chooses.
# Keep each list in the order its target declares.
EDS_FILES = ["ParGen.xml", "TpdoJ1939.xml", "pdoJ1939.xml", "RInfoCob.xml", "TInfoCob.xml"]
TABLE_FILES = ["ParGen.xml", "RCobDef.xml", "TCobDef.xml", "TpdoJ1939.xml", "pdoJ1939.xml",
               "RInfoCob.xml", "TInfoCob.xml", "SDOClient.xml", "NodeGuard.xml", "NG_J1939_Frame.xml"]


def fixtures(name):
    found = []
    for root in SEED_ROOTS:
        found += glob.glob(os.path.join(root, "**", name), recursive=True)
    return sorted(found)


def plain(*names):
    """Seeds that are the fixture files of these names, as they are."""
    return lambda: [(path, b"") for name in names for path in fixtures(name)]


def chosen(names, only=None):
    """Seeds for a target whose first byte chooses the file among `names`."""
    def make():
        seeds = []
        for index, name in enumerate(names):
            if only is None or name in only:
                seeds += [(path, bytes([index])) for path in fixtures(name)]
        return seeds
    return make


def files(pattern):
    return lambda: [(path, b"") for path in sorted(glob.glob(os.path.join(ROOT, pattern)))]


SEEDS = {
    "int_text": lambda: [],
    "language_file": files("languages/*.lng"),
    "app_settings": plain("Brenvale.xml"),
    "par_gen": plain("ParGen.xml"),
    "sdo_client": plain("SDOClient.xml"),
    "node_guard": chosen(["NodeGuard.xml", "NG_J1939_Frame.xml"]),
    "eds": chosen(EDS_FILES),
    "receive_frames": plain("RCobDef.xml"),
    "transmit_frames": plain("TCobDef.xml"),
    "transmit_pdos": plain("TpdoJ1939.xml"),
    "receive_pdos": plain("pdoJ1939.xml"),
    "sdo_read": plain("RInfoCob.xml"),
    "sdo_write": plain("TInfoCob.xml"),
    "compile": chosen(TABLE_FILES),
    "firmware": lambda: [(p, b"") for ext in ("*.sx", "*.sim", "*.s19", "*.srec", "*.mot")
                         for p in fixtures(ext)],
    "version_answer": lambda: [],
}


def make_seed_folder(build, target):
    folder = os.path.join(build, "fuzz", "seeds", target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for n, (path, prefix) in enumerate(SEEDS[target]()):
        with open(path, "rb") as source:
            data = prefix + source.read()
        with open(os.path.join(folder, "%04d-%s" % (n, os.path.basename(path))), "wb") as seed:
            seed.write(data)
    return folder


def run_target(build, target, runs, seconds, fresh, max_runs=None):
    binary = os.path.join(build, "fuzz", "fuzz_" + target)
    # A smoke run starts from the seeds alone and keeps nothing; timed runs build on earlier ones.
    work = os.path.join(build, "fuzz", "smoke" if runs is not None else "work", target)
    artifacts = os.path.join(build, "fuzz", "artifacts", target) + os.sep
    if fresh or runs is not None:
        shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work, exist_ok=True)
    os.makedirs(artifacts, exist_ok=True)
    corpora = [work, make_seed_folder(build, target)]
    kept = os.path.join(ROOT, "fuzz", "corpus", target)
    if os.path.isdir(kept):
        corpora.append(kept)

    args = [binary, "-artifact_prefix=" + artifacts, "-timeout=10", "-rss_limit_mb=2048",
            "-print_final_stats=1"]
    if runs is not None:
        args += ["-runs=%d" % runs, "-seed=1"]
    else:
        args += ["-max_total_time=%d" % seconds]
        if max_runs is not None:
            args += ["-runs=%d" % max_runs]
    log_path = work + ".log"
    started = time.time()
    # The target's scratch files, in memory where the system offers it, removed after the run.
    scratch = tempfile.mkdtemp(prefix="brenvale-fuzz-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    env = dict(os.environ, BRENVALE_FUZZ_SCRATCH=scratch)
    try:
        with open(log_path, "w") as log:
            code = subprocess.call(args + corpora, stdout=log, stderr=subprocess.STDOUT, env=env)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    elapsed = time.time() - started
    with open(log_path, errors="replace") as log:
        text = log.read()
    found = re.search(r"stat::number_of_executed_units:\s*(\d+)", text)
    executions = int(found.group(1)) if found else 0
    if code != 0:
        sys.stdout.write(text[-6000:])
    return code, executions, elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="the fuzz build tree")
    how = parser.add_mutually_exclusive_group(required=True)
    how.add_argument("--runs", type=int, help="inputs per target")
    how.add_argument("--seconds", type=int, help="seconds per target")
    parser.add_argument("--max-runs", type=int, help="with --seconds: stop a target earlier after this many inputs")
    parser.add_argument("--fresh", action="store_true", help="start without the inputs of earlier runs")
    parser.add_argument("targets", nargs="*")
    options = parser.parse_args()

    build = os.path.abspath(options.build)
    targets = options.targets or [t for t in SEEDS if os.path.exists(os.path.join(build, "fuzz", "fuzz_" + t))]
    unknown = [t for t in targets if t not in SEEDS]
    if unknown:
        parser.error("unknown target: " + ", ".join(unknown))
    if options.max_runs is not None and options.seconds is None:
        parser.error("--max-runs goes with --seconds")

    failed = []
    for target in targets:
        code, executions, elapsed = run_target(build, target, options.runs, options.seconds, options.fresh,
                                              options.max_runs)
        print("%-16s %10d executions %8.1f s  %s" % (target, executions, elapsed, "ok" if code == 0 else "FAILED"),
              flush=True)
        if code != 0:
            failed.append(target)
    if failed:
        print("failed: " + " ".join(failed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
