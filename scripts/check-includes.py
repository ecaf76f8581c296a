#!/usr/bin/env python3
"""Checks that dependencies between the source folders run one way.

- common/ includes only common/;
- a subsystem's model never includes a window folder (any */ui) or app/;
- a subsystem's ui/ includes its own code, common/ and other subsystems' model headers, never
  another subsystem's ui/ and never app/;
- only app/ may include app/;
- and the folders, taken as a graph of their includes, have no cycle.
Prints each broken rule with file and line, exits 1 when there is any.
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "src")
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path: str) -> str:
    parts = path.split("/")
    if parts[0] in ("common", "app"):
        return parts[0]  # the composition root and its window are one folder
    return "/".join(parts[:2]) if len(parts) > 2 and parts[1] == "ui" else parts[0]


def broken_rule(source: str, target: str) -> str | None:
    src_sub, src_ui = source.split("/")[0], source.endswith("/ui")
    dst_sub, dst_ui = target.split("/")[0], target.endswith("/ui")
    if src_sub == "app":
        return None
    if dst_sub == "app":
        return "only app/ includes app/"
    if src_sub == "common":
        return None if dst_sub == "common" else "common/ includes only common/"
    if dst_ui and not src_ui:
        return "model code includes window code"
    if dst_ui and dst_sub != src_sub:
        return "a subsystem's windows include another subsystem's windows"
    return None


def find_cycle(graph: dict[str, set[str]]) -> list[str] | None:
    state: dict[str, int] = {}
    stack: list[str] = []

    def visit(node: str) -> list[str] | None:
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state and (cycle := visit(nxt)):
                return cycle
        stack.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state and (cycle := visit(node)):
            return cycle
    return None


def main() -> int:
    problems = []
    graph: dict[str, set[str]] = {}
    for file in sorted(root.rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        rel = file.relative_to(root).as_posix()
        source = folder_of(rel)
        for number, line in enumerate(file.read_text(encoding="latin-1").splitlines(), 1):
            match = include.match(line)
            if not match or not (root / match.group(1)).exists():
                continue
            target = folder_of(match.group(1))
            if target != source:
                graph.setdefault(source, set()).add(target)
            if rule := broken_rule(source, target):
                problems.append(f"src/{rel}:{number}: {rule}: {match.group(1)}")
    if cycle := find_cycle(graph):
        problems.append("folders include one another in a cycle: " + " -> ".join(cycle))
    for problem in problems:
        print(problem)
    print(f"include check: {len(problems)} problem(s) in {len(graph)} folders")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
