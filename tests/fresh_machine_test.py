#!/usr/bin/env python3
"""The README's first command on a machine without the test packages.

Copies the source tree (what a clean clone holds, plus files not yet
committed) to a temporary folder, then, in a private mount namespace where
the development files of every package in tools/test-packages.txt are hidden
(headers, CMake package files, pkg-config files and libraries), configures and
builds the release preset and runs the language tour. The tour must print its
expected output, and the build must hold the program and no test programs.

Needs root and unshare(1); exits 77 (skipped) without them.
"""
import argparse
import os
import pathlib
import shlex
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
SKIP = 77
HIDDEN_PREFIXES = ("/usr/include/", "/usr/share/cmake/", "/usr/lib/cmake/", "/usr/share/pkgconfig/")


def test_packages():
    lines = (ROOT / "tools" / "test-packages.txt").read_text().splitlines()
    return [line.strip() for line in lines if line.strip() and not line.startswith("#")]


def is_build_input(path):
    if path.startswith(HIDDEN_PREFIXES):
        return True
    if path.startswith("/usr/lib/"):
        name = os.path.basename(path)
        return "/cmake/" in path or "/pkgconfig/" in path or name.endswith(".a") or ".so" in name
    return False


def hidden_paths():
    """The folders directly under /usr/include that a package owns, and its other build inputs."""
    folders, files = set(), set()
    for package in test_packages():
        listing = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True)
        if listing.returncode != 0:
            continue
        for path in listing.stdout.splitlines():
            if not is_build_input(path):
                continue
            parts = path.split("/")
            if path.startswith("/usr/include/") and len(parts) > 4:
                folders.add("/".join(parts[:4]))
            elif os.path.isdir(path):
                if path.startswith(("/usr/share/cmake/", "/usr/lib/")) and "cmake" in path:
                    folders.add(path)
            elif os.path.lexists(path):
                files.add(path)
    files = {f for f in files if not any(f.startswith(d + "/") for d in folders)}
    return sorted(folders), sorted(files)


def copy_tree(destination):
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=ROOT, capture_output=True)
    if listed.returncode != 0:
        sys.exit("git ls-files failed: " + listed.stderr.decode(errors="replace"))
    for name in listed.stdout.decode().split("\0"):
        source = ROOT / name
        if name and source.is_file():
            target = destination / name
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, target, follow_symlinks=False)


def readme_command():
    """The README's first shell block: build and run the tour."""
    text = (ROOT / "README.md").read_text()
    block = text.split("```sh\n", 1)[1].split("```", 1)[0].strip()
    if "examples/tour.vlm" not in block:
        sys.exit("the README's first command no longer runs the tour: " + block)
    return block


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    if os.geteuid() != 0 or not shutil.which("unshare"):
        print("skipped: needs root and unshare")
        return SKIP
    probe = subprocess.run(["unshare", "-m", "true"], capture_output=True)
    if probe.returncode != 0:
        print("skipped: no private mount namespace here:", probe.stderr.decode().strip())
        return SKIP

    folders, files = hidden_paths()
    work = pathlib.Path(tempfile.mkdtemp(prefix="velmor-fresh-"))
    try:
        source = work / "velmor"
        empty = work / "empty"
        empty.mkdir()
        copy_tree(source)
        script = ["set -e", "mount --make-rprivate /"]
        script += [f"mount --bind {shlex.quote(str(empty))} {shlex.quote(d)}" for d in folders]
        script += [f"mount --bind /dev/null {shlex.quote(f)}" for f in files]
        # The namespace must really lack the JSON and utf8proc headers, or the test proves nothing.
        script.append("! test -s /usr/include/nlohmann/json.hpp")
        script.append("! test -s /usr/include/utf8proc.h")
        script.append(f"cd {shlex.quote(str(source))}")
        script.append(readme_command())
        environment = {k: v for k, v in os.environ.items() if not k.startswith("CMAKE_")}
        run = subprocess.run(["unshare", "-m", "bash", "-c", "\n".join(script)], capture_output=True, text=True,
                             env=environment)
        print(f"hid {len(folders)} folders and {len(files)} files of the test packages")
        if run.returncode != 0:
            print(run.stdout[-6000:])
            print(run.stderr[-6000:], file=sys.stderr)
            print(f"FAIL: the README's first command exited {run.returncode}")
            return 1
        expected = (ROOT / "tests" / "scripts" / "examples" / "tour.stdout").read_text()
        printed = run.stdout[run.stdout.find(expected.splitlines()[0]):] if expected else run.stdout
        if printed != expected:
            print(run.stdout[-4000:])
            print("FAIL: the tour's output differs from tests/scripts/examples/tour.stdout")
            return 1
        built = source / "build" / "release"
        unwanted = sorted(p.name for p in built.iterdir() if p.name.startswith(("unit_", "velmor-plain", "velmor-disasm")))
        if unwanted or (built / "tests").exists():
            print("FAIL: the release preset built more than the program:", unwanted)
            return 1
        print("1 passed, 0 failed")
        return 0
    finally:
        if args.keep:
            print("kept", work)
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
