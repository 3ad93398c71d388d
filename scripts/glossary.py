#!/usr/bin/env python3
"""Keeps docs/glossary.md in step with src/models/ComponentNames.h.

The glossary has one table per window: component name, what it means (written by hand), and
the code that handles it (found in src/models, src/ui and src/cli by this script).

    scripts/glossary.py           rewrite the code column; new names get the header's comment
    scripts/glossary.py --check   exit 1 when a name of the header has no row, or a row no name
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HEADER = os.path.join(ROOT, "src/models/ComponentNames.h")
GLOSSARY = os.path.join(ROOT, "docs/glossary.md")

# The source files of each window (without extension): there a name may stand unqualified.
HOME = {
    "main_window": ["MainWindowModel", "MainWindowCommands", "MainWindowDiagrams", "MainWindow"],
    "detail_table": ["DetailTableModel", "DetailWindow"],
    "output_window": ["OutputWindowModel", "DiagramWindow"],
    "horizon_editor": ["HorizonEditorModel", "HorizonWindow"],
    "data_file_window": ["DataFileWindowModel", "DataFileWindow"],
    "topography_editor": ["TopographyEditorModel", "TopographyWindow"],
    "presettings": ["PresettingsModel", "PresettingsWindow"],
    "obstacle_editor": ["ObstacleEditorModel", "ObstaclePointer", "ObstacleWindow"],
    "obstacle_dialog": ["ObstacleDialog", "BuildingDialog", "DeciduousTreeDialog",
                        "ConiferDialog", "ObstacleWindow"],
    "building_dialog": ["BuildingDialog", "ObstacleWindow"],
    "tree_dialog": ["ObstacleDialog", "ObstacleWindow"],
}
# Functions that only create the controls say nothing about what handles them.
CREATORS = re.compile(r"::(buildControls|buildMenus|build\w*|\w+Window|\w+Model|\w+Dialog)$")


def read_header():
    """[(namespace, title, [(name, comment)])] in the header's order."""
    windows, ns, title, prev = [], None, "", ""
    for line in open(HEADER, encoding="utf-8"):
        line = line.rstrip("\n")
        m = re.match(r"namespace (\w+) \{", line)
        if m and m.group(1) != "umbrix":
            ns = m.group(1)
            windows.append((ns, prev[3:].rstrip(".") if prev.startswith("// ") else ns, []))
        m = re.match(r'inline constexpr char (\w+)\[\] = "([^"]+)";', line)
        if m and ns and not m.group(1).startswith("k"):
            windows[-1][2].append((m.group(2), prev[3:] if prev.startswith("// ") else ""))
        prev = line
    return windows


def sources():
    files = {}
    for folder in ("src/models", "src/ui", "src/cli"):
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if name.endswith((".cpp", ".h")) and name != "ComponentNames.h":
                path = os.path.join(ROOT, folder, name)
                files[folder[4:] + "/" + name] = open(path, encoding="utf-8").read().split("\n")
    return files


FUNCTION = re.compile(r"^(?:[\w:<>,*& ]+?\s)?(\w+::~?\w+)\(")


def enclosing_function(lines, i):
    for j in range(i, -1, -1):
        line = lines[j]
        if not line.strip() or line[0] in " \t}#/":
            continue
        m = FUNCTION.match(line)
        return m.group(1) if m else None
    return None


def code_of(ns, name, files):
    qualified = re.compile(r"(?<![\w:])%s::%s\b" % (ns, name))
    bare = re.compile(r'(?<![\w:"])%s\b(?!")' % name)
    places = []
    for path, lines in files.items():
        stem = os.path.splitext(os.path.basename(path))[0]
        home = stem in HOME[ns] and any("using namespace %s;" % ns in l for l in lines)
        functions, used = [], False
        for i, line in enumerate(lines):
            code = line.split("//")[0]
            if qualified.search(code) or (home and bare.search(code)):
                used = True
                f = enclosing_function(lines, i) if path.endswith(".cpp") else None
                if f and not CREATORS.search(f) and f not in functions:
                    functions.append(f)
        if used:
            places.append((path, functions))
    # the handlers first (models), then the views and the command line
    places.sort(key=lambda p: (not p[0].startswith("models/"), p[0]))
    parts = []
    for path, functions in places:
        shown = [f.split("::")[1] for f in functions[:4]] + (["…"] if len(functions) > 4 else [])
        parts.append("`%s`" % path + (": " + ", ".join(shown) if shown else ""))
    return "; ".join(parts)


def read_meanings():
    """{(section title, name): meaning} from the glossary as it stands."""
    meanings, section = {}, None
    if not os.path.exists(GLOSSARY):
        return meanings, ""
    text = open(GLOSSARY, encoding="utf-8").read()
    intro = text.split("\n## ")[0]
    for line in text.split("\n"):
        m = re.match(r"## .*: `(\w+)`$", line)
        if m:
            section = m.group(1)
        m = re.match(r"\| `([^`]+)` \| (.*) \| .* \|$", line)
        if m and section:
            meanings[(section, m.group(1))] = m.group(2)
    return meanings, intro


def main():
    windows = read_header()
    meanings, intro = read_meanings()
    names = {(ns, n) for ns, _, items in windows for n, _ in items}
    if "--check" in sys.argv:
        missing = sorted(names - set(meanings))
        stale = sorted(set(meanings) - names)
        for ns, n in missing:
            print("glossary: %s::%s has no row in docs/glossary.md" % (ns, n))
        for ns, n in stale:
            print("glossary: docs/glossary.md names %s::%s, which the header has not" % (ns, n))
        return 1 if missing or stale else 0
    files = sources()
    out = [intro.rstrip("\n"), ""]
    for ns, title, items in windows:
        out += ["## %s: `%s`" % (title, ns), "", "| Name | Meaning | Code |", "|---|---|---|"]
        for n, comment in items:
            meaning = meanings.get((ns, n), comment)
            out.append("| `%s` | %s | %s |" % (n, meaning, code_of(ns, n, files)))
        out.append("")
    open(GLOSSARY, "w", encoding="utf-8").write("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
