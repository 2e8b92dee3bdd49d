#!/usr/bin/env python3
"""Applies the plausible bugs of tests/mutations.txt one at a time to a scratch copy of the tree
and tells whether the tests named for each one catch it.

usage: tests/mutate.py [-j N] [--list FILE] [number ...]   (numbers pick entries, from 1)

The copy lives in build-mutate/src and builds into build-mutate/build, so a mutation costs one
recompile, the relink of the test binaries its tests live in, and those tests. The real tree and
/tmp are left alone: the tests get build-mutate/tmp as their temporary folder."""
import argparse, json, os, shutil, subprocess, sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent
work = root / "build-mutate"
src, build, tmp = work / "src", work / "build", work / "tmp"


def run(*cmd, **kw):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def sync_copy():
    """Makes build-mutate/src equal to the working tree (tracked and new files), copying only what
    differs so that the build folder stays valid. A copied file is newer than its objects, even
    one a broken-off run left mutated."""
    listed = run("git", "ls-files", "-co", "--exclude-standard", "-z", cwd=root).stdout.split("\0")
    wanted = {f for f in listed if f and (root / f).is_file()}
    for f in wanted:
        a, b = root / f, src / f
        if not b.exists() or a.read_bytes() != b.read_bytes():
            b.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(a, b)
    for b in [p for p in src.rglob("*") if p.is_file()]:
        if str(b.relative_to(src)) not in wanted:
            b.unlink()


def read_list(path):
    """Entries are blocks of 'key: value' lines (file, find, replace, tests), separated by blank
    lines; '#' starts a comment line. A value may continue on lines starting with '+ '."""
    entries, cur, key = [], {}, None
    for line in Path(path).read_text().splitlines() + [""]:
        if line.startswith("#"):
            continue
        if not line.strip():
            if cur:
                entries.append(cur)
            cur, key = {}, None
        elif line.startswith("+ ") and key:
            cur[key] += "\n" + line[2:]
        else:
            key, _, value = line.partition(":")
            cur[key.strip()] = value[1:] if value.startswith(" ") else value
    return entries


def targets_of(regex):
    """The test binaries (= ninja targets) that hold the tests matching the regex."""
    out = run("ctest", "--test-dir", str(build), "-N", "-R", regex, "--show-only=json-v1").stdout
    return sorted({Path(t["command"][0]).name for t in json.loads(out)["tests"] if "command" in t})


def ctest(regex, jobs):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TMPDIR=str(tmp))
    return run("ctest", "--test-dir", str(build), "-R", regex, "-j", str(jobs), "--timeout", "120",
               "--stop-on-failure", env=env).returncode


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("-j", type=int, default=4)
    ap.add_argument("--list", default=str(root / "tests/mutations.txt"))
    ap.add_argument("pick", nargs="*", type=int)
    args = ap.parse_args()
    entries = read_list(args.list)
    chosen = args.pick or range(1, len(entries) + 1)

    src.mkdir(parents=True, exist_ok=True)
    tmp.mkdir(exist_ok=True)
    sync_copy()
    if not (build / "build.ninja").exists():
        r = run("cmake", "-S", str(src), "-B", str(build), "-G", "Ninja",
                "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DDRAVOLIN_BENCH=OFF")
        if r.returncode:
            sys.exit(r.stdout)
    r = run("cmake", "--build", str(build), "-j", str(args.j))
    if r.returncode:
        sys.exit(r.stdout[-4000:] + "\nThe unmutated copy does not build.")
    everything = "|".join(f"({entries[i - 1]['tests']})" for i in chosen)
    if ctest(everything, args.j):
        sys.exit("The named tests fail without any mutation; fix them first.")

    caught = 0
    for i in chosen:
        e = entries[i - 1]
        name = f"{i:3}. {e['file']}: {e['find'].strip()} -> {e['replace'].strip()}"
        path = src / e["file"]
        original = path.read_text()
        if original.count(e["find"]) != 1:
            print(f"{name}\n     not applied (text found {original.count(e['find'])} times)")
            continue
        targets = targets_of(e["tests"])
        try:
            path.write_text(original.replace(e["find"], e["replace"]))
            if not targets:
                result = "no tests match"
            elif run("cmake", "--build", str(build), "-j", str(args.j), "--target", *targets).returncode:
                result = "build failed"
            elif ctest(e["tests"], args.j):
                result, caught = "caught", caught + 1
            else:
                result = "MISSED"
        finally:
            path.write_text(original)  # newer than the object, so the next build recompiles it
        print(f"{name}\n     {result}  [{e['tests']}]", flush=True)
    shutil.rmtree(tmp, ignore_errors=True)
    print(f"caught {caught} of {len(chosen)}")


main()
