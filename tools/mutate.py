#!/usr/bin/env python3
"""Mutation run on demand (not part of CI): applies each deliberate fault of
tools/mutations.txt in turn, rebuilds the core's tests in build-mutate/, runs
them, and tells which faults the tests kill. A fault that does not compile is
counted apart. The sources are restored after each fault, also on Ctrl-C.

    tools/mutate.py [--list FILE] [--filter GTEST_FILTER]
"""
import argparse
import os
import pathlib
import signal
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parent.parent
build = root / "build-mutate"


def run(cmd, **kw):
    return subprocess.run(cmd, cwd=root, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kw)


def main():
    # A termination restores the source being mutated, as Ctrl-C does.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    ap = argparse.ArgumentParser()
    ap.add_argument("--list", default=str(root / "tools" / "mutations.txt"))
    ap.add_argument("--filter", default="*")
    args = ap.parse_args()
    mutations = []
    for line in pathlib.Path(args.list).read_text().splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        path, text, repl = (f.strip().replace("<NL>", "\n") for f in (line + " ").split(" | ", 2))
        mutations.append((path, text, repl))
    if not (build / "build.ninja").exists():
        run(["cmake", "-S", ".", "-B", str(build), "-G", "Ninja", "-DQW_BUILD_SHELL=OFF"], check=True)
    if run(["cmake", "--build", str(build), "--target", "core_tests"]).returncode != 0:
        sys.exit("the unchanged sources do not build")
    # Tests that fail on the unchanged sources (the PDF plugin is not built
    # here) would count every fault as killed: they are left out.
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    base = run([str(build / "tests" / "core_tests"), f"--gtest_filter={args.filter}",
                "--gtest_brief=1"], env=env, timeout=900)
    failing = sorted({l.split()[3] for l in base.stdout.decode(errors="replace").splitlines()
                      if l.startswith("[  FAILED  ]") and len(l.split()) > 3})
    test_filter = args.filter + ("-" + ":".join(failing) if failing else "")
    print(f"left out, failing unchanged: {failing or 'none'}", flush=True)
    killed, survived, broken = [], [], []
    for i, (path, text, repl) in enumerate(mutations, 1):
        source = root / "src" / path
        original = source.read_text()
        if text not in original:
            print(f"{i:3} {path}: text not found, skipped")
            continue
        try:
            source.write_text(original.replace(text, repl, 1))
            if run(["cmake", "--build", str(build), "--target", "core_tests"]).returncode != 0:
                broken.append(i)
                verdict = "does not compile"
            else:
                test = run([str(build / "tests" / "core_tests"), f"--gtest_filter={test_filter}",
                            "--gtest_brief=1"], env=env, timeout=900)
                (killed if test.returncode != 0 else survived).append(i)
                verdict = "killed" if test.returncode != 0 else "SURVIVED"
        finally:
            source.write_text(original)
        print(f"{i:3} {path}: {verdict}: {text.splitlines()[0][:60]}", flush=True)
    run(["cmake", "--build", str(build), "--target", "core_tests"])
    tried = len(killed) + len(survived)
    print(f"killed {len(killed)} of {tried} that compile ({100 * len(killed) // max(tried, 1)}%), "
          f"{len(broken)} did not compile; survivors: {survived}")
    sys.exit(0 if not survived else 1)


if __name__ == "__main__":
    main()
