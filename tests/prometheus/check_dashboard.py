#!/usr/bin/env python3
"""Checks the queries of the Grafana dashboard in packaging/prometheus.

Every query (each panel's and the machine variable's) is parsed by Prometheus'
own parser, through `promtool check rules` on a rules file made of them, and
every metric a query names must be one the program writes (a name in its
metrics text) or one a recording rule of tallyline.rules.yml makes.
Prints each problem and "dashboard queries: N passed, N failed"; exits 1 when
any failed.
"""
import json
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
DASHBOARD = ROOT / "packaging/prometheus/tallyline-dashboard.json"
RULES = ROOT / "packaging/prometheus/tallyline.rules.yml"
WRITER = ROOT / "src/reports/metrics_export.cpp"

# Grafana's variables, as a query sees them once it runs.
VARIABLES = {"$instance": ".*", "${instance}": ".*", "$__rate_interval": "5m",
             "$__interval": "1m", "$__range": "1d"}
KEYWORDS = {"and", "or", "unless", "bool", "offset", "by", "without", "on", "ignoring",
            "group_left", "group_right", "inf", "nan"}


def queries(dashboard):
    """(where, PromQL) of every query; label_values(METRIC, LABEL) as METRIC."""
    found = []
    for variable in dashboard.get("templating", {}).get("list", []):
        query = variable.get("query")
        if isinstance(query, dict):
            query = query.get("query")
        if variable.get("type") == "query":
            match = re.fullmatch(r"\s*label_values\((.*),\s*\w+\)\s*", query or "")
            found.append((f"variable {variable['name']}", match.group(1) if match else query))
    for panel in dashboard.get("panels", []):
        for target in panel.get("targets", []):
            found.append((f"panel \"{panel['title']}\" {target['refId']}", target["expr"]))
    for where, query in found:
        for name, value in VARIABLES.items():
            query = query.replace(name, value)
        yield where, query


def metric_names(query):
    """The metric names a query uses: what is left of its words once strings,
    label matchers, ranges, grouping lists, functions and keywords go."""
    text = re.sub(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'', "", query)
    text = re.sub(r"\{[^}]*\}|\[[^\]]*\]", " ", text)
    text = re.sub(r"\b(by|without|on|ignoring|group_left|group_right)\s*\([^)]*\)", " ", text)
    names = set()
    for match in re.finditer(r"[A-Za-z_:][A-Za-z0-9_:]*", text):
        word = match.group(0)
        if word.lower() in KEYWORDS or re.match(r"\s*\(", text[match.end():]):
            continue
        if re.fullmatch(r"\d+[smhdwy]", word) or text[match.start() - 1:match.start()].isdigit():
            continue
        names.add(word)
    return names


def parses(query):
    """promtool's verdict on the query: empty when Prometheus parses it."""
    with tempfile.NamedTemporaryFile("w", suffix=".yml") as rules:
        json.dump({"groups": [{"name": "dashboard",
                               "rules": [{"record": "dashboard:query", "expr": query}]}]}, rules)
        rules.flush()
        run = subprocess.run(["promtool", "check", "rules", rules.name],
                             capture_output=True, text=True)
        return "" if run.returncode == 0 else (run.stdout + run.stderr).strip()


def main():
    dashboard = json.loads(DASHBOARD.read_text())
    known = set(re.findall(r'"(tallyline_[a-z0-9_]+)"', WRITER.read_text()))
    known |= set(re.findall(r"^\s*- record:\s*(\S+)", RULES.read_text(), re.M))
    passed = failed = 0
    for where, query in queries(dashboard):
        problems = []
        parse_error = parses(query)
        if parse_error:
            problems.append(parse_error)
        unknown = metric_names(query) - known
        if unknown:
            problems.append("names no metric of the program or the rules: " +
                            ", ".join(sorted(unknown)))
        if not metric_names(query):
            problems.append("names no metric at all")
        if problems:
            failed += 1
            print(f"{where}: {query}\n  " + "\n  ".join(problems))
        else:
            passed += 1
    print(f"dashboard queries: {passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
