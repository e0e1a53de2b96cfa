#!/usr/bin/env python3
"""Validates the package manager's manifests in docs/winget against that package manager's
published JSON schemas (../shared/winget-schema beside the checkout, or the folder given).

    check_winget_manifests.py [SCHEMA_FOLDER]

Exit 0 when every manifest is valid, 1 with the errors otherwise, 2 when a schema is missing."""
import json
import pathlib
import sys

import jsonschema
import yaml

ROOT = pathlib.Path(__file__).resolve().parent.parent
MANIFESTS = {
    "version": "manifest.version.1.10.0.json",
    "installer": "manifest.installer.1.10.0.json",
    "defaultLocale": "manifest.defaultLocale.1.10.0.json",
}


def main(schemas):
    failed = False
    seen = set()
    for path in sorted((ROOT / "docs/winget").glob("*.yaml")):
        manifest = yaml.safe_load(path.read_text(encoding="utf-8"))
        kind = manifest.get("ManifestType")
        schema_file = schemas / MANIFESTS.get(kind, "none")
        if not schema_file.exists():
            print(f"{path.name}: no schema for ManifestType {kind!r} in {schemas}")
            return 2
        schema = json.loads(schema_file.read_text(encoding="utf-8"))
        validator = jsonschema.validators.validator_for(schema)(schema)
        errors = list(validator.iter_errors(manifest))
        # A validator that took anything would prove nothing.
        if validator.is_valid({**manifest, "ManifestVersion": "one"}):
            print(f"{path.name}: the schema accepts a broken copy: the check proves nothing")
            return 1
        for error in errors:
            print(f"{path.name}: {'/'.join(map(str, error.path))}: {error.message}")
        failed = failed or bool(errors)
        seen.add(kind)
    if seen != set(MANIFESTS):
        print(f"missing manifests: {sorted(set(MANIFESTS) - seen)}")
        return 1
    print(f"winget manifests: {len(seen)} valid")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT.parent / "shared/winget-schema"))
