#!/usr/bin/env python3
"""What the packaging scripts repeat agrees with what the build does:

- every pkg-config module that CMakeLists.txt requires comes from a package
  that `scripts/deps.sh --build` installs, or that one of those depends on
  directly (the module's .pc file's owner, as dpkg knows it; skipped where
  there is no dpkg);
- the paths a package holds (the install prefix of cmake/Packaging.cmake
  before each relative destination of the build's install rules, absolute
  destinations as they are) are those the README's package table lists and
  include those .ci/steps/package.sh looks for.

Usage: packaging.py SOURCE_DIR BUILD_DIR
Each disagreement is printed as "FILE: ..."; the exit status is 1 if any.
"""
import glob
import os
import re
import shutil
import subprocess
import sys

problems = []


def read(top, path):
    with open(os.path.join(top, path), encoding="utf-8") as f:
        return f.read()


def bash_array(text, name):
    """The words of NAME=(...) and NAME+=(...) in a bash script."""
    words = []
    for body in re.findall(r"^\s*%s\+?=\(([^)]*)\)" % name, text, re.M | re.S):
        words += re.sub(r"#.*", "", body).split()
    return words


def owner(module):
    """The Debian package whose file is the module's .pc file, or None."""
    found = subprocess.run(["pkg-config", "--variable=pcfiledir", module], capture_output=True, text=True)
    if found.returncode != 0:
        return None
    pc = os.path.join(found.stdout.strip(), module + ".pc")
    query = subprocess.run(["dpkg-query", "-S", os.path.realpath(pc)], capture_output=True, text=True)
    if query.returncode != 0:
        query = subprocess.run(["dpkg-query", "-S", pc], capture_output=True, text=True)
    return query.stdout.split(":")[0].strip() if query.returncode == 0 else None


def depends(package):
    """The packages `package` depends on directly, as dpkg knows them: on
    Debian 13, glib-2.0.pc lies in libgio-2.0-dev, which libglib2.0-dev pulls in."""
    query = subprocess.run(["dpkg-query", "-W", "-f=${Depends}", package], capture_output=True,
                           text=True)
    names = re.findall(r"(?:^|[,|]\s*)([a-z0-9][a-z0-9+.-]+)", query.stdout)
    return set(name.split(":")[0] for name in names)


def build_packages(top):
    build = bash_array(read(top, "scripts/deps.sh"), "build")
    if not build:
        problems.append("scripts/deps.sh: no build=(...) list found; reworded? update packaging.py")
    modules = []
    for args in re.findall(r"pkg_check_modules\(([^)]*)\)", read(top, "CMakeLists.txt")):
        words = args.split()
        if "REQUIRED" in words:
            modules += [w for w in words[1:] if w not in ("REQUIRED", "QUIET", "IMPORTED_TARGET")]
    if not modules:
        problems.append("CMakeLists.txt: no required pkg-config module found; update packaging.py")
    if not (shutil.which("dpkg-query") and shutil.which("pkg-config")):
        print("no dpkg-query or pkg-config: the build packages are not compared")
        return
    for module in modules:
        package = owner(module)
        if package is None:
            print("%s: no package owns its .pc file here: not compared" % module)
        elif package not in build and not any(package in depends(b) for b in build):
            problems.append("scripts/deps.sh: the build packages %s lack %s, which holds pkg-config "
                            "module %s that CMakeLists.txt requires" % (build, package, module))


def installed(top, build_dir):
    """Every path the install rules create under the packages' prefix."""
    match = re.search(r"set\(CPACK_PACKAGING_INSTALL_PREFIX\s+\"?([^\s\")]+)", read(top, "cmake/Packaging.cmake"))
    if not match:
        problems.append("cmake/Packaging.cmake: no CPACK_PACKAGING_INSTALL_PREFIX found")
        return set()
    prefix = match.group(1)
    paths = set()
    rule = re.compile(r'file\(INSTALL DESTINATION "([^"]+)" TYPE (\w+) FILES ((?:"[^"]*"\s*)+)\)')
    for script in glob.glob(os.path.join(build_dir, "**", "cmake_install.cmake"), recursive=True):
        with open(script, encoding="utf-8") as f:
            for dest, kind, files in rule.findall(f.read()):
                dest = dest.replace("${CMAKE_INSTALL_PREFIX}", prefix)
                for name in re.findall(r'"([^"]*)"', files):
                    paths.add(dest if kind == "DIRECTORY" and not name else dest + "/" + os.path.basename(name))
    if not paths:
        problems.append("%s: no install rule found in cmake_install.cmake" % build_dir)
    return paths


def readme_paths(top):
    """The first column of the README's table of what the packages hold:
    `dir/{a,b}/` stands for each, a bare name lies beside the path before it."""
    text = read(top, "README.md")
    table = re.search(r"packages hold:\s*\n\s*\| Path \|.*?\n((?:\|.*\n)+)", text)
    if not table:
        problems.append("README.md: no table of what the packages hold; reworded? update packaging.py")
        return set()
    paths = set()
    for row in table.group(1).splitlines()[1:]:
        base = ""
        for path in re.findall(r"`([^`]+)`", row.split("|")[1]):
            path = path if path.startswith("/") else os.path.dirname(base) + "/" + path
            base = path
            brace = re.search(r"\{([^}]*)\}", path)
            for part in brace.group(1).split(",") if brace else [""]:
                paths.add(path[:brace.start()] + part + path[brace.end():] if brace else path)
    return paths


def package_paths(top, build_dir):
    have = installed(top, build_dir)
    parents = {os.path.dirname(p) for p in have}
    while any(p not in ("", "/") and os.path.dirname(p) not in parents for p in parents):
        parents |= {os.path.dirname(p) for p in parents}
    listed = readme_paths(top)
    for path in sorted(listed):
        bare = path.rstrip("/")
        if bare not in have and not (path.endswith("/") and bare in parents):
            problems.append("README.md: the packages hold %s, but no install rule puts it there" % path)
    for path in sorted(have - {p.rstrip("/") for p in listed}):
        problems.append("README.md: the table of what the packages hold lacks %s" % path)
    step = os.path.join(top, ".ci/steps/package.sh")
    if os.path.exists(step):
        text = read(top, ".ci/steps/package.sh")
        root = re.search(r"^root=(\S+)", text, re.M)
        for word in bash_array(text, "wanted"):
            path = word.strip('"').replace("$root", root.group(1) if root else "$root")
            if path not in have:
                problems.append(".ci/steps/package.sh: looks for %s, which no install rule puts there" % path)


def main():
    top, build_dir = sys.argv[1:3]
    build_packages(top)
    package_paths(top, build_dir)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
