#!/usr/bin/env python3
"""Checks that the editor grammar's keyword and builtin lists match the lexer's
keyword table and the builtin registration table, as printed by editor_names."""

import json
import re
import subprocess
import sys

KEYWORD_SECTIONS = ("keywords",)
KEYWORD_SCOPES_ELSEWHERE = {"constant.language.velmor"}  # true, false, nil are lexer keywords too


def alternatives(pattern):
    """The words of the first \\b(a|b|c) group of a match pattern."""
    found = re.search(r"\\b\(([A-Za-z_|]+)\)", pattern)
    if not found:
        raise ValueError(f"no word list in pattern {pattern!r}")
    return found.group(1).split("|")


def grammar_names(grammar):
    repository = grammar["repository"]
    keywords, builtins = [], []
    for section, entry in repository.items():
        for pattern in entry.get("patterns", []):
            scope = pattern.get("name", "")
            if section in KEYWORD_SECTIONS or scope in KEYWORD_SCOPES_ELSEWHERE:
                keywords += alternatives(pattern["match"])
            elif scope == "support.function.builtin.velmor":
                builtins += alternatives(pattern["match"])
    return keywords, builtins


def compare(kind, from_grammar, from_source):
    problems = []
    duplicates = sorted({name for name in from_grammar if from_grammar.count(name) > 1})
    if duplicates:
        problems.append(f"{kind}s listed twice in the grammar: {', '.join(duplicates)}")
    missing = sorted(set(from_source) - set(from_grammar))
    if missing:
        problems.append(f"{kind}s missing from the grammar: {', '.join(missing)}")
    extra = sorted(set(from_grammar) - set(from_source))
    if extra:
        problems.append(f"{kind}s in the grammar but not in the source: {', '.join(extra)}")
    return problems


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_grammar_names.py EDITOR_NAMES_PROGRAM GRAMMAR_JSON")
    printed = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout.split("\n")
    source = {"keyword": [], "builtin": []}
    for line in filter(None, printed):
        kind, name = line.split(" ", 1)
        source[kind].append(name)
    with open(sys.argv[2], encoding="utf-8") as file:
        keywords, builtins = grammar_names(json.load(file))

    problems = compare("keyword", keywords, source["keyword"]) + compare("builtin", builtins, source["builtin"])
    if len(source["keyword"]) != 22 or len(source["builtin"]) != 78:
        problems.append(f"the source lists {len(source['keyword'])} keywords and "
                        f"{len(source['builtin'])} builtins, expected 22 and 78")
    for problem in problems:
        print(problem)
    if problems:
        sys.exit(1)
    print(f"grammar matches {len(keywords)} keywords and {len(builtins)} builtins")


if __name__ == "__main__":
    main()
