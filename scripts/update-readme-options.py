#!/usr/bin/env python3
"""Rewrites the option tables of README.md from a built mipofc-cli (--print-option-table), so that
the README says what --help says. Usage: scripts/update-readme-options.py [path/to/mipofc-cli]"""
import re
import subprocess
import sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent
cli = sys.argv[1] if len(sys.argv) > 1 else str(root / "build/release/cli/mipofc-cli")
readme = root / "README.md"
text = readme.read_text(encoding="utf-8")
block = re.compile(r"(<!-- options of (\S+): made from mipofc-cli --print-option-table \2 -->\n)(.*?)(<!-- end of options -->)", re.S)


def table(match):
    made = subprocess.run([cli, "--print-option-table", match.group(2)], check=True, capture_output=True, text=True).stdout
    return match.group(1) + made + match.group(4)


new, count = block.subn(table, text)
if count == 0:
    sys.exit("README.md has no option tables")
readme.write_text(new, encoding="utf-8")
print(f"{count} option tables written")
