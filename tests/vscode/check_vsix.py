# A packaged extension that VS Code can install: a whole zip with its
# manifest, the language, grammar and debugger contributions in
# extension/package.json, and every file those contributions name.
# usage: check_vsix.py FILE.vsix

import json
import sys
import zipfile


def need(holds, why):
    if not holds:
        print(f"check_vsix: {why}")
        sys.exit(1)


path = sys.argv[1]
need(zipfile.is_zipfile(path), f"{path} is not a zip file")
with zipfile.ZipFile(path) as vsix:
    damaged = vsix.testzip()
    need(not damaged, f"{damaged} is damaged")
    names = set(vsix.namelist())
    for needed in ("extension.vsixmanifest", "[Content_Types].xml",
                   "extension/package.json", "extension/hover.json"):
        need(needed in names, f"{needed} is missing")
    manifest = json.loads(vsix.read("extension/package.json"))
    hover = json.loads(vsix.read("extension/hover.json"))

contributes = manifest.get("contributes", {})
languages = [l for l in contributes.get("languages", []) if l["id"] == "mowa"]
need(languages, "no language mowa")
language = languages[0]
need(".snr" in language.get("extensions", []) and
     "mowa.snr" in language.get("filenames", []),
     "the language does not claim mowa.snr and *.snr")
encoding = contributes.get("configurationDefaults", {}).get("[mowa]", {})
need(encoding.get("files.encoding") == "shiftjis",
     "mowa files do not open as Shift-JIS")
grammars = [g for g in contributes.get("grammars", [])
            if g.get("language") == "mowa"]
need(grammars, "no grammar for mowa")
debuggers = [d for d in contributes.get("debuggers", [])
             if d.get("type") == "mowa"]
need(debuggers and debuggers[0].get("initialConfigurations"),
     "no debugger of type mowa with an initial configuration")
settings = contributes.get("configuration", {}).get("properties", {})
for setting in ("mowa.path", "mowa.lintPath"):
    need(setting in settings, f"no setting {setting}")

for file in [manifest["main"], language["configuration"]] + \
        [g["path"] for g in grammars]:
    need("extension/" + file.removeprefix("./") in names,
         f"{file}, named in package.json, is not in the package")
need("goto" in hover and "@" in hover, "the hover table misses commands")
print(f"check_vsix: {path}: {len(names)} files, all named files present")
