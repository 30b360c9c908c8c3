#!/usr/bin/env python3
"""Checks the built extension package: its entries sit at the root of the
archive, every file is the one in editor/ byte for byte, and the manifests
carry the identity, version and contributions that the editor relies on
(the language, its grammar, snippets and settings, and its debugger)."""

import json
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

EXPECTED_FILES = {
    "[Content_Types].xml",
    "extension.vsixmanifest",
    "extension/package.json",
    "extension/language-configuration.json",
    "extension/syntaxes/velmor.tmLanguage.json",
    "extension/snippets/velmor.json",
    "extension/README.md",
    "extension/out/extension.js",
}
MANIFEST_NS = {"m": "http://schemas.microsoft.com/developer/vsx-schema/2011"}


def check(condition, message, problems):
    if not condition:
        problems.append(message)


def check_entries(archive, editor_dir, problems):
    names = archive.namelist()
    files = {name for name in names if not name.endswith("/")}
    check(files == EXPECTED_FILES, f"entries differ: extra {sorted(files - EXPECTED_FILES)}, "
          f"missing {sorted(EXPECTED_FILES - files)}", problems)
    check(len(names) == len(set(names)), "an entry appears twice", problems)
    for name in files & EXPECTED_FILES:
        source = name[len("extension/"):] if name.startswith("extension/") else name
        with open(f"{editor_dir}/{source}", "rb") as file:
            check(archive.read(name) == file.read(), f"{name} differs from editor/{source}", problems)


def check_content_types(archive, problems):
    root = ElementTree.fromstring(archive.read("[Content_Types].xml"))
    types = {item.get("Extension").lstrip("."): item.get("ContentType") for item in root}
    expected = {"js": "application/javascript", "json": "application/json", "md": "text/markdown",
                "vsixmanifest": "text/xml", "xml": "text/xml"}
    check(types == expected, f"content types are {types}", problems)


def check_manifest(archive, problems):
    root = ElementTree.fromstring(archive.read("extension.vsixmanifest"))
    check(root.get("Version") == "2.0.0", "manifest version is not 2.0.0", problems)
    identity = root.find("m:Metadata/m:Identity", MANIFEST_NS)
    check(identity is not None and
          (identity.get("Id"), identity.get("Version"), identity.get("Publisher"), identity.get("Language")) ==
          ("velmor-lang", "0.5.0", "velmor", "en-US"), "manifest identity is wrong", problems)

    def text(path):
        element = root.find(path, MANIFEST_NS)
        return None if element is None else element.text

    check(text("m:Metadata/m:DisplayName") == "Velmor Language", "display name", problems)
    check(text("m:Metadata/m:Description") ==
          "Syntax highlighting and editing support for the Velmor programming language (.velmor, .vlm).",
          "description", problems)
    check(text("m:Metadata/m:Tags") == "velmor,vlm", "tags", problems)
    check(text("m:Metadata/m:Categories") == "Programming Languages", "categories", problems)
    check(text("m:Metadata/m:GalleryFlags") == "Public", "gallery flags", problems)
    properties = {item.get("Id"): item.get("Value")
                  for item in root.findall("m:Metadata/m:Properties/m:Property", MANIFEST_NS)}
    check(properties == {"Microsoft.VisualStudio.Code.Engine": "^1.82.0",
                         "Microsoft.VisualStudio.Code.ExtensionDependencies": "",
                         "Microsoft.VisualStudio.Code.ExtensionPack": ""}, f"properties are {properties}", problems)
    targets = [item.get("Id") for item in root.findall("m:Installation/m:InstallationTarget", MANIFEST_NS)]
    check(targets == ["Microsoft.VisualStudio.Code"], f"installation targets are {targets}", problems)
    dependencies = root.find("m:Dependencies", MANIFEST_NS)
    check(dependencies is not None and len(dependencies) == 0, "the package must have no dependencies", problems)
    assets = [(item.get("Type"), item.get("Path"), item.get("Addressable"))
              for item in root.findall("m:Assets/m:Asset", MANIFEST_NS)]
    check(assets == [("Microsoft.VisualStudio.Code.Manifest", "extension/package.json", "true")],
          f"assets are {assets}", problems)


def check_package_json(archive, problems):
    package = json.loads(archive.read("extension/package.json"))
    for field, value in {"name": "velmor-lang", "version": "0.5.0", "publisher": "velmor",
                         "categories": ["Programming Languages"], "keywords": ["velmor", "vlm"]}.items():
        check(package.get(field) == value, f"package.json {field} is {package.get(field)!r}", problems)
    check(package.get("engines", {}).get("vscode") == "^1.82.0", "package.json engine", problems)
    # The language client: started for Velmor files, its bundle packed, its server configurable.
    check(package.get("main") == "./out/extension.js", "package.json main", problems)
    check(package.get("activationEvents") == ["onLanguage:velmor", "onDebugResolve:velmor", "onDebugInitialConfigurations"],
          "package.json activation events", problems)
    check("extension/" + package.get("main", "").removeprefix("./") in archive.namelist(),
          "the client named by main is not packed", problems)
    setting = package.get("contributes", {}).get("configuration", {}).get("properties", {}).get("velmor.serverPath")
    check(isinstance(setting, dict) and setting.get("type") == "string", "the velmor.serverPath setting", problems)
    check(bool(package.get("repository", {}).get("url")), "package.json has no repository address", problems)
    contributes = package.get("contributes", {})
    check(contributes.get("languages") == [{
        "id": "velmor", "aliases": ["Velmor", "velmor"], "extensions": [".velmor", ".vlm"],
        "configuration": "./language-configuration.json"}], "language contribution", problems)
    check(contributes.get("grammars") == [{
        "language": "velmor", "scopeName": "source.velmor", "path": "./syntaxes/velmor.tmLanguage.json"}],
        "grammar contribution", problems)
    check(contributes.get("snippets") == [{"language": "velmor", "path": "./snippets/velmor.json"}],
          "snippet contribution", problems)
    check_debugger(contributes, archive.read("extension/out/extension.js"), problems)
    # Every path a contribution names must be in the package.
    for contribution in contributes.get("grammars", []) + contributes.get("snippets", []):
        entry = "extension/" + contribution["path"].removeprefix("./")
        check(entry in archive.namelist(), f"{entry} is named but not packed", problems)
    for name in ("extension/language-configuration.json", "extension/syntaxes/velmor.tmLanguage.json",
                 "extension/snippets/velmor.json"):
        try:
            json.loads(archive.read(name))
        except ValueError as error:
            problems.append(f"{name} is not valid JSON: {error}")


def check_debugger(contributes, client, problems):
    """The debugger type "velmor" with its launch attributes, breakpoints in
    Velmor files, and a client that starts `velmor --dap` for it."""
    check(contributes.get("breakpoints") == [{"language": "velmor"}], "breakpoints contribution", problems)
    debuggers = contributes.get("debuggers", [])
    check(len(debuggers) == 1, f"{len(debuggers)} debugger contributions", problems)
    debugger = debuggers[0] if debuggers else {}
    check((debugger.get("type"), debugger.get("languages")) == ("velmor", ["velmor"]) and debugger.get("label"),
          "debugger type, languages and label", problems)
    launch = debugger.get("configurationAttributes", {}).get("launch", {})
    attributes = launch.get("properties", {})
    check(launch.get("required") == ["program"] and sorted(attributes) == ["engine", "inputFile", "program", "stopOnEntry"],
          f"launch attributes are {sorted(attributes)}", problems)
    engine = attributes.get("engine", {})
    check((engine.get("enum"), engine.get("default")) == (["vm", "tree"], "vm"), "the engine attribute", problems)
    check(attributes.get("stopOnEntry", {}).get("type") == "boolean", "the stopOnEntry attribute", problems)
    configurations = debugger.get("initialConfigurations", []) + [
        snippet.get("body", {}) for snippet in debugger.get("configurationSnippets", [])]
    check(bool(debugger.get("configurationSnippets")) and configurations and all(
        (c.get("type"), c.get("request")) == ("velmor", "launch") and "${file}" in c.get("program", "")
        for c in configurations), "initial configurations and snippets", problems)
    for name in (b"registerDebugAdapterDescriptorFactory", b"registerDebugConfigurationProvider",
                 b"DebugAdapterExecutable", b"--dap"):
        check(name in client, f"the client bundle lacks {name.decode()}", problems)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_package.py VSIX EDITOR_DIR")
    problems = []
    with zipfile.ZipFile(sys.argv[1]) as archive:
        check(archive.testzip() is None, "the archive is damaged", problems)
        check_entries(archive, sys.argv[2], problems)
        if not problems:
            check_content_types(archive, problems)
            check_manifest(archive, problems)
            check_package_json(archive, problems)
    for problem in problems:
        print(problem)
    if problems:
        sys.exit(1)
    print("package ok")


if __name__ == "__main__":
    main()
