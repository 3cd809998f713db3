"""A packaged extension that VS Code can install: a whole zip with its
manifest, the language, grammar and debugger contributions in
extension/package.json, and every file those contributions name.
usage: check_vsix.py FILE.vsix"""
import json
import sys
import zipfile


def fail(why):
    print(f"check_vsix: {why}")
    sys.exit(1)


path = sys.argv[1]
if not zipfile.is_zipfile(path):
    fail(f"{path} is not a zip file")
with zipfile.ZipFile(path) as vsix:
    damaged = vsix.testzip()
    if damaged:
        fail(f"{damaged} is damaged")
    names = set(vsix.namelist())
    for needed in ("extension.vsixmanifest", "[Content_Types].xml",
                   "extension/package.json", "extension/hover.json"):
        if needed not in names:
            fail(f"{needed} is missing")
    manifest = json.loads(vsix.read("extension/package.json"))
    hover = json.loads(vsix.read("extension/hover.json"))

contributes = manifest.get("contributes", {})
languages = [l for l in contributes.get("languages", []) if l["id"] == "mowa"]
if not languages:
    fail("no language mowa")
language = languages[0]
if ".snr" not in language.get("extensions", []) or \
        "mowa.snr" not in language.get("filenames", []):
    fail("the language does not claim mowa.snr and *.snr")
encoding = contributes.get("configurationDefaults", {}).get("[mowa]", {})
if encoding.get("files.encoding") != "shiftjis":
    fail("mowa files do not open as Shift-JIS")
grammars = [g for g in contributes.get("grammars", [])
            if g.get("language") == "mowa"]
if not grammars:
    fail("no grammar for mowa")
debuggers = [d for d in contributes.get("debuggers", [])
             if d.get("type") == "mowa"]
if not debuggers or not debuggers[0].get("initialConfigurations"):
    fail("no debugger of type mowa with an initial configuration")
settings = contributes.get("configuration", {}).get("properties", {})
for setting in ("mowa.path", "mowa.lintPath"):
    if setting not in settings:
        fail(f"no setting {setting}")

named = [manifest["main"], language["configuration"]] + \
    [g["path"] for g in grammars]
for file in named:
    inside = "extension/" + file.removeprefix("./")
    if inside not in names:
        fail(f"{file}, named in package.json, is not in the package")
if "goto" not in hover or "@" not in hover:
    fail("the hover table misses commands")
print(f"check_vsix: {path}: {len(names)} files, all named files present")
