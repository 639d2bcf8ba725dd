#!/usr/bin/env python3
"""Fails when the core reaches into Qt.

Two rules: no source file outside a qt/ folder, app/ and the Qt-rendering tools (halvo-wsx's
plot, halvo-shot) includes a Qt header; and no file of a core library is compiled with Qt's
include paths or definitions, which is what linking a Qt target to a core library brings.
Usage: check-layers.py SOURCE_DIR [BUILD_DIR]
"""
import json
import os
import re
import sys

QT_RENDERING_TOOLS = ("tools/wsx/WsxPlot.", "tools/shot/")
QT_INCLUDE = re.compile(r'^\s*#\s*include\s*<Q[A-Za-z]*(/[A-Za-z]+)?>', re.M)
SKIPPED_DIRS = {".git", ".ci", "docs"}
CORE_FOLDERS = {"data", "measurement", "link", "document", "resources", "display", "sim",
                "station"}


def may_use_qt(rel):
    parts = rel.split("/")
    return "qt" in parts[:-1] or parts[0] == "app" or rel.startswith(QT_RENDERING_TOOLS)


def is_build_dir(path):
    return os.path.exists(os.path.join(path, "CMakeCache.txt"))


def sources(root):
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs
                   if d not in SKIPPED_DIRS and not is_build_dir(os.path.join(folder, d))]
        for name in files:
            if name.endswith((".cpp", ".h")):
                path = os.path.join(folder, name)
                yield os.path.relpath(path, root), path


def qt_includes_outside_the_shell(root):
    faults = []
    for rel, path in sources(root):
        if may_use_qt(rel):
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            match = QT_INCLUDE.search(f.read())
        if match:
            faults.append(f"{rel}: includes {match.group(0).strip()} outside a qt/ folder")
    return faults


def core_files_compiled_with_qt(root, build):
    commands = os.path.join(build, "compile_commands.json")
    if not os.path.exists(commands):
        return [f"{commands} is missing: configure the build first"]
    faults = []
    for entry in json.load(open(commands)):
        path = os.path.abspath(os.path.join(entry.get("directory", ""), entry["file"]))
        rel = os.path.relpath(path, root)
        if rel.split("/")[0] not in CORE_FOLDERS or may_use_qt(rel):
            continue
        command = entry.get("command") or " ".join(entry.get("arguments", []))
        if "qt6" in command.lower() or "-DQT_" in command.replace("-DQT_DISABLE_DEPRECATED", ""):
            faults.append(f"{rel}: its library is linked to Qt")
    return faults


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    root = os.path.abspath(sys.argv[1])
    faults = qt_includes_outside_the_shell(root)
    if len(sys.argv) > 2:
        faults += core_files_compiled_with_qt(root, os.path.abspath(sys.argv[2]))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
