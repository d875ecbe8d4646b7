"""Each README code block announced by <!-- example: FILE TAG --> must equal the part of FILE
between its two "// [TAG]" lines, and each one announced by <!-- output: FILE --> the whole of
FILE (an output the tests pin), so that the README shows code that is built and run."""
import pathlib
import re
import sys

readme = pathlib.Path(sys.argv[1])
root = readme.parent
text = readme.read_text(encoding="utf-8")
quotes = re.findall(r"<!-- example: (\S+) (\S+) -->\n```cpp\n(.*?)```\n", text, re.S)
if len(quotes) < 2:
    sys.exit(f"{readme}: expected the quoted examples, found {len(quotes)}")
failed = False
for path, tag, block in quotes:
    source = (root / path).read_text(encoding="utf-8")
    parts = source.split(f"// [{tag}]\n")
    if len(parts) != 3:
        sys.exit(f"{path}: needs exactly two '// [{tag}]' lines")
    if parts[1] != block:
        print(f"README block of {path} [{tag}] differs from the source", file=sys.stderr)
        failed = True
    else:
        print(f"{path} [{tag}]: {block.count(chr(10))} lines quoted word for word")
for path, block in re.findall(r"<!-- output: (\S+) -->\n```text\n(.*?)```\n", text, re.S):
    if (root / path).read_text(encoding="utf-8") != block:
        print(f"README output block differs from {path}", file=sys.stderr)
        failed = True
    else:
        print(f"{path}: output quoted word for word")
sys.exit(1 if failed else 0)
